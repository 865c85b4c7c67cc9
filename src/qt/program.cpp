#include "qt/program.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QTimer>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/second_launch.h"
#include "qt/qt_assignment_dialogs.h"
#include "system/linux/program_environment.h"
#include "system/linux/standard_error.h"

namespace quorvel {

namespace {

void OnInterfaceThread(std::function<void()> task) {
    QMetaObject::invokeMethod(QCoreApplication::instance(), std::move(task), Qt::QueuedConnection);
}

// The socket a second copy knocks on, beside the lock file.
std::filesystem::path SocketBeside(const std::filesystem::path& lockFile) {
    std::filesystem::path socket = lockFile;
    return socket.replace_extension(".socket");
}

// A peer of the socket being heard: what it says is read as it comes, no
// more than the knock's worth, so a flood waits in the kernel's small
// buffer; at the verdict the connection is closed with this object.
class KnockHearing : public QObject {
public:
    KnockHearing(int fd, std::function<void()> show, QObject* parent)
        : QObject(parent), peer_(fd), watch_(fd, QSocketNotifier::Read), show_(std::move(show)) {
        QObject::connect(&watch_, &QSocketNotifier::activated, this, [this] { Read(); });
        patience_.setSingleShot(true);
        QObject::connect(&patience_, &QTimer::timeout, this, [this] { Decide(knock_.outOfPatience()); });
        patience_.start(KnockListener::kPatienceMs);
    }

private:
    void Read() {
        if (const std::optional<std::string> bytes = peer_.read(knock_.wanted()); !bytes) {
            Decide(knock_.peerHungUp());
        } else if (!bytes->empty()) {
            Decide(knock_.heard(*bytes));
        }
    }
    void Decide(KnockListener::Verdict verdict) {
        if (verdict == KnockListener::Verdict::Listening || decided_) {
            return;
        }
        decided_ = true;
        watch_.setEnabled(false);
        patience_.stop();
        deleteLater();
        if (verdict == KnockListener::Verdict::Show) {
            show_();
        }
    }

    KnockPeer peer_; // first, so that it closes the connection after the notifier has gone
    KnockListener knock_;
    QSocketNotifier watch_;
    QTimer patience_;
    std::function<void()> show_;
    bool decided_ = false;
};

// The options Qt's application object takes from the command line for
// itself; those with a value take the next argument.
struct QtOption {
    const char* name;
    bool takesValue;
};
// clang-format off
constexpr QtOption kQtOptions[] = {
    {"platform", true},        {"platformpluginpath", true}, {"platformtheme", true}, {"plugin", true},
    {"qwindowgeometry", true}, {"qwindowicon", true},        {"qwindowtitle", true},  {"session", true},
    {"display", true},         {"name", true},               {"geometry", true},      {"title", true},
    {"icon", true},            {"style", true},              {"stylesheet", true},    {"reverse", false},
    {"widgetcount", false},    {"sync", false},
};
// clang-format on

// What Qt says while the application opens its display: held back until
// the display is open, and then passed on.
struct HeldMessage {
    QtMsgType type;
    const char* category; // Qt's own category names live as long as the program
    QString text;
};
std::vector<HeldMessage>* heldMessages = nullptr;

std::string Described(const char* variable) {
    const QByteArray value = qgetenv(variable);
    return value.isEmpty() ? std::string(variable) + " is not set"
                           : std::string(variable) + "=" + value.toStdString();
}

// Qt's platform plugin ends the program with a fatal message when it finds
// no display (and would abort it, advising to reinstall); the program ends
// it instead, saying what it found, with what Qt said before as the detail.
void HoldOrEnd(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (type != QtFatalMsg) {
        heldMessages->push_back({type, context.category, text});
        return;
    }
    std::string where = Described("DISPLAY") + ", " + Described("WAYLAND_DISPLAY");
    if (!qgetenv("QT_QPA_PLATFORM").isEmpty()) {
        where = Described("QT_QPA_PLATFORM") + ", " + where;
    }
    PrintErrorLine("cannot open its window: no usable display (" + where + "); it runs in a desktop session");
    for (const HeldMessage& message : *heldMessages) {
        const bool named = message.category != nullptr && std::string_view(message.category) != "default";
        PrintError("  " + (named ? std::string(message.category) + ": " : std::string()) +
                   message.text.toStdString() + "\n");
    }
    std::_Exit(1);
}

} // namespace

DataPaths Program::DefaultDataPaths(LocalFileSystem& files, bool demo) {
    DataPaths paths = ProgramDataPaths(ThisProgramEnvironment(), files, demo);
    if (!paths.portable) {
        std::error_code ignored;
        std::filesystem::create_directories(paths.folder, ignored);
    }
    return paths;
}

Program::Program(HidPort& hid, Clock& clock, Options options)
    : lock_(options.lockFile), messages_(options.messages != nullptr ? options.messages : &qtMessages_),
      instance_(options.instance != nullptr ? options.instance : &lock_),
      pointer_(options.pointer != nullptr ? options.pointer : &keptPointer_),
      autostart_(options.autostart != nullptr ? options.autostart : &keptAutostart_),
      startedBy_(options.startedBy), relay_(OnInterfaceThread),
      tray_({[this](int action) { main_->OnTray(static_cast<TrayAction>(action)); },
             [this](int id) { main_->OnTrayMenu(id); }}),
      application_([this] { relay_.stop(); }), device_(hid, clock, relay_) {
    // Made before the main window takes the data paths; each dialog takes the
    // main window's skin and language when it opens.
    dialogs_ = std::make_unique<QtAssignmentDialogs>(
        window_, [this] { return main_->dialogContext(); },
        IniFile(files_, options.paths.recordIni));
    windowDialogs_ = std::make_unique<QtDialogHost>(window_);
    MainWindowAssembly parts = AssembleMainWindow(
        MainWindowPorts{files_, *messages_, window_, tray_, application_, decoder_, *instance_, *autostart_},
        device_, std::move(options.paths), options.langId,
        {*dialogs_, [this] { return dialogs_->ChooseDelay(); }, *pointer_, *windowDialogs_});
    main_ = std::move(parts.main);
    basicPage_ = std::move(parts.basicPage);
    advancedPage_ = std::move(parts.advancedPage);
    keystrokes_ = std::make_unique<KeystrokeFilter>(*main_, window_);
    relay_.setTarget(*main_);
    window_.setController(main_.get());
    window_.setWindowIcon(QtTray::ApplicationIcon());
    tray_.setMessageWindow(&window_);
    ownLock_ = options.instance == nullptr;
}

Program::~Program() {
    relay_.stop();
    device_.CloseDeviceLink();
}

bool Program::start() {
    const MainWindow::StartResult result =
        main_->Start([this] { OnInterfaceThread([this] { main_->OnDeviceNotices(); }); }, startedBy_);
    if (result == MainWindow::StartResult::CannotDraw) {
        startExitStatus_ = 1;
        return false;
    }
    if (result == MainWindow::StartResult::AlreadyRunning) {
        if (ownLock_ && main_->showsRunningCopy()) {
            // The running copy may have taken the lock a moment ago and not
            // be listening yet.
            constexpr int kPatienceMs = 3000;
            KnockAt(SocketBeside(lock_.path()), kShowWindowKnock, kPatienceMs);
        }
        return false;
    }
    // Without the lock, the folder is no place for a socket of this copy's.
    if (ownLock_ && lock_.held()) {
        ListenForLaterCopies(SocketBeside(lock_.path()));
    }
    if (!main_->inTray()) {
        tray_.watchForArea([this] { main_->OnTrayAppeared(); });
    }
    // A window that starts in the tray holds nothing of its picture until
    // it is first shown.
    main_->OnWindowHidden();
    return true;
}

void Program::ListenForLaterCopies(const std::filesystem::path& socket) {
    if (!later_.listen(socket)) {
        PrintErrorLine("a second launch cannot reach this one: " + later_.error());
        return;
    }
    laterWaiting_ = std::make_unique<QSocketNotifier>(later_.fd(), QSocketNotifier::Read);
    QObject::connect(laterWaiting_.get(), &QSocketNotifier::activated, laterWaiting_.get(), [this] {
        while (const std::optional<int> peer = later_.accept()) {
            HearKnock(*peer);
        }
    });
}

void Program::HearKnock(int peer) {
    new KnockHearing(peer, [this] { main_->OnActivate(); }, &knockers_);
}

std::optional<int> Program::ReadCommandLine(QCommandLineParser& parser, int argc, char** argv,
                                            const QString& version) {
    const std::string command = ThisExecutable().filename().string();
    // Not Qt's help option, whose --help-all would list Qt's options only
    // where an application object with a display exists.
    const QCommandLineOption help({"h", "help"}, "Show this help and end.");
    parser.addOption(help);
    const QCommandLineOption versionOption = parser.addVersionOption();
    // Qt's options are single words after one dash ("-platform xcb").
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    for (const QtOption& qt : kQtOptions) {
        QCommandLineOption option(qt.name, QString(), qt.takesValue ? QStringLiteral("value") : QString());
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
    QStringList arguments;
    for (int i = 0; i < argc; ++i) {
        arguments << QString::fromLocal8Bit(argv[i]);
    }
    const auto wrong = [&](const std::string& error) {
        PrintError(command + ": " + error + "\nTry '" + command + " --help'.\n");
        return 2;
    };
    if (!parser.parse(arguments)) {
        return wrong(parser.errorText().toStdString());
    }
    if (!parser.positionalArguments().isEmpty()) {
        return wrong("unexpected argument '" + parser.positionalArguments().constFirst().toStdString() + "'");
    }
    if (parser.isSet(versionOption)) {
        PrintOutput(command + " " + version.toStdString() + "\n");
        return 0;
    }
    if (parser.isSet(help)) {
        // A plain application object names the program in the usage line; it needs no display.
        QCoreApplication application(argc, argv);
        PrintOutput(parser.helpText().toStdString());
        return 0;
    }
    return std::nullopt;
}

std::unique_ptr<QApplication> Program::OpenDisplay(int& argc, char** argv) {
    std::vector<HeldMessage> held;
    heldMessages = &held;
    const QtMessageHandler qtHandler = qInstallMessageHandler(HoldOrEnd);
    auto application = std::make_unique<QApplication>(argc, argv);
    qInstallMessageHandler(qtHandler);
    heldMessages = nullptr;
    for (const HeldMessage& message : held) {
        const QMessageLogContext context(nullptr, 0, nullptr, message.category);
        if (qtHandler != nullptr) {
            qtHandler(message.type, context, message.text);
        } else {
            PrintError(message.text.toStdString() + "\n");
        }
    }
    QApplication::setQuitOnLastWindowClosed(false);
    return application;
}

int Program::exec() {
    return QCoreApplication::exec();
}

} // namespace quorvel
