#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "app/device_event_relay.h"
#include "app/main_window_assembly.h"
#include "config/data_folder.h"
#include "device/device_controller.h"
#include "ports/pointer_settings_port.h"
#include "system/windows/mutex_instance.h"
#include "system/windows/windows_file_system.h"
#include "win32/interface_thread.h"
#include "win32/keystroke_hook.h"
#include "win32/shell_ports.h"
#include "win32/tray.h"
#include "win32/wic_image_decoder.h"
#include "win32/win32_assignment_dialogs.h"
#include "win32/win32_window.h"

namespace quorvel {

// The class of the program's main window, by which other programs (and a
// second copy) find it.
inline constexpr const wchar_t* kMainWindowClass = L"QRVL_GamingMouseClass";

// The Windows program put together: the Win32 shell around the main window's
// controller and the device link on the given HID port.
class Win32Program {
public:
    struct Options {
        DataPaths paths;
        std::uint16_t langId = 0x409;
        MessagePort* messages = nullptr;        // nullptr: message boxes over the window
        SingleInstancePort* instance = nullptr; // nullptr: the named mutex below
        std::wstring mutexName = MutexInstance::kDefaultName;
        // The main window's class; a second copy finds the first one's window by it.
        std::wstring windowClass = kMainWindowClass;
        PointerSettingsPort* pointer = nullptr; // nullptr: the program keeps them to itself
        AutostartPort* autostart = nullptr;     // nullptr: the program keeps the choice to itself
        StartedBy startedBy = StartedBy::User;
    };

    Win32Program(HidPort& hid, Clock& clock, Options options);
    ~Win32Program();
    Win32Program(const Win32Program&) = delete;
    Win32Program& operator=(const Win32Program&) = delete;

    // Starts the window (hidden, in the tray). False when the program ends
    // at once, with startExitStatus(): 0 when another copy runs (that copy
    // has been asked to show its window), 1 when the window cannot be drawn
    // (a message has said why).
    bool start();
    int startExitStatus() const { return startExitStatus_; }
    // Runs the message loop until the program is ended; the exit code.
    int exec();

    MainWindow& controller() { return *main_; }
    Win32Window& window() { return window_; }
    Win32Tray& tray() { return tray_; }
    DeviceController& device() { return device_; }
    Win32AssignmentDialogs& assignmentDialogs() { return *dialogs_; }
    BasicPage& basicPage() { return *basicPage_; }
    AdvancedPage& advancedPage() { return *advancedPage_; }
    InterfaceThread& interfaceThread() { return interface_; }

    // The data folder of the running program (the demo's own inside it),
    // its factory files copied in where missing.
    static DataPaths DefaultDataPaths(FileSystem& files, bool demo = false);
    // The message by which a second copy asks the running one to show its window.
    static UINT ActivateMessage();

private:
    std::optional<LRESULT> onWindowMessage(UINT message, WPARAM wParam, LPARAM lParam);

    ComApartment com_; // WIC decodes on this thread
    WindowsFileSystem files_;
    Win32Messages boxes_;
    MutexInstance mutex_;
    MessagePort* messages_;
    SingleInstancePort* instance_;
    KeptPointerSettings keptPointer_;
    PointerSettingsPort* pointer_;
    KeptAutostart keptAutostart_;
    AutostartPort* autostart_;
    StartedBy startedBy_;
    std::wstring windowClass_;
    InterfaceThread interface_;
    Win32Window window_;
    WicImageDecoder decoder_;
    DeviceEventRelay relay_;
    Win32Tray tray_;
    Win32Application application_;
    DeviceController device_;
    std::unique_ptr<MainWindow> main_;
    std::unique_ptr<Win32AssignmentDialogs> dialogs_;
    std::unique_ptr<DialogHost> windowDialogs_; // the main window's own (the skin chooser)
    std::unique_ptr<BasicPage> basicPage_;
    std::unique_ptr<AdvancedPage> advancedPage_;
    std::unique_ptr<KeystrokeHook> keystrokes_;
    bool ownLock_ = false;
    int startExitStatus_ = 0;
};

} // namespace quorvel
