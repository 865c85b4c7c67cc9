#include "app/advanced_page.h"

#include <algorithm>
#include <array>

#include "app/advanced_page_layout.h"
#include "app/page_context.h"
#include "lang/texts.h"
#include "ui/skin_painter.h"

namespace quorvel {

namespace {

constexpr int kCells = AdvancedPageLayout::kSliderCellCount;
constexpr int kSlowestSpeed = 1;
constexpr int kFastestSpeed = 20;
constexpr int kLongestDoubleClick = 900; // ms, cell 1
constexpr int kDoubleClickStep = 70;     // ms per cell

// What Default gives the desktop and the page.
constexpr bool kDefaultPrecision = false;
constexpr int kDefaultMouseSpeed = 10;
constexpr int kDefaultWheelLines = 3;
constexpr int kDefaultDoubleClickTime = 500;

struct TrackTable {
    Byte DeviceConfig::*position;
    TextId caption;
};
constexpr std::array<TrackTable, 3> kTracks{{
    {&DeviceConfig::mouseSpeed, TextId::kMouseSpeed},
    {&DeviceConfig::wheelScrollLines, TextId::kScrollingSpeed},
    {&DeviceConfig::doubleClickSpeed, TextId::kDoubleClickSpeed},
}};

constexpr std::array kAllTracks{PointerTrack::MouseSpeed, PointerTrack::WheelLines,
                                PointerTrack::DoubleClick};

const TrackTable& Of(PointerTrack track) {
    return kTracks[static_cast<std::size_t>(track)];
}

int ClampedPosition(int position) {
    return std::clamp(position, 1, kCells);
}

Byte AsByte(bool flag) {
    return flag ? 1 : 0;
}

} // namespace

int MouseSpeedOfPosition(int position) {
    const int p = ClampedPosition(position);
    return p == 1 ? kSlowestSpeed : 2 * p - 2;
}

int PositionOfMouseSpeed(int speed) {
    return ClampedPosition(std::clamp(speed, kSlowestSpeed, kFastestSpeed) / 2 + 1);
}

int DoubleClickTimeOfPosition(int position) {
    return kLongestDoubleClick - (ClampedPosition(position) - 1) * kDoubleClickStep;
}

int PositionOfDoubleClickTime(int milliseconds) {
    return ClampedPosition((kLongestDoubleClick - milliseconds) / kDoubleClickStep + 1);
}

int TrackOfWheelLines(int lines) {
    return std::clamp(lines, 0, kCells);
}

HeldPointerSettings PointerSettingsHeldBy(const DeviceConfig& c) {
    const bool any = c.enhancePointerPrecision != 0 || c.scrollOneScreen != 0 || c.mouseSpeed != 0 ||
                     c.wheelScrollLines != 0 || c.doubleClickSpeed != 0;
    return {any, c.mouseSpeed != 0, c.scrollOneScreen != 0 || c.wheelScrollLines != 0,
            c.doubleClickSpeed != 0};
}

AdvancedPage::AdvancedPage(PageContext& context, PointerSettingsPort& pointer, PanelFactory makeMacroPanel)
    : context_(&context), pointer_(&pointer), makeMacroPanel_(std::move(makeMacroPanel)) {
}

AdvancedPage::~AdvancedPage() = default;

void AdvancedPage::Present() {
    context_->window().canvas().present();
}

// --- The desktop ----------------------------------------------------------------

void AdvancedPage::WarnIfRefused(SettingStatus status, std::string_view failure) {
    if (status == SettingStatus::Failed) {
        context_->showWarning(failure);
    }
}

// The first showing in a run reads every setting and warns of each refused
// read. Later showings read, without a word, only what the record does not
// hold: a record that started empty, or one Cancel brought back, shows the
// desktop's own values rather than empty tracks.
void AdvancedPage::ReadDesktop() {
    DeviceConfig& config = context_->working();
    const bool first = !desktopRead_;
    const HeldPointerSettings held = first ? HeldPointerSettings{} : PointerSettingsHeldBy(config);
    const auto warn = [&](std::string_view failure) {
        if (first) {
            context_->showWarning(failure);
        }
    };

    // A refused read of the precision counts as off, without a word.
    if (!held.precision) {
        if (const SettingRead<bool> precision = pointer_->pointerPrecision();
            precision.status != SettingStatus::NotOffered) {
            config.enhancePointerPrecision =
                AsByte(precision.status == SettingStatus::Done && precision.value);
        }
    }
    // A refused speed or double-click read keeps the stored position.
    if (!held.mouseSpeed) {
        if (const SettingRead<int> speed = pointer_->mouseSpeed(); speed.status == SettingStatus::Done) {
            config.mouseSpeed = static_cast<Byte>(PositionOfMouseSpeed(speed.value));
        } else if (speed.status == SettingStatus::Failed) {
            warn(kGetMouseSpeedFailed);
        }
    }
    if (!held.wheel) {
        if (const SettingRead<int> wheel = pointer_->wheelScrollLines();
            wheel.status != SettingStatus::NotOffered) {
            if (wheel.status == SettingStatus::Failed) {
                warn(kGetWheelScrollLinesFailed);
            }
            const bool onePage = wheel.status == SettingStatus::Done && wheel.value == kWheelPageScroll;
            const int lines = wheel.status == SettingStatus::Done && !onePage ? wheel.value : 0;
            config.scrollOneScreen = AsByte(onePage);
            config.wheelScrollLines = static_cast<Byte>(TrackOfWheelLines(lines));
        }
    }
    if (!held.doubleClick) {
        if (const SettingRead<int> time = pointer_->doubleClickTime();
            time.status == SettingStatus::Done && time.value > 0) {
            config.doubleClickSpeed = static_cast<Byte>(PositionOfDoubleClickTime(time.value));
        } else if (time.status != SettingStatus::NotOffered) {
            warn(kGetDoubleClickTimeFailed);
        }
    }
    desktopRead_ = true;
}

void AdvancedPage::ApplyPointerSettings() {
    const DeviceConfig& config = context_->working();
    const HeldPointerSettings held = PointerSettingsHeldBy(config);
    if (held.precision) {
        WarnIfRefused(pointer_->setPointerPrecision(config.enhancePointerPrecision != 0), kSetMouseFailed);
    }
    if (held.mouseSpeed) {
        WarnIfRefused(pointer_->setMouseSpeed(MouseSpeedOfPosition(config.mouseSpeed)), kSetMouseSpeedFailed);
    }
    if (held.wheel) {
        WarnIfRefused(pointer_->setWheelScrollLines(config.scrollOneScreen != 0
                                                        ? kWheelPageScroll
                                                        : TrackOfWheelLines(config.wheelScrollLines)),
                      kSetWheelScrollLinesFailed);
    }
    if (held.doubleClick) {
        WarnIfRefused(pointer_->setDoubleClickTime(DoubleClickTimeOfPosition(config.doubleClickSpeed)),
                      kSetDoubleClickTimeFailed);
    }
}

void AdvancedPage::configurationSent() {
    ApplyPointerSettings();
}

// --- Drawing -----------------------------------------------------------------------

// The cell and tick images have soft edges: what was drawn before is wiped
// with the page background first, so that no trace of it shows through.
void AdvancedPage::Wipe(Rect rect) {
    context_->drawImagePart(kAdvancedPage.background, rect);
}

void AdvancedPage::DrawTrack(PointerTrack track) {
    const int trackIndex = static_cast<int>(track);
    const int lit = std::clamp(static_cast<int>(context_->working().*Of(track).position), 0, kCells);
    const OnOffImages& cells = kAdvancedPage.sliderCellImages;
    Wipe(kAdvancedPage.trackCells(trackIndex));
    for (int cell = 1; cell <= kCells; ++cell) {
        context_->drawImage(cell <= lit ? cells.on : cells.off,
                         kAdvancedPage.sliderCell(trackIndex, cell).topLeft());
    }
}

void AdvancedPage::DrawCheckBox(Rect box, Byte flag) {
    const OnOffImages& images = kAdvancedPage.checkBoxImages;
    Wipe(box);
    context_->drawImage(flag != 0 ? images.on : images.off, box.topLeft());
}

void AdvancedPage::DrawDefaultButton(bool over) {
    const ImageButton& button = kAdvancedPage.defaultButton;
    context_->drawButton(button.rect, over ? button.overImage : button.normalImage,
                      context_->text(TextId::kAdvancedDefault));
}

void AdvancedPage::draw() {
    ReadDesktop();
    redraw();
}

void AdvancedPage::redraw() {
    const DeviceConfig& config = context_->working();
    const AdvancedPageLayout& a = kAdvancedPage;
    Canvas& canvas = context_->window().canvas();
    const auto text = [&](TextId id, Rect box, TextAlign align) {
        canvas.drawText(context_->text(id), box, FontRole::Text, context_->textColour(), align);
    };

    for (const PointerTrack track : kAllTracks) {
        DrawTrack(track);
        text(Of(track).caption, a.tracks[static_cast<std::size_t>(track)].caption, TextAlign::Centre);
    }
    DrawCheckBox(a.enhancePointerPrecisionBox, config.enhancePointerPrecision);
    DrawCheckBox(a.scrollOneScreenBox, config.scrollOneScreen);
    text(TextId::kEnhancePointerPrecision, a.checkBoxLabel(a.enhancePointerPrecisionBox), TextAlign::Left);
    text(TextId::kScrollOneScreen, a.checkBoxLabel(a.scrollOneScreenBox), TextAlign::Left);
    DrawDefaultButton(false);

    if (!macroPanel_ && makeMacroPanel_) {
        macroPanel_ = makeMacroPanel_();
    }
    if (macroPanel_) {
        macroPanel_->draw();
    }
}

std::vector<HoverControl> AdvancedPage::hoverControls() {
    std::vector<HoverControl> controls{
        {kAdvancedPage.defaultButton.rect, 0, [this](bool over) { DrawDefaultButton(over); }}};
    if (macroPanel_) {
        for (HoverControl& control : macroPanel_->hoverControls()) {
            controls.push_back(std::move(control));
        }
    }
    return controls;
}

// --- Clicks ------------------------------------------------------------------------

bool AdvancedPage::click(Point point) {
    // The panel's closing pass comes first; no control of the panel lies
    // on the pointer settings' half.
    if (macroPanel_ && macroPanel_->click(point)) {
        return true;
    }
    const AdvancedPageLayout& a = kAdvancedPage;
    if (a.enhancePointerPrecisionBox.contains(point)) {
        TogglePointerPrecision();
        return true;
    }
    if (a.scrollOneScreenBox.contains(point)) {
        ToggleScrollOneScreen();
        return true;
    }
    if (a.defaultButton.rect.contains(point)) {
        Default();
        return true;
    }
    for (const PointerTrack track : kAllTracks) {
        for (int cell = 1; cell <= kCells; ++cell) {
            if (a.sliderCell(static_cast<int>(track), cell).contains(point)) {
                SlideTo(track, cell);
                return true;
            }
        }
    }
    return false;
}

// --- Keys and screen readers ---------------------------------------------------------

namespace {

constexpr int kTrackControl = kFirstPageControlId + 1; // tracks 0-2
constexpr int kPrecisionControl = kFirstPageControlId + 4;
constexpr int kScrollOneScreenControl = kFirstPageControlId + 5;
constexpr int kDefaultControl = kFirstPageControlId + 6;

} // namespace

std::vector<Control> AdvancedPage::controls() {
    const DeviceConfig& config = context_->working();
    const AdvancedPageLayout& a = kAdvancedPage;
    std::vector<Control> list;
    for (const PointerTrack track : kAllTracks) {
        const int index = static_cast<int>(track);
        const int lit = std::clamp(static_cast<int>(config.*Of(track).position), 0, kCells);
        Control slider = MakeControl(kTrackControl + index, ControlRole::Slider,
                                     std::string(context_->text(Of(track).caption)), a.trackCells(index),
                                     std::to_string(lit));
        slider.step = std::max(lit - 1, 0);
        slider.steps = kCells;
        list.push_back(std::move(slider));
    }
    list.push_back(MakeControl(kPrecisionControl, ControlRole::Toggle,
                               std::string(context_->text(TextId::kEnhancePointerPrecision)),
                               a.enhancePointerPrecisionBox));
    list.back().state.checked = config.enhancePointerPrecision != 0;
    list.push_back(MakeControl(kScrollOneScreenControl, ControlRole::Toggle,
                               std::string(context_->text(TextId::kScrollOneScreen)), a.scrollOneScreenBox));
    list.back().state.checked = config.scrollOneScreen != 0;
    list.push_back(MakeControl(kDefaultControl, ControlRole::Button,
                               std::string(context_->text(TextId::kAdvancedDefault)), a.defaultButton.rect));
    if (macroPanel_) {
        for (Control& control : macroPanel_->controls()) {
            list.push_back(std::move(control));
        }
    }
    return list;
}

bool AdvancedPage::act(int id, ControlAction action) {
    const bool activate = action == ControlAction::Activate;
    if (id >= kTrackControl && id < kTrackControl + static_cast<int>(kAllTracks.size()) && !activate) {
        const PointerTrack track = kAllTracks[static_cast<std::size_t>(id - kTrackControl)];
        const int cell = ClampedPosition(context_->working().*Of(track).position);
        const int to = action == ControlAction::Next       ? ClampedPosition(cell + 1)
                       : action == ControlAction::Previous ? ClampedPosition(cell - 1)
                       : action == ControlAction::First    ? 1
                                                           : kCells;
        if (to == static_cast<int>(context_->working().*Of(track).position)) {
            return false;
        }
        SlideTo(track, to);
        return true;
    }
    if (id == kPrecisionControl && activate) {
        TogglePointerPrecision();
        return true;
    }
    if (id == kScrollOneScreenControl && activate) {
        ToggleScrollOneScreen();
        return true;
    }
    if (id == kDefaultControl && activate) {
        Default();
        return true;
    }
    return macroPanel_ && macroPanel_->act(id, action);
}

bool AdvancedPage::dismiss() {
    return macroPanel_ && macroPanel_->dismiss();
}

void AdvancedPage::SlideTo(PointerTrack track, int cell) {
    context_->working().*Of(track).position = static_cast<Byte>(ClampedPosition(cell));
    DrawTrack(track);
    Present();
}

void AdvancedPage::TogglePointerPrecision() {
    Byte& flag = context_->working().enhancePointerPrecision;
    flag = AsByte(flag == 0);
    DrawCheckBox(kAdvancedPage.enhancePointerPrecisionBox, flag);
    Present();
}

void AdvancedPage::ToggleScrollOneScreen() {
    Byte& flag = context_->working().scrollOneScreen;
    flag = AsByte(flag == 0);
    DrawCheckBox(kAdvancedPage.scrollOneScreenBox, flag);
    Present();
}

void AdvancedPage::Default() {
    WarnIfRefused(pointer_->setPointerPrecision(kDefaultPrecision), kSetMouseFailed);
    WarnIfRefused(pointer_->setMouseSpeed(kDefaultMouseSpeed), kSetMouseSpeedFailed);
    WarnIfRefused(pointer_->setWheelScrollLines(kDefaultWheelLines), kSetWheelScrollLinesFailed);
    WarnIfRefused(pointer_->setDoubleClickTime(kDefaultDoubleClickTime), kSetDoubleClickTimeFailed);

    DeviceConfig& config = context_->working();
    config.enhancePointerPrecision = AsByte(kDefaultPrecision);
    config.scrollOneScreen = 0;
    config.mouseSpeed = static_cast<Byte>(PositionOfMouseSpeed(kDefaultMouseSpeed));
    config.wheelScrollLines = static_cast<Byte>(kDefaultWheelLines);
    config.doubleClickSpeed = static_cast<Byte>(PositionOfDoubleClickTime(kDefaultDoubleClickTime));

    DrawCheckBox(kAdvancedPage.enhancePointerPrecisionBox, config.enhancePointerPrecision);
    DrawCheckBox(kAdvancedPage.scrollOneScreenBox, config.scrollOneScreen);
    for (const PointerTrack track : kAllTracks) {
        DrawTrack(track);
    }
    Present();
}

// --- The macro panel ---------------------------------------------------------------

void AdvancedPage::leave() {
    if (macroPanel_) {
        macroPanel_->leave();
        macroPanel_.reset();
    }
}

void AdvancedPage::listChosen(int id, int index) {
    if (macroPanel_) {
        macroPanel_->listChosen(id, index);
    }
}

void AdvancedPage::listPointer(int id, int index, Rect item) {
    if (macroPanel_) {
        macroPanel_->listPointer(id, index, item);
    }
}

void AdvancedPage::listDoubleClicked(int id, int index) {
    if (macroPanel_) {
        macroPanel_->listDoubleClicked(id, index);
    }
}

void AdvancedPage::listRightClicked(int id, Point at) {
    if (macroPanel_) {
        macroPanel_->listRightClicked(id, at);
    }
}

void AdvancedPage::editChanged(int id, std::string_view text) {
    if (macroPanel_) {
        macroPanel_->editChanged(id, text);
    }
}

bool AdvancedPage::keystroke(const Keystroke& key, bool inWindow) {
    return macroPanel_ && macroPanel_->keystroke(key, inWindow);
}

} // namespace quorvel
