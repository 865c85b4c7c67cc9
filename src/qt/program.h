#pragma once

#include <QApplication>
#include <QCommandLineParser>
#include <QObject>
#include <QSocketNotifier>
#include <memory>
#include <optional>

#include "app/device_event_relay.h"
#include "app/main_window_assembly.h"
#include "assign/assignment_dialogs.h"
#include "config/data_folder.h"
#include "device/device_controller.h"
#include "qt/keystroke_filter.h"
#include "qt/qt_assignment_dialogs.h"
#include "qt/qt_image_decoder.h"
#include "qt/qt_shell_ports.h"
#include "qt/skinned_window.h"
#include "system/linux/knock_socket.h"
#include "system/linux/local_file_system.h"
#include "system/linux/lock_file_instance.h"

namespace quorvel {

// The desktop program put together: the Qt shell around the main window's
// controller and the device link on the given HID port.
class Program {
public:
    struct Options {
        DataPaths paths;
        std::uint16_t langId = 0x409;
        MessagePort* messages = nullptr;        // message boxes; nullptr: Qt's
        SingleInstancePort* instance = nullptr; // nullptr: the user's lock file below
        // The lock that keeps one copy running; a second copy asks the first,
        // over a socket beside it, to show its window.
        std::filesystem::path lockFile = LockFileInstance::DefaultLockFile();
        PointerSettingsPort* pointer = nullptr; // nullptr: the program keeps them to itself
        AutostartPort* autostart = nullptr;     // nullptr: the program keeps the choice to itself
        StartedBy startedBy = StartedBy::User;
    };

    Program(HidPort& hid, Clock& clock, Options options);
    ~Program();

    // Starts the window (hidden, in the tray). False when the program ends
    // at once, with startExitStatus(): 0 when another copy runs (that copy
    // has been asked to show its window), 1 when the window cannot be drawn
    // (a message has said why).
    bool start();
    int startExitStatus() const { return startExitStatus_; }
    // Runs until the program is ended; the exit code.
    int exec();

    MainWindow& controller() { return *main_; }
    SkinnedWindow& window() { return window_; }
    DeviceController& device() { return device_; }
    // The dialogs that collect a button function's parameters.
    AssignmentDialogs& assignmentDialogs() { return *dialogs_; }
    BasicPage& basicPage() { return *basicPage_; }
    AdvancedPage& advancedPage() { return *advancedPage_; }
    QtTray& tray() { return tray_; }

    // The data folder of the running program by the usual rule (the demo's
    // own beside it), its factory files copied in where missing.
    static DataPaths DefaultDataPaths(LocalFileSystem& files, bool demo = false);

    // Reads the command line with the program's options in `parser`, before
    // any display is opened: --help and --version are answered (0), a wrong
    // option or argument is told on standard error (2); the exit code when
    // the program ends here. The options of Qt's own (-platform, -session,
    // -style and the like) pass for the application object.
    static std::optional<int> ReadCommandLine(QCommandLineParser& parser, int argc, char** argv,
                                              const QString& version);
    // The application on the desktop's display. Where no display can be
    // opened, the program says so on standard error and ends with status 1
    // (Qt itself would abort it).
    static std::unique_ptr<QApplication> OpenDisplay(int& argc, char** argv);

private:
    void ListenForLaterCopies(const std::filesystem::path& socket);
    // Shows the window for a peer that says the knock and hangs up; cuts
    // off anyone else.
    void HearKnock(int peer);

    LocalFileSystem files_;
    QtMessages qtMessages_;
    LockFileInstance lock_;
    MessagePort* messages_;
    SingleInstancePort* instance_;
    KeptPointerSettings keptPointer_;
    PointerSettingsPort* pointer_;
    KeptAutostart keptAutostart_;
    AutostartPort* autostart_;
    StartedBy startedBy_;
    SkinnedWindow window_;
    QtImageDecoder decoder_;
    DeviceEventRelay relay_;
    QtTray tray_;
    QtApplication application_;
    DeviceController device_;
    std::unique_ptr<MainWindow> main_;
    std::unique_ptr<QtAssignmentDialogs> dialogs_;
    std::unique_ptr<DialogHost> windowDialogs_; // the main window's own (the skin chooser)
    std::unique_ptr<BasicPage> basicPage_;
    std::unique_ptr<AdvancedPage> advancedPage_;
    std::unique_ptr<KeystrokeFilter> keystrokes_;
    bool ownLock_ = false;
    int startExitStatus_ = 0;
    KnockSocket later_; // second launches knock here
    std::unique_ptr<QSocketNotifier> laterWaiting_;
    QObject knockers_; // the peers being heard, as its children
};

} // namespace quorvel
