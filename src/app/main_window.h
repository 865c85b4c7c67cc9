#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "app/page.h"
#include "config/config_file.h"
#include "config/data_folder.h"
#include "config/str_ini.h"
#include "device/device_controller.h"
#include "lang/texts.h"
#include "ports/file_system.h"
#include "ports/message_port.h"
#include "ports/system_ports.h"
#include "ports/ui_port.h"
#include "ui/hover_set.h"
#include "ui/skin_painter.h"

namespace quorvel {

enum class Page { None = 0, Basic = 1, Advanced = 2 };
enum class TrayAction { LeftUp, DoubleClick, RightUp, Other };

inline constexpr std::string_view kTrayTip = "Gaming mouse setting";
inline constexpr std::string_view kInfoTitle = "Info";
inline constexpr int kInfoBalloonMs = 5000;
inline constexpr int kLinkBalloonMs = 100;
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
};

// The main window: start-up, the tray icon and its balloons, the
// window-level buttons, hiding and ending, and the two copies of the
// configuration (working and saved). Pages draw their content through
// PageContent.
class MainWindow final : public DeviceEventPort, public ApplySaves {
public:
    MainWindow(MainWindowPorts ports, DeviceController& device, DataPaths paths, std::uint16_t langId);

    enum class StartResult { Running, AlreadyRunning };
    // The window's initialisation. `noticeWakeup` is called from any thread
    // when arrival or removal notices wait; the shell then calls OnDeviceNotices.
    StartResult Start(std::function<void()> noticeWakeup);

    void setPages(PageContent* basic, PageContent* advanced);

    // Input from the shell.
    void OnTray(TrayAction action);
    void OnLeftButtonDown(Point point);
    void OnMouseMove(Point point);
    // A drop-down list of the current page: an entry picked, the pointer
    // over entry `index` (-1: none) whose rectangle inside the list is `item`.
    void OnListChoice(int id, int index);
    void OnListPointer(int id, int index, Rect item);
    bool OnKeyDown(int key); // true when the key was taken
    void OnCloseRequest();
    void OnDeviceNotices();

    // DeviceEventPort, on the interface thread.
    void deliver(DeviceEventCode code, int value) override;
    void hideWindow() override;
    // ApplySaves.
    void saveApplied(const DeviceConfig& config) override;

    // Window-level buttons.
    void Ok();
    void ApplySettings();
    void Cancel();
    void Minimise();
    void Exit(); // the close button and the tray menu's "Exit"

    void DrawBasicPage();
    void DrawAdvancedPage();
    // Redraws everything of the current page (after Cancel or a new skin).
    void RebuildCurrentPage(bool rereadLabels);

    // What the pages and dialogs share.
    DeviceConfig& working() { return working_; }
    const DeviceConfig& saved() const { return saved_; }
    ButtonLabels& labels() { return labels_; }
    Language language() const { return language_; }
    std::string_view text(TextId id) const { return Text(language_, id); }
    Page currentPage() const { return page_; }
    bool basicPageInitialised() const { return basicInitialised_; }
    void setBasicPageInitialised() { basicInitialised_ = true; }
    bool rebuildPending() const { return rebuildPending_; }
    const std::filesystem::path& skinFolder() const { return skinFolder_; }
    Colour textColour() const { return textColour_; }
    DeviceController& device() { return *device_; }
    ConfigFile& configFile() { return configFile_; }
    StrIni& strIni() { return strIni_; }
    WindowPort& window() { return ports_.window; }
    MessagePort& messages() { return ports_.messages; }
    ImageCache& images() { return images_; }

    // Tells the user which file and what went wrong, and what follows from it.
    void ShowFileError(const FileError& error, std::string_view consequence = {});

    // Drawing helpers for pages: a skin image, an image button with its
    // caption centred in the skin's text colour.
    bool DrawImage(std::string_view name, Point at);
    void DrawButton(Rect rect, std::string_view image, std::string_view caption);
    // Sets the page's hover controls together with the window's own.
    void RefreshHoverControls();

private:
    void DrawFrame(std::string_view pageBackground, TextId title);
    void LeavePage();
    void ShowBalloon(std::string_view text, std::string_view title, int timeoutMs);
    bool RunApply();
    PageContent* content(Page page) const;

    MainWindowPorts ports_;
    DeviceController* device_;
    DataPaths paths_;
    std::uint16_t langId_;
    Language language_;
    ImageCache images_;
    ConfigFile configFile_;
    StrIni strIni_;
    HoverSet hover_;

    DeviceConfig working_ = zeroDeviceConfig();
    DeviceConfig saved_ = zeroDeviceConfig();
    ButtonLabels labels_;
    std::filesystem::path skinFolder_;
    std::string skinName_;
    Colour textColour_;

    Page page_ = Page::None;
    bool basicInitialised_ = false;
    bool rebuildPending_ = false;
    PageContent* basic_ = nullptr;
    PageContent* advanced_ = nullptr;
};

} // namespace quorvel
