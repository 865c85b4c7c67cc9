// The Quorvel mouse settings program: lives in the tray, finds the mouse
// through hidraw.
#include <QApplication>
#include <memory>

#include "hid/linux/linux_hid_port.h"
#include "hid/trace/tracing_hid_port.h"
#include "qt/program.h"
#include "quorvel_autostart_entry.h"
#include "quorvel_version.h"
#include "system/linux/desktop_autostart.h"
#include "system/linux/gnome_pointer_settings.h"
#include "system/linux/locale_language.h"
#include "system/linux/monotonic_clock.h"
#include "system/linux/program_environment.h"
#include "system/linux/standard_error.h"

int main(int argc, char** argv) {
    // The program's name is what the desktop shows of it: the tray item's
    // title, the sender of its notifications, the class of its windows (the
    // menu entry's StartupWMClass).
    QApplication::setApplicationName(QString::fromUtf8(quorvel::kApplicationTitle.data(),
                                                       static_cast<int>(quorvel::kApplicationTitle.size())));
    QGuiApplication::setDesktopFileName("io.github.quorvel.Quorvel");
    QCommandLineParser parser;
    parser.setApplicationDescription("Settings of the Quorvel gaming mouse. Lives in the notification area;"
                                     " a second start shows the running copy's window.");
    const QCommandLineOption autostartOption(
        "autostart",
        "Started with the desktop session (the autostart entry says so): stay in the notification"
        " area and tell a missing mouse by a notification rather than a message box.");
    parser.addOption(autostartOption);
    if (const auto done = quorvel::Program::ReadCommandLine(parser, argc, argv, QUORVEL_VERSION)) {
        return *done;
    }
    quorvel::ShareOneHeap();
    const std::unique_ptr<QApplication> app = quorvel::Program::OpenDisplay(argc, argv);

    quorvel::LinuxHidPort system;
    // QUORVEL_TRACE=1: every transfer with the mouse on standard error.
    quorvel::MonotonicClock clock;
    quorvel::TracedWhenAsked ports(system, clock,
                                   quorvel::TraceAskedFor() ? &quorvel::StandardErrorStream() : nullptr);
    quorvel::LocalFileSystem files;
    quorvel::Program::Options options;
    options.paths = quorvel::Program::DefaultDataPaths(files);
    options.langId = quorvel::SystemDefaultLangId();
    const std::unique_ptr<quorvel::PointerSettingsPort> pointer = quorvel::DesktopPointerSettings();
    options.pointer = pointer.get();
    quorvel::DesktopAutostart autostart(quorvel::DesktopAutostart::SessionFolders(),
                                        std::string(quorvel::kAutostartEntryName),
                                        std::string(quorvel::kAutostartEntry), quorvel::ThisExecutable());
    options.autostart = &autostart;
    options.startedBy =
        parser.isSet(autostartOption) ? quorvel::StartedBy::Session : quorvel::StartedBy::User;

    quorvel::Program program(ports.hid(), ports.clock(), std::move(options));
    if (!program.start()) {
        // 0: another copy is running (and shows its window when the user started this one); 1: the window
        // cannot be drawn
        return program.startExitStatus();
    }
    return program.exec();
}
