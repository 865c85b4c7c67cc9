#include "app/basic_page.h"

#include <string>
#include <utility>

#include "app/basic_page_layout.h"
#include "app/dpi_levels.h"
#include "app/page_context.h"
#include "assign/function_list.h"
#include "lang/texts.h"

namespace quorvel {

namespace {

constexpr std::array<std::string_view, 2> kModeCaptions = {"Mode A", "Mode B"};

// A click elsewhere closes the lists of rows 1 to 6; those of rows 7 and 8
// stay open until a row box is clicked.
constexpr int kRowsClosedByClickElsewhere = 6;
constexpr int kRowBoxHoverGroup = kFirstPageHoverGroup;

int RowListId(int button) {
    return kBasicPage.rowList(button + 1).id;
}

template <std::size_t... I> std::array<DropDown, sizeof...(I)> MakeRowLists(std::index_sequence<I...>) {
    return {DropDown(RowListId(static_cast<int>(I)))...};
}

std::vector<std::string> FunctionEntries(Language language) {
    std::vector<std::string> entries;
    for (int f = 0; f < kFunctionCount; ++f) {
        entries.emplace_back(FunctionListText(language, f));
    }
    return entries;
}

std::vector<std::string> DpiSwitchEntries() {
    return {std::string(DpiSwitchText(kDpiUp)), std::string(DpiSwitchText(kDpiDown)),
            std::string(DpiSwitchText(kDpiLoop))};
}

// The ids of the page's controls, as keys and screen readers know them.
constexpr int RowControl(int row) {
    return kFirstPageControlId + row; // rows 1-8
}
constexpr int kDpiSubListControl = kFirstPageControlId + 9;
constexpr int kModeControl = kFirstPageControlId + 11; // Mode A; Mode B follows
constexpr int kDefaultControl = kFirstPageControlId + 13;
constexpr int kReportRateControl = kFirstPageControlId + 21; // segments 0-3
constexpr int kDpiStageTickControl = kFirstPageControlId + 31;
constexpr int kDpiStageControl = kFirstPageControlId + 41;
constexpr int kLightingModeControl = kFirstPageControlId + 51;
constexpr int kLightingParameterControl = kFirstPageControlId + 52;
constexpr int kLoopColourTickControl = kFirstPageControlId + 61;
constexpr int kLoopColourControl = kFirstPageControlId + 71;
constexpr int kColourStageControl = kFirstPageControlId + 81;
constexpr int kColourSwitchControl = kFirstPageControlId + 91;
// The radio groups of the page.
constexpr int kModeGroup = 1;
constexpr int kReportRateGroup = 2;

std::string Numbered(PageContext& context, TextId id, int number) {
    return Filled(context.text(id), {std::to_string(number)});
}

std::string HexColour(const Rgb& rgb) {
    constexpr std::string_view kDigits = "0123456789ABCDEF";
    std::string text = "#";
    for (const Byte part : {rgb.red, rgb.green, rgb.blue}) {
        text += kDigits[part >> 4];
        text += kDigits[part & 0xF];
    }
    return text;
}

// The name of a report rate segment, as the page's scale shows it.
constexpr std::array<std::string_view, BasicPageLayout::kReportRateSegmentCount> kReportRateNames = {
    "125 Hz", "250 Hz", "500 Hz", "1000 Hz"};

// The entry of a radio group of `count` buttons that `action` chooses from `at`.
int RadioTarget(int at, int count, ControlAction action) {
    switch (action) {
    case ControlAction::Next:
        return (at + 1) % count;
    case ControlAction::Previous:
        return (at + count - 1) % count;
    case ControlAction::First:
        return 0;
    case ControlAction::Last:
        return count - 1;
    case ControlAction::Activate:
        return at;
    }
    return at;
}

// A list entry's rectangle inside its list, as far as the page needs it
// when the keys, not the pointer, reach it: the list's height shared out.
Rect EntryRect(Rect list, int index, int count) {
    const int height = count > 0 ? list.height() / count : 0;
    return {0, index * height, list.width(), (index + 1) * height};
}

} // namespace

BasicPage::BasicPage(PageContext& context, AssignmentDialogs& dialogs)
    : context_(&context), assignment_(context.working(), context.labels(), context.language(), dialogs),
      rowLists_(MakeRowLists(std::make_index_sequence<kButtonCount>())), dpiSubList_(kBasicPage.dpiSubListId),
      dpi_(context), lighting_(context), hits_(DispatchTable()) {
}

int BasicPage::shownMode() const {
    return context_->working().selectedButtonSet == 0 ? 0 : 1;
}

void BasicPage::Present() {
    context_->window().canvas().present();
}

// --- Drawing -----------------------------------------------------------------

void BasicPage::FirstDrawing() {
    if (context_->basicPageInitialised()) {
        return;
    }
    context_->syncSensorInfo();
    if (context_->firstRun()) {
        assignment_.SetDefaultLabels();
        context_->saveLabels();
    }
    context_->setBasicPageInitialised();
}

void BasicPage::draw() {
    FirstDrawing();
    Canvas& canvas = context_->window().canvas();
    const Colour colour = context_->textColour();
    const auto text = [&](std::string_view s, Rect box, TextAlign align) {
        canvas.drawText(s, box, FontRole::Text, colour, align);
    };

    context_->drawImage(kBasicPage.defaultButton.normalImage, kBasicPage.defaultButton.rect.topLeft());
    for (int row = 1; row <= BasicPageLayout::kRowCount; ++row) {
        context_->drawImage(kBasicPage.rowBoxNormal, kBasicPage.rowBox(row).topLeft());
    }
    dpi_.DrawImages();
    lighting_.DrawImages();

    text(context_->text(TextId::kKeySetting), kBasicPage.keySettingHeading, TextAlign::Centre);
    text(context_->text(TextId::kReportRateSetting), kBasicPage.reportRateHeading, TextAlign::Centre);
    text(context_->text(TextId::kDpiSetting), kBasicPage.dpiHeading, TextAlign::Centre);
    text(context_->text(TextId::kRgbEffectHeading), kBasicPage.rgbEffectHeading, TextAlign::Centre);
    text(context_->text(TextId::kBasicDefault), kBasicPage.defaultButton.rect, TextAlign::Centre);
    const auto& labels = context_->labels()[static_cast<std::size_t>(shownMode())];
    for (int row = 1; row <= BasicPageLayout::kRowCount; ++row) {
        text(std::to_string(row), kBasicPage.rowNumber(row), TextAlign::Left);
        text(labels[static_cast<std::size_t>(row - 1)], kBasicPage.rowLabel(row), TextAlign::Left);
    }
    DrawModeButtons();
    dpi_.DrawTexts();
    lighting_.DrawTexts();
}

void BasicPage::DrawRowBox(int row, bool over) {
    context_->drawImage(over ? kBasicPage.rowBoxOver : kBasicPage.rowBoxNormal,
                        kBasicPage.rowBox(row).topLeft());
    Canvas& canvas = context_->window().canvas();
    const std::string& label =
        context_->labels()[static_cast<std::size_t>(shownMode())][static_cast<std::size_t>(row - 1)];
    canvas.drawText(std::to_string(row), kBasicPage.rowNumber(row), FontRole::Text, context_->textColour(),
                    TextAlign::Left);
    canvas.drawText(label, kBasicPage.rowLabel(row), FontRole::Text, context_->textColour(), TextAlign::Left);
}

void BasicPage::DrawModeButtons() {
    const ImageButton* buttons[] = {&kBasicPage.modeA, &kBasicPage.modeB};
    for (int mode = 0; mode < 2; ++mode) {
        const ImageButton& button = *buttons[mode];
        context_->drawButton(button.rect, mode == shownMode() ? button.overImage : button.normalImage,
                             kModeCaptions[static_cast<std::size_t>(mode)]);
    }
}

void BasicPage::DrawDefaultButton(bool over) {
    const ImageButton& button = kBasicPage.defaultButton;
    context_->drawButton(button.rect, over ? button.overImage : button.normalImage,
                         context_->text(TextId::kBasicDefault));
}

std::vector<HoverControl> BasicPage::hoverControls() {
    std::vector<HoverControl> controls;
    controls.push_back({kBasicPage.defaultButton.rect, 0, [this](bool over) { DrawDefaultButton(over); }});
    for (int row = 1; row <= BasicPageLayout::kRowCount; ++row) {
        controls.push_back(
            {kBasicPage.rowBox(row), kRowBoxHoverGroup, [this, row](bool over) { DrawRowBox(row, over); }});
    }
    return controls;
}

// --- Clicks --------------------------------------------------------------------

std::vector<BasicPage::Hit> BasicPage::DispatchTable() {
    const BasicPageLayout& b = kBasicPage;
    std::vector<Hit> hits{
        {b.modeA.rect, [this] { SelectMode(0); }},
        {b.modeB.rect, [this] { SelectMode(1); }},
        {b.defaultButton.rect, [this] { Default(); }},
    };
    for (int row = 1; row <= BasicPageLayout::kRowCount; ++row) {
        hits.push_back({b.rowBox(row), [this, row] { RowClick(row); }});
    }
    for (int segment = 0; segment < BasicPageLayout::kReportRateSegmentCount; ++segment) {
        hits.push_back({b.reportRateSegment(segment), [this, segment] { dpi_.SelectReportRate(segment); }});
    }
    for (int stage = 0; stage < kDpiStageCount; ++stage) {
        hits.push_back({b.dpiStageTickBox(stage), [this, stage] { dpi_.ToggleDpiStage(stage); }});
    }
    hits.push_back({b.dpiStageChooser, [this] { dpi_.ToggleStageChooser(); }});
    for (int j = 0; j < kDpiStageCount; ++j) {
        hits.push_back({b.dpiColourSwitch(j), [this, j] { dpi_.ToggleDpiColourSwitch(j); }});
    }
    hits.push_back({b.lightingModeField, [this] { lighting_.ToggleModeList(); }});
    hits.push_back({b.lightingParameterField, [this] { lighting_.ToggleParameterList(); }});
    for (int slot = 0; slot < kLoopColourCount; ++slot) {
        hits.push_back({b.loopColourTickBox(slot), [this, slot] { lighting_.ToggleColourSlot(slot); }});
    }
    for (int slot = 0; slot < kLoopColourCount; ++slot) {
        hits.push_back({b.loopColourSwatch(slot).rect, [this, slot] { lighting_.EditLoopColour(slot); }});
    }
    for (int stage = 0; stage < BasicPageLayout::kDpiColumnCount; ++stage) {
        for (int cell = 1; cell <= BasicPageLayout::kMaxDpiCells; ++cell) {
            hits.push_back(
                {b.dpiCell(stage, cell), [this, stage, cell] { dpi_.SetDpiStageValue(stage, cell); }});
        }
    }
    return hits;
}

void BasicPage::ClosingPass(Point point) {
    WindowPort& window = context_->window();
    for (int row = 1; row <= kRowsClosedByClickElsewhere; ++row) {
        if (!kBasicPage.rowList(row).rect.contains(point) && !kBasicPage.rowBox(row).contains(point)) {
            rowLists_[static_cast<std::size_t>(row - 1)].close(window);
            CloseDpiSubList();
        }
    }
    lighting_.modeList().closeUnlessHit(window, point, kBasicPage.lightingModeList.rect,
                                        kBasicPage.lightingModeField);
    lighting_.parameterList().closeUnlessHit(
        window, point, kBasicPage.lightingParameterList(context_->working().lightingMode).rect,
        kBasicPage.lightingParameterField);
    dpi_.stageChooser().closeUnlessHit(window, point, kBasicPage.dpiStageChooserList.rect,
                                       kBasicPage.dpiStageChooser);
}

bool BasicPage::click(Point point) {
    ClosingPass(point);
    for (const Hit& hit : hits_) {
        if (hit.rect.contains(point)) {
            hit.action();
            return true;
        }
    }
    return false;
}

void BasicPage::RowClick(int row) {
    const int button = row - 1;
    WindowPort& window = context_->window();
    DropDown& list = rowLists_[static_cast<std::size_t>(button)];
    if (list.isOpen()) {
        list.close(window);
        return;
    }
    for (DropDown& other : rowLists_) {
        if (&other != &list) {
            other.close(window);
        }
    }
    // "Left Click" is never taken from the last button the mouse receives
    // that holds it.
    if (assignment_.HoldsLastLeftClick(button, shownMode())) {
        context_->showWarning(context_->text(TextId::kLeftKeyMustBeSelected));
        return;
    }
    list.open(window, kBasicPage.rowList(row).rect, FunctionEntries(context_->language()));
}

void BasicPage::SelectMode(int mode) {
    context_->working().selectedButtonSet = static_cast<Byte>(mode);
    DrawModeButtons();
    for (int row = 1; row <= BasicPageLayout::kRowCount; ++row) {
        DrawRowBox(row, false);
    }
    Present();
}

void BasicPage::Default() {
    assignment_.SetDefaults();
    for (int row = 1; row <= BasicPageLayout::kRowCount; ++row) {
        DrawRowBox(row, false);
    }
    DrawModeButtons();
    Present();
}

// --- Lists ----------------------------------------------------------------------

void BasicPage::CloseDpiSubList() {
    dpiSubList_.close(context_->window());
}

void BasicPage::CloseRowList(int button) {
    rowLists_[static_cast<std::size_t>(button)].close(context_->window());
    // The sub-list stands only beside an open row list.
    CloseDpiSubList();
}

void BasicPage::ChooseFunction(int button, int entry) {
    if (!context_->window().listExists(RowListId(button))) {
        return;
    }
    if (assignment_.AssignButtonFunction(button, shownMode(), entry) == AssignOutcome::RefusedLastLeftClick) {
        context_->showWarning(context_->text(TextId::kLeftKeyMustBeSelected));
    }
    if (entry == kFnDpiSwitch) {
        return; // its list stays open: the DPI sub-list makes the choice
    }
    CloseRowList(button);
    if (button < BasicPageLayout::kRowCount) {
        DrawRowBox(button + 1, false);
        Present();
    }
}

void BasicPage::ChooseDpiSwitch(int entry) {
    const int choice = kDpiUp + entry;
    if (DpiSwitchText(choice).empty()) {
        return;
    }
    for (int button = 0; button < kButtonCount; ++button) {
        if (context_->window().listExists(RowListId(button))) {
            if (assignment_.ChooseDpiSwitch(button, shownMode(), choice) ==
                AssignOutcome::RefusedLastLeftClick) {
                context_->showWarning(context_->text(TextId::kLeftKeyMustBeSelected));
            }
            CloseRowList(button);
            if (button < BasicPageLayout::kRowCount) {
                DrawRowBox(button + 1, false);
                Present();
            }
            return;
        }
    }
    CloseDpiSubList();
}

void BasicPage::listChosen(int id, int index) {
    const int button = id - RowListId(0);
    if (button >= 0 && button < kButtonCount) {
        ChooseFunction(button, index);
    } else if (id == dpiSubList_.id()) {
        ChooseDpiSwitch(index);
    } else if (id == lighting_.modeList().id()) {
        lighting_.ChooseMode(index);
    } else if (id == lighting_.parameterList().id()) {
        lighting_.ChooseParameter(index);
    } else if (id == dpi_.stageChooser().id()) {
        dpi_.ChooseColourStage(index);
    }
}

void BasicPage::listPointer(int id, int index, Rect item) {
    WindowPort& window = context_->window();
    if (index < 0 || !window.listExists(id)) {
        return;
    }
    const int button = id - RowListId(0);
    if (button >= 0 && button < kButtonCount) {
        if (!rowLists_[static_cast<std::size_t>(button)].isOpen()) {
            return;
        }
        rowLists_[static_cast<std::size_t>(button)].hover(window, id, index);
        if (index == kFnDpiSwitch) {
            dpiSubList_.open(window, kBasicPage.dpiSubList(kBasicPage.rowList(button + 1).rect, item).rect,
                             DpiSwitchEntries());
        } else {
            CloseDpiSubList();
        }
        return;
    }
    if (id == dpiSubList_.id()) {
        dpiSubList_.hover(window, id, index);
        return;
    }
    if (id == lighting_.modeList().id() || id == lighting_.parameterList().id() ||
        id == dpi_.stageChooser().id()) {
        window.highlightListItem(id, index);
    }
}

// --- Keys and screen readers ------------------------------------------------------

std::vector<Control> BasicPage::controls() {
    const DeviceConfig& config = context_->working();
    std::vector<Control> list;
    const auto dropDown = [&](int id, std::string name, Rect rect, const DropDown& drop, std::string value) {
        Control control = MakeControl(id, ControlRole::DropDown, std::move(name), rect, std::move(value));
        control.state.expanded = drop.isOpen();
        // While the list is open it reads out the entry the keys are on.
        if (drop.isOpen() && drop.highlighted() >= 0) {
            control.value = drop.highlightedEntry();
        }
        list.push_back(std::move(control));
    };
    const auto toggle = [&](int id, std::string name, Rect rect, bool checked) {
        Control control = MakeControl(id, ControlRole::Toggle, std::move(name), rect);
        control.state.checked = checked;
        list.push_back(std::move(control));
    };
    const auto radio = [&](int id, std::string name, Rect rect, int group, bool checked) {
        Control control = MakeControl(id, ControlRole::RadioButton, std::move(name), rect);
        control.group = group;
        control.state.checked = checked;
        list.push_back(std::move(control));
    };

    const auto& labels = context_->labels()[static_cast<std::size_t>(shownMode())];
    for (int row = 1; row <= BasicPageLayout::kRowCount; ++row) {
        const std::string& label = labels[static_cast<std::size_t>(row - 1)];
        dropDown(RowControl(row), label, kBasicPage.rowBox(row), rowLists_[static_cast<std::size_t>(row - 1)],
                 label);
        if (rowLists_[static_cast<std::size_t>(row - 1)].isOpen() && dpiSubList_.isOpen()) {
            dropDown(kDpiSubListControl, std::string(context_->text(TextId::kDpiSwitch)),
                     kBasicPage.rowList(row).rect, dpiSubList_, {});
        }
    }
    radio(kModeControl, std::string(kModeCaptions[0]), kBasicPage.modeA.rect, kModeGroup, shownMode() == 0);
    radio(kModeControl + 1, std::string(kModeCaptions[1]), kBasicPage.modeB.rect, kModeGroup, shownMode() == 1);
    list.push_back(MakeControl(kDefaultControl, ControlRole::Button,
                               std::string(context_->text(TextId::kBasicDefault)), kBasicPage.defaultButton.rect));

    const std::optional<int> rate = SegmentOfReportRate(config.reportRate);
    for (int segment = 0; segment < BasicPageLayout::kReportRateSegmentCount; ++segment) {
        radio(kReportRateControl + segment, std::string(kReportRateNames[static_cast<std::size_t>(segment)]),
              kBasicPage.reportRateSegment(segment), kReportRateGroup, rate == segment);
    }
    const int dpiCount = dpi_.dpiCount();
    for (int stage = 0; stage < kDpiStageCount; ++stage) {
        const auto at = static_cast<std::size_t>(stage);
        toggle(kDpiStageTickControl + stage, Numbered(*context_, TextId::kUseDpiStage, stage + 1),
               kBasicPage.dpiStageTickBox(stage), config.dpiStageEnabled[at] != 0);
        // The column from its top cell down to its first.
        const Rect top = kBasicPage.dpiCell(stage, std::max(dpiCount, 1));
        const Rect bottom = kBasicPage.dpiCell(stage, 1);
        Control column = MakeControl(kDpiStageControl + stage, ControlRole::Slider,
                                     Numbered(*context_, TextId::kDpiStageNumber, stage + 1),
                                     {top.left, top.top, bottom.right, bottom.bottom},
                                     std::string(DpiLabel(context_->sensorType(), config.dpiValueIndex[at])));
        column.step = config.dpiValueIndex[at];
        column.steps = dpiCount;
        column.state.disabled = dpiCount == 0;
        list.push_back(std::move(column));
    }

    dropDown(kLightingModeControl, std::string(context_->text(TextId::kMode)), kBasicPage.lightingModeField,
             lighting_.modeList(), std::string(ModeName(context_->language(), config.lightingMode)));
    dropDown(kLightingParameterControl, std::string(context_->text(TextId::kParameter)),
             kBasicPage.lightingParameterField, lighting_.parameterList(),
             std::string(lighting_.StoredParameterText()));
    for (int slot = 0; slot < kLoopColourCount; ++slot) {
        const auto at = static_cast<std::size_t>(slot);
        toggle(kLoopColourTickControl + slot, Numbered(*context_, TextId::kUseLoopColour, slot + 1),
               kBasicPage.loopColourTickBox(slot), config.loopColourEnabled[at] == 1);
        Control swatch = MakeControl(kLoopColourControl + slot, ControlRole::Button,
                                     Numbered(*context_, TextId::kLoopColourNumber, slot + 1),
                                     kBasicPage.loopColourSwatch(slot).rect, HexColour(config.loopColours[at]));
        swatch.state.disabled = config.loopColourEnabled[at] != 1;
        list.push_back(std::move(swatch));
    }

    dropDown(kColourStageControl, std::string(context_->text(TextId::kDpiSelfColorLedSetting)),
             kBasicPage.dpiStageChooser, dpi_.stageChooser(),
             std::string(ColourStageEntry(dpi_.shownColourStage())));
    for (int j = 0; j < kDpiStageCount; ++j) {
        toggle(kColourSwitchControl + j, Numbered(*context_, TextId::kColourSwitchNumber, j + 1),
               kBasicPage.dpiColourSwitch(j), config.dpiStageColourSwitch(dpi_.shownColourStage(), j));
    }
    return list;
}

bool BasicPage::ActOnList(DropDown& list, ControlAction action, const std::function<void()>& open) {
    if (action != ControlAction::Activate) {
        return list.moveHighlight(context_->window(), action);
    }
    if (list.isOpen() && list.highlighted() >= 0) {
        listChosen(list.id(), list.highlighted());
        return true;
    }
    open();
    return true;
}

bool BasicPage::ActOnRow(int row, ControlAction action) {
    DropDown& list = rowLists_[static_cast<std::size_t>(row - 1)];
    const int index = list.highlighted();
    if (action != ControlAction::Activate || !list.isOpen() || index != kFnDpiSwitch) {
        return ActOnList(list, action, [this, row] { RowClick(row); });
    }
    // "DPI Switch" is taken as a click takes it, and its sub-list opens
    // beside it as under the pointer; its keys then move in the sub-list.
    listChosen(list.id(), index);
    listPointer(list.id(), index, EntryRect(kBasicPage.rowList(row).rect, index, kFunctionListCount));
    return true;
}

bool BasicPage::act(int id, ControlAction action) {
    const bool activate = action == ControlAction::Activate;
    if (id >= RowControl(1) && id <= RowControl(BasicPageLayout::kRowCount)) {
        return ActOnRow(id - RowControl(0), action);
    }
    if (id == kDpiSubListControl) {
        return ActOnList(dpiSubList_, action, [this] { CloseDpiSubList(); });
    }
    if (id == kModeControl || id == kModeControl + 1) {
        SelectMode(RadioTarget(id - kModeControl, 2, action));
        return true;
    }
    if (id == kDefaultControl && activate) {
        Default();
        return true;
    }
    if (id >= kReportRateControl && id < kReportRateControl + BasicPageLayout::kReportRateSegmentCount) {
        dpi_.SelectReportRate(
            RadioTarget(id - kReportRateControl, BasicPageLayout::kReportRateSegmentCount, action));
        return true;
    }
    if (id >= kDpiStageTickControl && id < kDpiStageTickControl + kDpiStageCount && activate) {
        dpi_.ToggleDpiStage(id - kDpiStageTickControl);
        return true;
    }
    if (id >= kDpiStageControl && id < kDpiStageControl + kDpiStageCount && !activate) {
        const int stage = id - kDpiStageControl;
        const int cell = context_->working().dpiValueIndex[static_cast<std::size_t>(stage)] + 1;
        const int count = dpi_.dpiCount();
        const int to = action == ControlAction::Next       ? std::min(cell + 1, count)
                       : action == ControlAction::Previous ? std::max(cell - 1, 1)
                       : action == ControlAction::First    ? 1
                                                           : count;
        if (to == cell || count == 0) {
            return false;
        }
        dpi_.SetDpiStageValue(stage, to);
        return true;
    }
    if (id == kLightingModeControl) {
        return ActOnList(lighting_.modeList(), action, [this] { lighting_.ToggleModeList(); });
    }
    if (id == kLightingParameterControl) {
        return ActOnList(lighting_.parameterList(), action, [this] { lighting_.ToggleParameterList(); });
    }
    if (id >= kLoopColourTickControl && id < kLoopColourTickControl + kLoopColourCount && activate) {
        lighting_.ToggleColourSlot(id - kLoopColourTickControl);
        return true;
    }
    if (id >= kLoopColourControl && id < kLoopColourControl + kLoopColourCount && activate) {
        lighting_.EditLoopColour(id - kLoopColourControl);
        return true;
    }
    if (id == kColourStageControl) {
        return ActOnList(dpi_.stageChooser(), action, [this] { dpi_.ToggleStageChooser(); });
    }
    if (id >= kColourSwitchControl && id < kColourSwitchControl + kDpiStageCount && activate) {
        dpi_.ToggleDpiColourSwitch(id - kColourSwitchControl);
        return true;
    }
    return false;
}

bool BasicPage::dismiss() {
    WindowPort& window = context_->window();
    if (dpiSubList_.isOpen()) {
        CloseDpiSubList();
        return true;
    }
    for (int button = 0; button < kButtonCount; ++button) {
        if (rowLists_[static_cast<std::size_t>(button)].isOpen()) {
            CloseRowList(button);
            return true;
        }
    }
    for (DropDown* list : {&lighting_.modeList(), &lighting_.parameterList(), &dpi_.stageChooser()}) {
        if (list->isOpen()) {
            list->close(window);
            return true;
        }
    }
    return false;
}

void BasicPage::redrawWithin(Rect area) {
    // Mode A and Mode B share a pixel column: a ring around one reaches
    // into the other. The other controls stand apart.
    const auto reaches = [&](Rect rect) {
        return area.left < rect.right && rect.left < area.right && area.top < rect.bottom && rect.top < area.bottom;
    };
    if (reaches(kBasicPage.modeA.rect) || reaches(kBasicPage.modeB.rect)) {
        DrawModeButtons();
    }
}

void BasicPage::leave() {
    WindowPort& window = context_->window();
    for (DropDown& list : rowLists_) {
        list.close(window);
    }
    dpiSubList_.close(window);
    lighting_.modeList().close(window);
    lighting_.parameterList().close(window);
    dpi_.stageChooser().close(window);
}

} // namespace quorvel
