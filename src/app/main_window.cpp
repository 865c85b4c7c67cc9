#include "app/main_window.h"

#include <array>
#include <cstddef>
#include <optional>

#include "app/dialog_faults.h"
#include "app/dpi_levels.h"
#include "app/fonts.h"
#include "app/main_window_layout.h"
#include "app/profile.h"
#include "config/file_error_text.h"
#include "macro/macro_editing.h"
#include "macro/macro_table.h"
#include "ui/skin_images.h"

namespace quorvel {

namespace {

// What another program wrote, with the window's own unapplied changes over
// it: where the window's copy differs from what it started from, its byte
// (or label) wins; everywhere else the file's. The macro table is the
// file's, made from record.ini by whoever changed that last; only the loop
// counts the user typed stay (a slot the window emptied is no such count).
DeviceConfig MergedEdits(const DeviceConfig& base, const DeviceConfig& mine, const DeviceConfig& theirs) {
    DeviceConfig merged = theirs;
    const auto table = [](const DeviceConfig& config) {
        return config.bytes().subspan(offsetof(DeviceConfig, macroSlots), sizeof(DeviceConfig::macroSlots));
    };
    for (std::size_t i = 0; i < kDeviceConfigSize; ++i) {
        const bool inTable = i >= offsetof(DeviceConfig, macroSlots) &&
                             i < offsetof(DeviceConfig, macroSlots) + table(base).size();
        if (!inTable && mine.bytes()[i] != base.bytes()[i]) {
            merged.bytes()[i] = mine.bytes()[i];
        }
    }
    for (std::size_t k = 0; k < merged.macroSlots.size(); ++k) {
        const int typed = MacroLoopCount(mine.macroSlots[k]);
        if (typed != 0 && typed != MacroLoopCount(base.macroSlots[k])) {
            SetMacroLoopCount(merged.macroSlots[k], MacroLoopCount(mine.macroSlots[k]));
        }
    }
    return merged;
}

ButtonLabels MergedEdits(const ButtonLabels& base, const ButtonLabels& mine, const ButtonLabels& theirs) {
    ButtonLabels merged = theirs;
    for (std::size_t m = 0; m < merged.size(); ++m) {
        for (std::size_t b = 0; b < merged[m].size(); ++b) {
            if (mine[m][b] != base[m][b]) {
                merged[m][b] = mine[m][b];
            }
        }
    }
    return merged;
}

constexpr Colour kWhite{0xFF, 0xFF, 0xFF};
constexpr int kButtonGroup = 1; // OK, Apply, Cancel
constexpr int kPageGroup = 2;   // the two page buttons

// Balloon texts of the mouse's own events, by code and value.
struct BalloonText {
    DeviceEventCode code;
    int value;
    TextId text;
};
constexpr BalloonText kBalloons[] = {
    {DeviceEventCode::ReportRate, 1, TextId::kSwitchReportRateInto1000Hz},
    {DeviceEventCode::ReportRate, 2, TextId::kSwitchReportRateInto500Hz},
    {DeviceEventCode::ReportRate, 4, TextId::kSwitchReportRateInto250Hz},
    {DeviceEventCode::ReportRate, 8, TextId::kSwitchReportRateInto125Hz},
    {DeviceEventCode::DpiStage, 1, TextId::kSwitchDpiIntoFirstStage},
    {DeviceEventCode::DpiStage, 2, TextId::kSwitchDpiIntoSecondStage},
    {DeviceEventCode::DpiStage, 3, TextId::kSwitchDpiIntoThirdStage},
    {DeviceEventCode::DpiStage, 4, TextId::kSwitchDpiIntoFourthStage},
    {DeviceEventCode::KeyConfiguration, 1, TextId::kSwitchToKeyMatrix1},
    {DeviceEventCode::KeyConfiguration, 2, TextId::kSwitchToKeyMatrix2},
};

Colour ToColour(const Rgb& rgb) {
    return {rgb.red, rgb.green, rgb.blue};
}

// "<path>: what is wrong with the image", as a file error is told.
std::string ImageFaultText(const ImageFault& fault, Language language) {
    const auto line = [&](TextId id, std::initializer_list<std::string_view> values = {}) {
        return Utf8FromPath(fault.path) + ": " + Filled(Text(language, id), values);
    };
    switch (fault.kind) {
    case ImageFault::Kind::Missing:
        return line(TextId::kFileMissing);
    case ImageFault::Kind::Unreadable:
        return line(TextId::kImageNotReadable);
    case ImageFault::Kind::TooLarge:
        return line(TextId::kImageTooLarge,
                    {std::to_string(fault.width), std::to_string(fault.height),
                     std::to_string(kLargestImageSide), std::to_string(kLargestImageSide)});
    }
    return line(TextId::kImageNotReadable);
}

} // namespace

MainWindow::MainWindow(MainWindowPorts ports, DeviceController& device, DataPaths paths, std::uint16_t langId)
    : ports_(ports), device_(&device), paths_(std::move(paths)), langId_(langId),
      language_(LanguageFromLangId(langId)), images_(ports.files, ports.decoder),
      configFile_(ports.files, paths_.configBin, paths_.program),
      strIni_(ports.files, paths_.strIni, std::string(SectionName(language_))) {
    hover_.setUnderlay([this](Rect part) { DrawUnderlay(part); });
    ring_.setUnderlay([this](Rect part) { DrawUnderlay(part); });
    ring_.setRedrawWithin([this](Rect area) {
        hover_.redrawWithin(area);
        if (PageContent* page = content(page_)) {
            page->redrawWithin(area);
        }
    });
}

void MainWindow::DrawUnderlay(Rect part) {
    drawImagePart(page_ == Page::Basic      ? kBasicPageBackground
                  : page_ == Page::Advanced ? kAdvancedPageBackground
                                            : kMainBackground,
                  part);
}

void MainWindow::setPages(PageContent* basic, PageContent* advanced) {
    basic_ = basic;
    advanced_ = advanced;
}

MainWindow::StartResult MainWindow::Start(std::function<void()> noticeWakeup, StartedBy by) {
    startedBy_ = by;
    if (!ports_.instance.acquire()) {
        return StartResult::AlreadyRunning;
    }
    const InterfaceFonts fonts = FontsFor(langId_);
    ports_.window.setFonts(fonts.text, fonts.title);
    inTray_ = ports_.tray.available();
    if (inTray_) {
        ports_.tray.addIcon(kTrayTip, TrayMenu());
    } else {
        ports_.window.setTaskbarEntry(true);
    }

    const DeviceLinkStart link = device_->StartDeviceLink(std::move(noticeWakeup));
    TellMouseAtStart(link.mouse);
    if (link.failure != DeviceLinkStart::Failure::None) {
        ports_.messages.showMessage(link.failure == DeviceLinkStart::Failure::ReaderThread
                                        ? kCreateEventFailedText
                                        : kRegisterNotificationFailedText,
                                    kApplicationTitle);
        return StartResult::Running;
    }

    // A first-run copy that failed is told once, as itself, not later as a
    // missing file; what it could not copy is read from the factory files.
    const DataFolderStart folder = StartDataFolder(ports_.files, paths_);
    cannotSave_ = folder.cannotSave.has_value();
    if (cannotSave_) {
        ShowFileError(*folder.cannotSave, text(TextId::kSettingsCannotBeSaved));
    }
    // Stamped before they are read: a change in between is taken up later.
    const DataFileStamps read = StampDataFiles();
    ConfigFile factoryConfig(ports_.files, folder.read.configBin, paths_.program);
    ConfigFile& configSource = folder.read.configBin == paths_.configBin ? configFile_ : factoryConfig;
    if (const FileStatus load = configSource.LoadConfig(working_);
        load && !(folder.cannotSave && load->kind == FileError::Kind::Missing)) {
        if (load->kind == FileError::Kind::Missing) {
            ports_.messages.showMessage(kConfigMissingText, kApplicationTitle);
        } else {
            ShowFileError(*load, text(TextId::kSettingsStartEmpty));
        }
    }
    saved_ = working_;
    const auto interface =
        folder.read.strIni == paths_.strIni
            ? strIni_.ReadAll()
            : StrIni(ports_.files, folder.read.strIni, std::string(SectionName(language_))).ReadAll();
    if (!interface) {
        ShowFileError(interface.error(), text(TextId::kLabelsStartEmpty));
    }
    // Parentheses, not braces: clang 14 crashes on the braces of arrays of arrays of strings.
    const InterfaceSettings settings = interface.value_or(InterfaceSettings());
    labels_ = settings.labels;
    savedLabels_ = labels_;
    stamps_ = read;
    textColour_ = ToColour(settings.skin.textColour);
    FindSkin(settings.skin.path);

    PreloadFirstDrawing();
    if (!DrawWindowBackground(device_->connected() ? kBasicPageBackground : std::string_view())) {
        const std::filesystem::path& skin = skin_.fallback.empty() ? skin_.folder : skin_.fallback;
        const std::optional<ImageFault> fault = images_.fault(SkinImagePath(skin, kMainBackground));
        ports_.messages.showMessage((fault ? ImageFaultText(*fault, language_) + '\n' : std::string()) +
                                        std::string(text(TextId::kWindowCannotBeDrawn)),
                                    kApplicationTitle);
        return StartResult::CannotDraw;
    }
    RefreshHoverControls();
    if (device_->connected()) {
        DrawBasicPage();
    }
    LetWholeWindowImagesGo();
    // Without a notification area there is no way in but the window itself;
    // the session's start leaves it in the taskbar.
    if (!inTray_ && startedBy_ == StartedBy::Session) {
        ports_.window.minimise();
        waitingMinimised_ = true;
    } else if (!inTray_) {
        ShowWindow();
    }
    return StartResult::Running;
}

SkinCheck MainWindow::DrawableSkin() {
    return [this](const std::filesystem::path& folder) { return !OwnSkinImageFault(images_, folder); };
}

void MainWindow::FindSkin(const std::string& name) {
    const SkinLookup skin = FindSkinFolder(paths_, name, ports_.files, DrawableSkin());
    skin_ = {skin.folder, skin.fallback};
    skinName_ = skin.name;
    if (skin.unusableName) {
        ports_.messages.showMessage(Filled(text(TextId::kSkinCannotBeDrawn), {name}), kApplicationTitle);
        return;
    }
    if (!skin.unusable) {
        return;
    }
    // The answers are kept: nothing is decoded a second time.
    const std::optional<ImageFault> fault = OwnSkinImageFault(images_, *skin.unusable);
    if (!fault || (fault->kind == ImageFault::Kind::Missing &&
                   fault->path == SkinImagePath(*skin.unusable, kMainBackground))) {
        ports_.messages.showMessage(Filled(text(TextId::kNoSkinInFolder), {Utf8FromPath(*skin.unusable)}),
                                    kApplicationTitle);
        return;
    }
    ports_.messages.showMessage(
        ImageFaultText(*fault, language_) + '\n' +
            Filled(text(TextId::kSkinCannotBeDrawn), {name.empty() ? Utf8FromPath(*skin.unusable) : name}),
        kApplicationTitle);
}

void MainWindow::TellMouseAtStart(OpenResult result) {
    if (startedBy_ == StartedBy::User) {
        if (result == OpenResult::NoMouse) {
            ports_.messages.showMessage(text(TextId::kSystemDidNotDetectMouse), kWarningTitle);
        }
        ShowOpenFailure(result);
        return;
    }
    if (result == OpenResult::NoMouse) {
        deliver(DeviceEventCode::LinkDown, 0);
    } else if (const auto failure = OpenFailureText(result, language_)) {
        ShowBalloon(*failure, kWarningTitle, kLinkBalloonMs);
    }
}

// The images of the window and the Basic page decode side by side, before
// the first drawing asks for them one by one.
void MainWindow::PreloadFirstDrawing() {
    constexpr std::array kFirstImages = {
        kMainBackground, kBasicPageBackground, kButtonNormal,    kButtonOver,         kCloseNormal,
        kMinimiseNormal, kSkinsNormal,         kBasicPageNormal, kAdvancedPageNormal, kRowBoxNormal,
        kDropdownField,  kTickBoxEmpty,        kTickBoxTicked,   kDpiCellLit,         kDpiCellUnlit,
        kReportRateLit,  kReportRateUnlit,
    };
    std::vector<std::filesystem::path> paths;
    // Under the Basic page the window's background is decoded only if the
    // page's does not cover it; its size is read from its header.
    const bool underPage = page_ != Page::Advanced && (page_ == Page::Basic || device_->connected());
    for (const std::string_view name : kFirstImages) {
        if (name == kMainBackground ? !(underPage && images_.readsHeaders()) : device_->connected()) {
            paths.push_back(SkinImagePath(skin_.folder, name));
        }
    }
    images_.preload(paths, ports_.window.canvas().imageDensity());
}

bool MainWindow::DrawWindowBackground(std::string_view coveringPage) {
    if (pictureReleased_) {
        return true;
    }
    if (!coveringPage.empty()) {
        const std::optional<ImageSize> size = SkinImageSize(images_, skin_, kMainBackground);
        const SkinImage* page =
            LoadSkinImage(images_, skin_, coveringPage, ports_.window.canvas().imageDensity());
        if (size && page != nullptr && !page->hasAlpha && page->width >= size->width * page->scale &&
            page->height >= size->height * page->scale) {
            ports_.window.setClientSize(size->width, size->height);
            return true;
        }
    }
    const SkinImage* background = LoadSkinImage(images_, skin_, kMainBackground);
    if (background == nullptr) {
        return false;
    }
    ports_.window.setClientSize(background->width, background->height);
    drawImage(kMainBackground, {0, 0});
    ring_.forget();
    return true;
}

DialogContext MainWindow::dialogContext() {
    return {
        images_, ShowDialogFaultsIn(ports_.messages), skin_, textColour_, language_, FontsFor(langId_).text};
}

void MainWindow::ChooseSkin() {
    if (dialogHost_ == nullptr) {
        return;
    }
    const auto skins = [this] {
        std::vector<SkinEntry> entries;
        for (SkinFolder& skin : ListSkinFolders(paths_.skinRoots, ports_.files, DrawableSkin())) {
            entries.push_back({std::move(skin.name), std::move(skin.folder)});
        }
        return entries;
    };
    if (const auto choice = RunSubDialog<CSkinsDialog>(*dialogHost_, dialogContext(), skinName_, skins)) {
        UseSkin(*choice);
    }
}

void MainWindow::UseSkin(const SkinChoice& choice) {
    skin_.folder = choice.folder;
    textColour_ = choice.textColour;
    skinName_ = choice.name;
    if (const DataChange change = changeDataFiles(); const FileStatus error =
            strIni_.WriteSkin({{textColour_.red, textColour_.green, textColour_.blue}, skinName_})) {
        ShowFileError(*error);
    }
    // The new skin's window may have another size; without a page it shows
    // its bare background.
    DrawWindowBackground();
    if (page_ == Page::None) {
        ports_.window.canvas().present();
    }
    RebuildCurrentPage();
    LetWholeWindowImagesGo();
    ShowWindow();
}

PageContent* MainWindow::content(Page page) const {
    switch (page) {
    case Page::Basic:
        return basic_;
    case Page::Advanced:
        return advanced_;
    default:
        return nullptr;
    }
}

bool MainWindow::drawImage(std::string_view name, Point at) {
    if (pictureReleased_) {
        return false;
    }
    return DrawSkinImage(ports_.window.canvas(), images_, skin_, name, at);
}

bool MainWindow::drawImagePart(std::string_view name, Rect part) {
    if (pictureReleased_) {
        return false;
    }
    return DrawSkinImagePart(ports_.window.canvas(), images_, skin_, name, part);
}

void MainWindow::showWarning(std::string_view warning) {
    ports_.messages.showMessage(warning, kWarningTitle);
}

void MainWindow::showMessage(std::string_view text) {
    ports_.messages.showMessage(text, kApplicationTitle);
}

std::optional<DelayChoice> MainWindow::chooseDelay() {
    return chooseDelay_ ? chooseDelay_() : std::nullopt;
}

Byte MainWindow::sensorType() const {
    return device_->image().currentSensorType;
}

void MainWindow::syncSensorInfo() {
    device_->SyncSensorInfo();
}

bool MainWindow::firstRun() const {
    return configFile_.firstRunFlag() == 0;
}

void MainWindow::saveLabels() {
    // The first drawing's default labels stay in the window where the folder
    // cannot take them: the start has said why once.
    if (cannotSave_) {
        return;
    }
    const DataChange change = changeDataFiles();
    if (const FileStatus error = strIni_.WriteLabels(labels_)) {
        ShowFileError(*error);
    } else {
        savedLabels_ = labels_;
    }
}

PageContext::DataChange MainWindow::changeDataFiles() {
    // Holds the folder's lock and, as it is let go, notes the files as this
    // window left them: what changes them later is another program.
    class Stamping final : public FolderLock {
    public:
        Stamping(MainWindow& window, std::unique_ptr<FolderLock> held)
            : window_(window), held_(std::move(held)) {}
        ~Stamping() override { window_.stamps_ = window_.StampDataFiles(); }
        Stamping(const Stamping&) = delete;
        Stamping& operator=(const Stamping&) = delete;

    private:
        MainWindow& window_;
        std::unique_ptr<FolderLock> held_;
    };
    DataChange change;
    change.lock = std::make_unique<Stamping>(*this, LockDataFolder(ports_.files, paths_));
    const OutsideChanges outside = PickUpOutsideChanges();
    change.macrosChanged = outside.macros;
    change.redraw = outside.any;
    return change;
}

MainWindow::DataFileStamps MainWindow::StampDataFiles() const {
    return {ports_.files.stamp(paths_.configBin), ports_.files.stamp(paths_.strIni),
            ports_.files.stamp(paths_.recordIni)};
}

MainWindow::OutsideChanges MainWindow::PickUpOutsideChanges() {
    const DataFileStamps now = StampDataFiles();
    if (now == stamps_) {
        return {};
    }
    const bool edited = working_ != saved_ || labels_ != savedLabels_;
    const bool macros = now.recordIni != stamps_.recordIni;
    bool taken = macros;
    // A file that cannot be read now is left to the next Apply to report.
    DeviceConfig theirs = zeroDeviceConfig();
    if (now.configBin != stamps_.configBin && !configFile_.LoadConfig(theirs)) {
        working_ = MergedEdits(saved_, working_, theirs);
        saved_ = theirs;
        taken = true;
    }
    if (macros) {
        // The table as record.ini has it now, also when the other program
        // was stopped before it wrote config.bin.
        RebuildMacroTable(IniFile(ports_.files, paths_.recordIni), working_);
    }
    if (now.strIni != stamps_.strIni) {
        if (const auto read = strIni_.ReadAll()) {
            labels_ = MergedEdits(savedLabels_, labels_, read->labels);
            savedLabels_ = read->labels;
            taken = true;
        }
    }
    stamps_ = now;
    if (taken && edited) {
        ports_.messages.showMessage(text(TextId::kSettingsChangedOutside), kApplicationTitle);
    }
    return {taken, macros};
}

void MainWindow::drawButton(Rect rect, std::string_view image, std::string_view caption) {
    drawImage(image, rect.topLeft());
    if (!caption.empty()) {
        ports_.window.canvas().drawText(caption, rect, FontRole::Text, textColour_, TextAlign::Centre);
    }
}

// The picture holds the backgrounds it was drawn on. The window's and the
// pages' whole-window images are not kept beside it: a part of one drawn
// again (under a hovered button, the focus ring, a stage chooser) decodes it
// again, once, and keeps it until the next whole drawing.
void MainWindow::LetWholeWindowImagesGo() {
    for (const std::string_view name : {kMainBackground, kBasicPageBackground, kAdvancedPageBackground}) {
        images_.forget(SkinImagePath(skin_.folder, name));
        if (!skin_.fallback.empty()) {
            images_.forget(SkinImagePath(skin_.fallback, name));
        }
    }
}

void MainWindow::DrawFrame(std::string_view pageBackground, TextId title) {
    Canvas& canvas = ports_.window.canvas();
    ring_.forget();
    // The page's background covers the whole picture and is let go after
    // this drawing: its pixels are handed to the picture rather than copied.
    if (std::optional<SkinImage> whole =
            pictureReleased_ ? std::nullopt
                             : TakeSkinImage(images_, skin_, pageBackground, canvas.imageDensity())) {
        canvas.adoptImage(std::move(*whole));
    }
    for (const WindowButton& button : kWindowButtons) {
        drawImage(button.normalImage, button.rect.topLeft());
    }
    for (const CaptionButton& button : kDialogButtons) {
        drawButton(button.rect, kButtonNormal, text(button.caption));
    }
    canvas.drawText(text(title), kPageTitle, FontRole::Title, kWhite, TextAlign::Left);
}

void MainWindow::RefreshHoverControls() {
    std::vector<HoverControl> controls;
    for (const WindowButton& button : kWindowButtons) {
        const bool pageButton =
            button.id == WindowButtonId::BasicPage || button.id == WindowButtonId::AdvancedPage;
        controls.push_back({button.rect, pageButton ? kPageGroup : 0, [this, &button](bool over) {
                                drawImage(over ? button.overImage : button.normalImage,
                                          button.rect.topLeft());
                            }});
    }
    for (const CaptionButton& button : kDialogButtons) {
        controls.push_back({button.rect, kButtonGroup, [this, &button](bool over) {
                                drawButton(button.rect, over ? kButtonOver : kButtonNormal,
                                           text(button.caption));
                            }});
    }
    if (PageContent* page = content(page_)) {
        for (HoverControl& control : page->hoverControls()) {
            controls.push_back(std::move(control));
        }
    }
    hover_.setControls(std::move(controls));
}

void MainWindow::LeavePage() {
    // The page about to be drawn is already current: the other one leaves.
    if (PageContent* other = content(page_ == Page::Advanced ? Page::Basic : Page::Advanced);
        other && page_ != Page::None) {
        other->leave();
    }
}

void MainWindow::DrawBasicPage() {
    if (page_ == Page::Basic) {
        return;
    }
    page_ = Page::Basic;
    LeavePage();
    DrawFrame(kBasicPageBackground, TextId::kBasicSettings);
    if (basic_ != nullptr) {
        basic_->draw();
    }
    RefreshHoverControls();
    ports_.window.canvas().present();
    ControlsChanged();
    LetWholeWindowImagesGo();
}

void MainWindow::DrawAdvancedPage() {
    if (page_ == Page::Advanced) {
        return;
    }
    page_ = Page::Advanced;
    LeavePage();
    DrawFrame(kAdvancedPageBackground, TextId::kAdvancedSettings);
    if (advanced_ != nullptr) {
        advanced_->draw();
    }
    RefreshHoverControls();
    ports_.window.canvas().present();
    ControlsChanged();
    LetWholeWindowImagesGo();
}

void MainWindow::RebuildCurrentPage() {
    if (page_ == Page::Basic) {
        page_ = Page::Advanced;
        LeavePage();
        page_ = Page::None;
        DrawBasicPage();
    } else if (page_ == Page::Advanced) {
        page_ = Page::Basic;
        LeavePage();
        page_ = Page::None;
        DrawAdvancedPage();
    }
}

void MainWindow::OnTray(TrayAction action) {
    switch (action) {
    case TrayAction::LeftUp:
    case TrayAction::DoubleClick:
        if (!device_->connected()) {
            deliver(DeviceEventCode::LinkDown, 0);
            return;
        }
        // The page shows what the files hold now.
        if (const bool changed = PickUpOutsideChanges().any; !basicInitialised_ && page_ != Page::Basic) {
            DrawBasicPage();
        } else if (changed) {
            RebuildCurrentPage();
        }
        ShowWindow();
        waitingMinimised_ = false;
        return;
    case TrayAction::RightUp:
        // The shell opens the icon's own menu; the desktop's own settings
        // may have changed the start since it was last open.
        ShowStartWithDesktop();
        return;
    case TrayAction::Other:
        return;
    }
}

void MainWindow::OnTrayMenu(int id) {
    switch (id) {
    case kTrayExitItem:
        Exit();
        return;
    case kTrayStartWithDesktopItem:
        ToggleStartWithDesktop();
        return;
    case kTrayExportItem:
        ExportSettings();
        return;
    case kTrayImportItem:
        ImportSettings();
        return;
    default:
        return;
    }
}

void MainWindow::OnRightButtonUp(Point point) {
    const std::optional<int> chosen = ports_.window.popupMenu(
        {std::string(text(TextId::kExportSettings)), std::string(text(TextId::kImportSettings))}, point);
    if (chosen == 0) {
        ExportSettings();
    } else if (chosen == 1) {
        ImportSettings();
    }
}

void MainWindow::ExportSettings() {
    const std::optional<std::filesystem::path> file =
        ports_.window.chooseProfileFile(true, text(TextId::kExportSettings));
    if (!file) {
        return;
    }
    std::variant<Profile, std::string> read;
    {
        const DataChange change = changeDataFiles();
        read = ReadDataFolderProfile(ports_.files, paths_,
                                     device_->connected() ? std::optional(sensorType()) : std::nullopt);
    }
    if (const auto* failed = std::get_if<std::string>(&read)) {
        ports_.messages.showMessage(Filled(text(TextId::kSettingsNotExported), {*failed}), kApplicationTitle);
        return;
    }
    // What the window shows, applied or not.
    Profile& profile = std::get<Profile>(read);
    profile.config = working_;
    profile.labels[static_cast<std::size_t>(language_)] = labels_;
    const std::string written = WriteProfile(profile);
    if (const FileStatus error = ports_.files.writeAtomically(
            *file, std::span(reinterpret_cast<const std::uint8_t*>(written.data()), written.size()))) {
        ports_.messages.showMessage(
            Filled(text(TextId::kSettingsNotExported), {FileErrorText(*error, language_)}),
            kApplicationTitle);
    }
}

void MainWindow::ImportSettings() {
    const std::optional<std::filesystem::path> file =
        ports_.window.chooseProfileFile(false, text(TextId::kImportSettings));
    if (!file) {
        return;
    }
    const auto refuse = [&](const std::string& why) {
        ports_.messages.showMessage(Filled(text(TextId::kSettingsNotImported), {why}), kApplicationTitle);
    };
    const FileResult<std::string> content = ports_.files.readAll(*file);
    if (!content) {
        refuse(FileErrorText(content.error(), language_));
        return;
    }
    const auto read = ReadProfile(*content);
    if (const auto* fault = std::get_if<ProfileFault>(&read)) {
        refuse(Utf8FromPath(file->filename()) + " line " + std::to_string(fault->line) + ": " + fault->message);
        return;
    }
    const Profile& profile = std::get<Profile>(read);
    {
        const DataChange change = changeDataFiles();
        if (const auto failed = WriteDataFolderProfile(ports_.files, paths_, profile)) {
            refuse(*failed);
            return;
        }
        // The files now hold the profile, as when another program wrote
        // them: the window takes it up whole, over unapplied changes too.
        saved_ = profile.config;
        working_ = profile.config;
        if (const auto& labels = profile.labels[static_cast<std::size_t>(language_)]) {
            labels_ = *labels;
            savedLabels_ = *labels;
        }
    }
    RebuildCurrentPage();
}

std::vector<TrayMenuItem> MainWindow::TrayMenu() {
    startWithDesktopShown_ = ports_.autostart.startsWithDesktop();
    return {{kTrayStartWithDesktopItem, std::string(text(TextId::kStartWithDesktop)), true,
             startWithDesktopShown_},
            {kTrayExportItem, std::string(text(TextId::kExportSettings))},
            {kTrayImportItem, std::string(text(TextId::kImportSettings))},
            {kTrayExitItem, std::string(text(TextId::kExit))}};
}

void MainWindow::ShowStartWithDesktop() {
    startWithDesktopShown_ = ports_.autostart.startsWithDesktop();
    ports_.tray.setMenuItemChecked(kTrayStartWithDesktopItem, startWithDesktopShown_);
}

void MainWindow::ToggleStartWithDesktop() {
    if (const FileStatus error = ports_.autostart.setStartsWithDesktop(!startWithDesktopShown_)) {
        ports_.messages.showMessage(std::string(text(TextId::kStartWithDesktopNotSaved)) + '\n' +
                                        FileErrorText(*error, language_),
                                    kApplicationTitle);
    }
    // The tick shows what the desktop will do, whether or not the change took.
    ShowStartWithDesktop();
}

void MainWindow::OnTrayAppeared() {
    if (inTray_) {
        return;
    }
    inTray_ = true;
    ports_.tray.addIcon(kTrayTip, TrayMenu());
    ports_.window.setTaskbarEntry(false);
    // The window the session left minimised, never opened, goes into the tray.
    if (waitingMinimised_) {
        ports_.window.hide();
        waitingMinimised_ = false;
    }
}

void MainWindow::OnActivate() {
    waitingMinimised_ = false;
    OnTray(TrayAction::LeftUp);
    // Without a tray the window is the only way in, mouse or not.
    if (!inTray_) {
        ShowWindow();
    }
}

void MainWindow::ShowWindow() {
    if (pictureReleased_) {
        pictureReleased_ = false;
        RedrawPicture();
    }
    ports_.window.show();
}

void MainWindow::RedrawPicture() {
    // The Advanced page's images are few and small: only the Basic page's
    // are worth decoding side by side.
    if (page_ != Page::Advanced) {
        PreloadFirstDrawing();
    }
    const bool advanced = page_ == Page::Advanced;
    const std::string_view pageBackground =
        page_ == Page::None ? std::string_view() : advanced ? kAdvancedPageBackground : kBasicPageBackground;
    DrawWindowBackground(pageBackground);
    if (page_ != Page::None) {
        DrawFrame(advanced ? kAdvancedPageBackground : kBasicPageBackground,
                  advanced ? TextId::kAdvancedSettings : TextId::kBasicSettings);
    }
    if (PageContent* page = content(page_)) {
        page->redraw();
    }
    ports_.window.canvas().present();
    LetWholeWindowImagesGo();
}

void MainWindow::OnWindowHidden() {
    if (!inTray_ || ports_.window.visible() || pictureReleased_) {
        return;
    }
    pictureReleased_ = true;
    images_.clear();
    ports_.window.releasePicture();
    // No control stays hovered in a window out of sight.
    hover_.pointerAt({-1, -1});
}

void MainWindow::HideWindow() {
    // The window comes back with Enter and Escape as they were before Tab.
    navigator_.Disengage();
    ShowFocus();
    if (inTray_) {
        ports_.window.hide();
    } else {
        ports_.window.minimise();
    }
}

void MainWindow::OnLeftButtonDown(Point point) {
    waitingMinimised_ = false; // the user has the window in hand
    // Without a notification area, a click on the window stands in for the
    // tray click that draws the page once the mouse is there.
    if (!inTray_ && page_ == Page::None && device_->connected()) {
        OnTray(TrayAction::LeftUp);
        return;
    }
    const auto hit = [&](WindowButtonId id) { return WindowButtonRect(id).contains(point); };
    // OK, Apply and Cancel touch each other on one pixel column; the first
    // of them under the pointer takes the click, so no click runs two of them.
    std::optional<TextId> commit;
    for (const CaptionButton& button : kDialogButtons) {
        if (!commit && button.rect.contains(point)) {
            commit = button.caption;
        }
    }
    // OK and Apply do not end the dispatch.
    if (commit == TextId::kOk && device_->connected()) {
        Ok();
    }
    if (commit == TextId::kApply && device_->connected()) {
        ApplySettings();
    }
    // The skins button ends it: its dialog has taken the pointer away, and
    // the window must not start moving after it.
    if (hit(WindowButtonId::Skins)) {
        ChooseSkin();
        return;
    }
    if (hit(WindowButtonId::Minimise)) {
        Minimise();
        return;
    }
    if (hit(WindowButtonId::Close)) {
        Exit();
        return;
    }
    if (hit(WindowButtonId::BasicPage)) {
        DrawBasicPage();
        return;
    }
    if (hit(WindowButtonId::AdvancedPage)) {
        DrawAdvancedPage();
        return;
    }
    if (commit == TextId::kCancel) {
        Cancel();
    }
    PageContent* page = content(page_);
    if (page != nullptr && page->click(point)) {
        ControlsChanged();
        return;
    }
    // Empty space drags the window; a hidden window has nothing to drag.
    if (ports_.window.visible()) {
        ports_.window.startMove(point);
    }
}

void MainWindow::OnMouseMove(Point point) {
    if (hover_.pointerAt(point)) {
        ports_.window.canvas().present();
    }
}

void MainWindow::OnListChoice(int id, int index) {
    if (PageContent* page = content(page_)) {
        page->listChosen(id, index);
        ControlsChanged();
    }
}

void MainWindow::OnListPointer(int id, int index, Rect item) {
    if (PageContent* page = content(page_)) {
        page->listPointer(id, index, item);
    }
}

void MainWindow::OnListDoubleClick(int id, int index) {
    if (PageContent* page = content(page_)) {
        page->listDoubleClicked(id, index);
    }
}

void MainWindow::OnListRightClick(int id, Point at) {
    if (PageContent* page = content(page_)) {
        page->listRightClicked(id, at);
    }
}

void MainWindow::OnEditChanged(int id, std::string_view text) {
    if (PageContent* page = content(page_)) {
        page->editChanged(id, text);
    }
}

bool MainWindow::OnKeystroke(const Keystroke& key, bool inWindow) {
    PageContent* page = content(page_);
    return page != nullptr && page->keystroke(key, inWindow);
}

// --- Keys and screen readers --------------------------------------------------

namespace {

// The ids of the window's own controls; a page's start at kFirstPageControlId.
struct WindowControl {
    int id;
    WindowButtonId button;
    TextId name;
};
constexpr std::array<WindowControl, 5> kWindowControls{{
    {1, WindowButtonId::Skins, TextId::kSkins},
    {2, WindowButtonId::Minimise, TextId::kMinimise},
    {3, WindowButtonId::Close, TextId::kClose},
    {4, WindowButtonId::BasicPage, TextId::kBasicSettings},
    {5, WindowButtonId::AdvancedPage, TextId::kAdvancedSettings},
}};
// OK, Apply and Cancel, in the order of kDialogButtons.
constexpr int kFirstCommitControl = 6;

} // namespace

std::vector<Control> MainWindow::controls() {
    std::vector<Control> list;
    for (const WindowControl& window : kWindowControls) {
        Control control = MakeControl(window.id, ControlRole::Button, std::string(text(window.name)),
                                      WindowButtonRect(window.button));
        control.state.selected = (window.button == WindowButtonId::BasicPage && page_ == Page::Basic) ||
                                 (window.button == WindowButtonId::AdvancedPage && page_ == Page::Advanced);
        list.push_back(std::move(control));
    }
    if (PageContent* page = content(page_)) {
        for (Control& control : page->controls()) {
            list.push_back(std::move(control));
        }
    }
    for (std::size_t i = 0; i < kDialogButtons.size(); ++i) {
        const CaptionButton& button = kDialogButtons[i];
        Control control = MakeControl(kFirstCommitControl + static_cast<int>(i), ControlRole::Button,
                                      std::string(text(button.caption)), button.rect);
        // OK and Apply answer only while the mouse is there, as under the pointer.
        control.state.disabled = button.caption != TextId::kCancel && !device_->connected();
        list.push_back(std::move(control));
    }
    return list;
}

bool MainWindow::act(int id, ControlAction action) {
    if (id >= kFirstPageControlId) {
        PageContent* page = content(page_);
        return page != nullptr && page->act(id, action);
    }
    if (action != ControlAction::Activate) {
        return false;
    }
    for (const WindowControl& window : kWindowControls) {
        if (window.id == id) {
            switch (window.button) {
            case WindowButtonId::Skins:
                ChooseSkin();
                break;
            case WindowButtonId::Minimise:
                Minimise();
                break;
            case WindowButtonId::Close:
                Exit();
                break;
            case WindowButtonId::BasicPage:
                DrawBasicPage();
                break;
            case WindowButtonId::AdvancedPage:
                DrawAdvancedPage();
                break;
            }
            return true;
        }
    }
    const int commit = id - kFirstCommitControl;
    if (commit < 0 || commit >= static_cast<int>(kDialogButtons.size())) {
        return false;
    }
    switch (kDialogButtons[static_cast<std::size_t>(commit)].caption) {
    case TextId::kOk:
        if (device_->connected()) {
            Ok();
        }
        return true;
    case TextId::kApply:
        if (device_->connected()) {
            ApplySettings();
        }
        return true;
    default:
        Cancel();
        return true;
    }
}

bool MainWindow::dismiss() {
    PageContent* page = content(page_);
    return page != nullptr && page->dismiss();
}

bool MainWindow::OnNavigationKey(NavigationKey key) {
    const int before = navigator_.focused();
    if (!navigator_.OnKey(key)) {
        return false;
    }
    if (navigator_.focused() != before) {
        ports_.window.focusControl(navigator_.childToFocus());
    }
    ShowFocus();
    return true;
}

void MainWindow::ShowFocus() {
    std::optional<Rect> rect;
    if (navigator_.engaged() && ports_.window.visible()) {
        if (const std::optional<Control> focused = navigator_.focusedControl()) {
            rect = focused->rect;
        }
    }
    const Colour colour = ports_.window.highContrastHighlight().value_or(textColour_);
    if (ring_.show(ports_.window.canvas(), rect, colour)) {
        ports_.window.canvas().present();
    }
}

void MainWindow::ControlsChanged() {
    navigator_.Refresh();
    ShowFocus();
}

bool MainWindow::OnKeyDown(int key) {
    if (key == kEnterKey || key == kEscapeKey) {
        HideWindow();
        return true;
    }
    return false;
}

void MainWindow::OnCloseRequest() {
    // Without a tray a hidden window could never come back: closing ends.
    if (inTray_) {
        ports_.window.hide();
    } else {
        Exit();
    }
}

void MainWindow::OnDeviceNotices() {
    if (const auto reopened = device_->HandleDeviceNotices()) {
        ShowOpenFailure(*reopened);
    }
}

void MainWindow::ShowOpenFailure(OpenResult result) {
    if (const auto failure = OpenFailureText(result, language_)) {
        ports_.messages.showMessage(*failure, kWarningTitle);
    }
}

bool MainWindow::RunApply() {
    // quorvelctl waits while the mouse and the files take the settings.
    DataChange change = changeDataFiles();
    const ApplyResult result = device_->Apply(working_);
    // The files keep what the user chose, also when the link broke.
    if (result != ApplyResult::NotConnected) {
        SaveApplied(working_);
    }
    if (result == ApplyResult::UnusableAnswer) {
        ports_.messages.showMessage(text(TextId::kMouseAnswerUnusable), kWarningTitle);
    }
    saved_ = working_;
    if (result != ApplyResult::NotConnected) {
        for (PageContent* page : {basic_, advanced_}) {
            if (page != nullptr) {
                page->configurationSent();
            }
        }
    }
    change.lock.reset();
    if (change.redraw) {
        RebuildCurrentPage();
    }
    return result == ApplyResult::Completed;
}

void MainWindow::Ok() {
    RunApply();
    HideWindow();
}

void MainWindow::ApplySettings() {
    RunApply();
}

void MainWindow::Cancel() {
    // Back to what the files hold now, also when another program wrote them.
    working_ = saved_;
    labels_ = savedLabels_;
    PickUpOutsideChanges();
    working_ = saved_;
    // The button labels go back to what Apply last kept.
    if (const auto read = strIni_.ReadAll()) {
        labels_ = read->labels;
        savedLabels_ = labels_;
    } else {
        ShowFileError(read.error());
    }
    HideWindow();
    // Drawn at once, not at the next tray click: a window without a tray comes
    // back from the taskbar, and without a window manager it never went away.
    RebuildCurrentPage();
}

void MainWindow::Minimise() {
    HideWindow();
}

void MainWindow::Exit() {
    // The shell stops taking device events first, so that closing the link
    // never waits on a reader that waits on this thread.
    ports_.application.quit();
    device_->CloseDeviceLink();
    ports_.tray.removeIcon();
}

void MainWindow::SaveApplied(const DeviceConfig& config) {
    if (const FileStatus error = configFile_.SaveConfig(config)) {
        switch (error->kind) {
        case FileError::Kind::Missing:
            ports_.messages.showMessage(kConfigMissingText, kApplicationTitle);
            break;
        case FileError::Kind::WriteFailed:
            ports_.messages.showMessage(ConfigWriteErrorText(error->code), kConfigWriteErrorTitle);
            break;
        default:
            ShowFileError(*error);
        }
    }
    if (const FileStatus error = strIni_.WriteLabels(labels_)) {
        ShowFileError(*error);
    } else {
        savedLabels_ = labels_;
    }
}

void MainWindow::ShowFileError(const FileError& error, std::string_view consequence) {
    std::string message = FileErrorText(error, language_);
    if (!consequence.empty()) {
        message += '\n';
        message += consequence;
    }
    ports_.messages.showMessage(message, kApplicationTitle);
}

void MainWindow::hideWindow() {
    HideWindow();
}

void MainWindow::ShowBalloon(std::string_view balloonText, std::string_view title, int timeoutMs) {
    ports_.tray.showBalloon(balloonText, title, timeoutMs);
}

void MainWindow::deliver(DeviceEventCode code, int value) {
    switch (code) {
    case DeviceEventCode::ReportRate:
    case DeviceEventCode::DpiStage:
    case DeviceEventCode::KeyConfiguration:
        for (const BalloonText& balloon : kBalloons) {
            if (balloon.code == code && balloon.value == value) {
                std::string message(text(balloon.text));
                if (code == DeviceEventCode::DpiStage) {
                    message += DpiLabel(device_->image().currentSensorType,
                                        working_.dpiValueIndex[static_cast<std::size_t>(value - 1)]);
                }
                ShowBalloon(message, kInfoTitle, kInfoBalloonMs);
            }
        }
        return;
    case DeviceEventCode::MacroMode:
        if (value != 0) {
            ShowBalloon(std::string(text(TextId::kSwitchToMacroKey)) + std::to_string(value), kInfoTitle,
                        kInfoBalloonMs);
        }
        return;
    case DeviceEventCode::LinkUp:
        ShowBalloon(text(TextId::kSystemDetectMouse), kInfoTitle, kLinkBalloonMs);
        return;
    case DeviceEventCode::LinkDown:
        ShowBalloon(text(TextId::kSystemDidNotDetectMouse), kWarningTitle, kLinkBalloonMs);
        return;
    }
}

} // namespace quorvel
