#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "app/device_messages.h"
#include "app/page.h"
#include "app/page_context.h"
#include "config/config_file.h"
#include "config/data_folder.h"
#include "config/str_ini.h"
#include "device/device_controller.h"
#include "dialogs/skins_dialog.h"
#include "lang/texts.h"
#include "ports/file_system.h"
#include "ports/message_port.h"
#include "ports/system_ports.h"
#include "ports/ui_port.h"
#include "ui/controls.h"
#include "ui/focus_ring.h"
#include "ui/hover_set.h"
#include "ui/navigator.h"
#include "ui/skin_painter.h"

namespace quorvel {

enum class Page { None = 0, Basic = 1, Advanced = 2 };
enum class TrayAction { LeftUp, DoubleClick, RightUp, Other };

inline constexpr std::string_view kTrayTip = "Gaming mouse setting";
inline constexpr std::string_view kInfoTitle = "Info";
inline constexpr int kInfoBalloonMs = 5000;
// The mouse found and lost messages stay long enough to be read; a tenth of
// a second made notification servers drop them unseen.
inline constexpr int kLinkBalloonMs = 5000;
// The ids of the tray menu's items: "Exit" keeps the first, so that its
// command stays the one other programs send (1028 on Windows).
inline constexpr int kTrayExitItem = 0;
inline constexpr int kTrayStartWithDesktopItem = 1;
inline constexpr int kTrayExportItem = 2;
inline constexpr int kTrayImportItem = 3;
inline constexpr int kEnterKey = 13;
inline constexpr int kEscapeKey = 27;

struct MainWindowPorts {
    FileSystem& files;
    MessagePort& messages;
    WindowPort& window;
    TrayPort& tray;
    ApplicationPort& application;
    ImageDecoder& decoder;
    SingleInstancePort& instance;
    AutostartPort& autostart;
};

// Who started the program: the user, or the desktop session at login (the
// autostart entry says so on the command line).
enum class StartedBy { User, Session };

// The main window: start-up, the tray icon and its balloons, the
// window-level buttons, hiding and ending, and the two copies of the
// configuration (working and saved). Pages draw their content through
// PageContent, and reach the window only through PageContext.
//
// As a ControlSource it is the window's own controls (the skins, minimise
// and close buttons, the page buttons, OK, Apply, Cancel) with the current
// page's between them, in reading order.
class MainWindow final : public DeviceEventPort, public PageContext, public ControlSource {
public:
    MainWindow(MainWindowPorts ports, DeviceController& device, DataPaths paths, std::uint16_t langId);

    // CannotDraw: not even the Default skin has a background the window can
    // be drawn from; a message has said which image and why, and the program
    // ends (with a failure status) rather than show a window of one pixel.
    enum class StartResult { Running, AlreadyRunning, CannotDraw };
    // The window's initialisation. `noticeWakeup` is called from any thread
    // when arrival or removal notices wait; the shell then calls OnDeviceNotices.
    // Started by the session, the program starts quietly: the window stays
    // in the tray (minimised where there is none) and a missing mouse is a
    // notification, not a box to close at every login.
    StartResult Start(std::function<void()> noticeWakeup, StartedBy by = StartedBy::User);
    // Whether a start that found another copy running asks that copy to
    // show its window: a user's start does, the session's leaves it alone.
    bool showsRunningCopy() const { return startedBy_ == StartedBy::User; }

    void setPages(PageContent* basic, PageContent* advanced);
    // Where the window's own dialog (the skin chooser) runs; without one the
    // skins button does nothing.
    void setDialogHost(DialogHost* host) { dialogHost_ = host; }

    // Input from the shell.
    void OnTray(TrayAction action);
    // The tray menu's item `id` was chosen.
    void OnTrayMenu(int id);
    // A notification area appeared after the start: the window moves there.
    void OnTrayAppeared();
    // A second copy of the program was started: show this one's window.
    void OnActivate();
    // Whether the window is reached through the tray icon (else it is an
    // ordinary window with a taskbar entry, and closing it ends the program).
    bool inTray() const { return inTray_; }
    void OnLeftButtonDown(Point point);
    // A right click on the window outside its lists: the menu of the
    // settings profile, which a window without a tray has no other way to.
    void OnRightButtonUp(Point point);
    void OnMouseMove(Point point);
    // A drop-down list of the current page: an entry picked, the pointer
    // over entry `index` (-1: none) whose rectangle inside the list is `item`.
    void OnListChoice(int id, int index);
    void OnListPointer(int id, int index, Rect item);
    // A list box of the current page: a double click on entry `index`, a
    // right click at `at`.
    void OnListDoubleClick(int id, int index);
    void OnListRightClick(int id, Point at);
    // The user changed the text of edit `id` of the current page.
    void OnEditChanged(int id, std::string_view text);
    // A key typed into one of the program's windows (`inWindow`: this one);
    // true when the window must not act on it.
    bool OnKeystroke(const Keystroke& key, bool inWindow);
    bool OnKeyDown(int key); // true when the key was taken
    // A key that moves through the controls (Tab, arrows, Space...): true
    // when it was taken; the shell then drops it, else it goes on to
    // OnKeyDown.
    bool OnNavigationKey(NavigationKey key);
    // The control with the keyboard focus; -1 when none has it.
    int focusedControl() const { return navigator_.focused(); }
    // Told of the controls' changes, focus moves and values.
    void setAccessibility(AccessibilityPort* port) { navigator_.setAccessibility(port); }

    // ControlSource.
    std::vector<Control> controls() override;
    bool act(int id, ControlAction action) override;
    bool dismiss() override;
    void OnCloseRequest();
    // The window has gone out of sight. Hidden in the tray it lets its
    // picture and the decoded skin go; it draws them again before it shows.
    void OnWindowHidden();
    void OnDeviceNotices();
    // The desktop's colours changed (high contrast came or went): the focus
    // ring is drawn again in them.
    void OnSystemColoursChanged() { ShowFocus(); }

    // DeviceEventPort, on the interface thread.
    void deliver(DeviceEventCode code, int value) override;
    void hideWindow() override;

    // Window-level buttons.
    void Ok();
    void ApplySettings();
    void Cancel();
    void Minimise();
    void Exit(); // the close button and the tray menu's "Exit"
    // The skins button: the Skins dialog, and on OK the new skin.
    void ChooseSkin();
    // Keeps `choice` in str.ini and draws the window again from it.
    void UseSkin(const SkinChoice& choice);

    void DrawBasicPage();
    void DrawAdvancedPage();
    // Redraws everything of the current page (after Cancel or a new skin).
    void RebuildCurrentPage();

    // PageContext: what the pages use.
    DeviceConfig& working() override { return working_; }
    ButtonLabels& labels() override { return labels_; }
    void saveLabels() override;
    DataChange changeDataFiles() override;
    Language language() const override { return language_; }
    WindowPort& window() override { return ports_.window; }
    Colour textColour() const override { return textColour_; }
    bool drawImage(std::string_view name, Point at) override;
    bool drawImagePart(std::string_view name, Rect part) override;
    void drawButton(Rect rect, std::string_view image, std::string_view caption) override;
    void showWarning(std::string_view text) override;
    void showMessage(std::string_view text) override;
    std::optional<DelayChoice> chooseDelay() override;
    // The shell's Delay-time dialog.
    void setDelayChooser(std::function<std::optional<DelayChoice>()> chooser) {
        chooseDelay_ = std::move(chooser);
    }
    Byte sensorType() const override;
    void syncSensorInfo() override;
    bool basicPageInitialised() const override { return basicInitialised_; }
    void setBasicPageInitialised() override { basicInitialised_ = true; }
    bool firstRun() const override;

    // What the dialogs take when they open, and the window's state.
    const DeviceConfig& saved() const { return saved_; }
    Page currentPage() const { return page_; }
    const std::filesystem::path& skinFolder() const { return skin_.folder; }
    const std::string& skinName() const { return skinName_; }
    // The skin, language and fonts a sub-dialog opens with.
    DialogContext dialogContext();
    MessagePort& messages() { return ports_.messages; }
    ImageCache& images() { return images_; }

    // Tells the user which file and what went wrong, and what follows from it.
    void ShowFileError(const FileError& error, std::string_view consequence = {});

    // Sets the page's hover controls together with the window's own.
    void RefreshHoverControls();

    // Takes up what another program (quorvelctl, a copy on another desktop)
    // changed in the data files since the window last read or wrote them:
    // the settings and labels the user has not touched follow the files,
    // the user's unapplied changes stay over them, and a user with such
    // changes is told.
    struct OutsideChanges {
        bool any = false;    // some file was taken up: the page must be drawn again
        bool macros = false; // record.ini changed: the macro list must be read again
    };
    OutsideChanges PickUpOutsideChanges();

    // "Export settings...": the settings the window shows, with the data
    // folder's macros, to a profile the user names.
    void ExportSettings();
    // "Import settings...": a profile the user names, checked whole, into
    // the data folder; the window shows it and the next Apply sends it.
    void ImportSettings();

private:
    void HideWindow();
    // Shows the window, its picture drawn again first where it was let go.
    void ShowWindow();
    // Draws the whole window as it stands: its background, and the current
    // page with its frame.
    void RedrawPicture();
    void LetWholeWindowImagesGo();
    void DrawFrame(std::string_view pageBackground, TextId title);
    void LeavePage();
    void ShowBalloon(std::string_view text, std::string_view title, int timeoutMs);
    // The tray icon's menu, its check item showing what the desktop does now.
    std::vector<TrayMenuItem> TrayMenu();
    // Shows in the menu whether the desktop starts the program now.
    void ShowStartWithDesktop();
    // "Start with the desktop" chosen: the opposite of what the item showed.
    void ToggleStartWithDesktop();
    // Tells what start-up found of the mouse, as a box or, when the session
    // started the program, as a notification.
    void TellMouseAtStart(OpenResult result);
    bool RunApply();
    // The files Apply leaves behind: config.bin, then the button labels in str.ini.
    void SaveApplied(const DeviceConfig& config);
    // Tells the user why the mouse found at start or on its arrival cannot be used.
    void ShowOpenFailure(OpenResult result);
    // The skin of str.ini, or the Default skin when it cannot be drawn.
    void FindSkin(const std::string& name);
    // Whether a skin folder holds the images a skin must have of its own.
    SkinCheck DrawableSkin();
    PageContent* content(Page page) const;
    // Decodes the images of the first drawing side by side.
    void PreloadFirstDrawing();
    // The window's size and background from the skin's main.png: drawn
    // unless the page background drawn next (`coveringPage`, empty for
    // none) covers it, when only its size is read. False when the window
    // has neither to be drawn from.
    bool DrawWindowBackground(std::string_view coveringPage = {});
    // The focus ring where the keyboard focus is now (none before Tab), in
    // the desktop's high-contrast highlight or else the skin's text colour.
    void ShowFocus();
    // The pointer or a page drawing changed the controls: the navigator
    // tells assistive technology, and the ring follows.
    void ControlsChanged();
    // The background of the page shown, for what is drawn again on it.
    void DrawUnderlay(Rect part);

    MainWindowPorts ports_;
    DeviceController* device_;
    DataPaths paths_;
    std::uint16_t langId_;
    Language language_;
    ImageCache images_;
    ConfigFile configFile_;
    StrIni strIni_;
    HoverSet hover_;

    // The data files as the window last read or wrote them.
    struct DataFileStamps {
        std::optional<FileSystem::Stamp> configBin, strIni, recordIni;
        bool operator==(const DataFileStamps&) const = default;
    };
    DataFileStamps StampDataFiles() const;

    DeviceConfig working_ = zeroDeviceConfig();
    DeviceConfig saved_ = zeroDeviceConfig();
    ButtonLabels labels_;
    ButtonLabels savedLabels_; // as str.ini last had them
    DataFileStamps stamps_;
    SkinSource skin_;
    std::string skinName_;
    Colour textColour_;

    Page page_ = Page::None;
    bool inTray_ = false;
    StartedBy startedBy_ = StartedBy::User;
    // Started by the session without a tray, the window waits minimised
    // until the user opens it or a tray comes to take it.
    bool waitingMinimised_ = false;
    // The start found that the data folder cannot be saved, and said so.
    bool cannotSave_ = false;
    bool startWithDesktopShown_ = false; // what the menu's check item shows
    bool basicInitialised_ = false;
    // The window, hidden in the tray, holds no picture: drawing waits until
    // it is shown again.
    bool pictureReleased_ = false;
    PageContent* basic_ = nullptr;
    PageContent* advanced_ = nullptr;
    std::function<std::optional<DelayChoice>()> chooseDelay_;
    DialogHost* dialogHost_ = nullptr;
    Navigator navigator_{*this};
    FocusRing ring_;
};

} // namespace quorvel
