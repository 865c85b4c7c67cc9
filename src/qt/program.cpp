#include "qt/program.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLocalSocket>
#include <QMetaObject>
#include <QThread>
#include <cstdlib>
#include <iostream>

#include "qt/qt_assignment_dialogs.h"
#include "system/linux/program_environment.h"

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

// Asks the running copy to show its window. It may have taken the lock a
// moment ago and not be listening yet, so the knock is tried for a while.
void KnockOnRunningCopy(const std::filesystem::path& socketPath) {
    constexpr int kPatienceMs = 3000;
    constexpr int kRetryMs = 50;
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < kPatienceMs) {
        QLocalSocket socket;
        socket.connectToServer(QString::fromStdString(socketPath.string()));
        if (socket.waitForConnected(kRetryMs * 4)) {
            socket.write("show\n");
            socket.waitForBytesWritten(kPatienceMs);
            socket.disconnectFromServer();
            return;
        }
        QThread::msleep(kRetryMs);
    }
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
      pointer_(options.pointer != nullptr ? options.pointer : &keptPointer_), relay_(OnInterfaceThread),
      tray_({[this](int action) { main_->OnTray(static_cast<TrayAction>(action)); },
             [this](int index) { main_->OnTrayMenu(index); }}),
      application_([this] { relay_.stop(); }), device_(hid, clock, relay_) {
    // Made before the main window takes the data paths; each dialog takes the
    // main window's skin and language when it opens.
    dialogs_ = std::make_unique<QtAssignmentDialogs>(
        window_, [this] { return main_->dialogContext(); },
        IniFile(files_, options.paths.recordIni));
    windowDialogs_ = std::make_unique<QtDialogHost>(window_);
    MainWindowAssembly parts = AssembleMainWindow(
        MainWindowPorts{files_, *messages_, window_, tray_, application_, decoder_, *instance_}, device_,
        std::move(options.paths), options.langId,
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
        main_->Start([this] { OnInterfaceThread([this] { main_->OnDeviceNotices(); }); });
    if (result == MainWindow::StartResult::AlreadyRunning) {
        if (ownLock_) {
            KnockOnRunningCopy(SocketBeside(lock_.path()));
        }
        return false;
    }
    if (ownLock_) {
        ListenForLaterCopies(SocketBeside(lock_.path()));
    }
    if (!main_->inTray()) {
        tray_.watchForArea([this] { main_->OnTrayAppeared(); });
    }
    return true;
}

void Program::ListenForLaterCopies(const std::filesystem::path& socket) {
    // This copy holds the lock, so a socket left there is a crashed copy's.
    const QString name = QString::fromStdString(socket.string());
    QLocalServer::removeServer(name);
    later_.setSocketOptions(QLocalServer::UserAccessOption);
    QObject::connect(&later_, &QLocalServer::newConnection, &later_, [this] {
        while (QLocalSocket* knock = later_.nextPendingConnection()) {
            QObject::connect(knock, &QLocalSocket::disconnected, knock, &QObject::deleteLater);
            main_->OnActivate();
        }
    });
    if (!later_.listen(name)) {
        std::cerr << QCoreApplication::applicationName().toStdString()
                  << ": a second launch cannot reach this one: " << later_.errorString().toStdString()
                  << std::endl;
    }
}

std::optional<int> Program::AnswerHelpOrVersion(QCommandLineParser& parser, int argc, char** argv,
                                                const QString& version) {
    parser.addHelpOption();
    parser.addVersionOption();
    bool asked = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        asked = asked || argument == "--help" || argument == "--help-all" || argument == "-h" ||
                argument == "--version" || argument == "-v";
    }
    if (!asked) {
        return std::nullopt;
    }
    // A plain application object: no display is needed to answer.
    QCoreApplication application(argc, argv);
    QCoreApplication::setApplicationVersion(version);
    parser.parse(QCoreApplication::arguments());
    if (parser.isSet("version")) {
        std::cout << QCoreApplication::applicationName().toStdString() << " " << version.toStdString()
                  << std::endl;
    } else {
        std::cout << parser.helpText().toStdString();
    }
    return 0;
}

bool Program::ParseArguments(QCommandLineParser& parser) {
    if (!parser.parse(QCoreApplication::arguments())) {
        std::cerr << QCoreApplication::applicationName().toStdString() << ": "
                  << parser.errorText().toStdString() << "\n"
                  << "Try '" << QCoreApplication::applicationName().toStdString() << " --help'." << std::endl;
        return false;
    }
    if (!parser.positionalArguments().isEmpty()) {
        std::cerr << QCoreApplication::applicationName().toStdString() << ": unexpected argument '"
                  << parser.positionalArguments().constFirst().toStdString() << "'" << std::endl;
        return false;
    }
    return true;
}

int Program::exec() {
    return QCoreApplication::exec();
}

} // namespace quorvel
