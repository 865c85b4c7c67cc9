#include "qt/program.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <cstdlib>

#include "qt/qt_assignment_dialogs.h"

namespace quorvel {

namespace {

void OnInterfaceThread(std::function<void()> task) {
    QMetaObject::invokeMethod(QCoreApplication::instance(), std::move(task), Qt::QueuedConnection);
}

std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    return value == nullptr ? std::string() : std::string(value);
}

} // namespace

DataPaths Program::DefaultDataPaths(LocalFileSystem& files) {
    DataFolderEnvironment environment;
    environment.program = QCoreApplication::applicationFilePath().toStdString();
    environment.xdgConfigHome = Environment("XDG_CONFIG_HOME");
    environment.home = Environment("HOME");
    DataPaths paths = ResolveDataPaths(environment, files);
    if (!paths.portable) {
        std::error_code ignored;
        std::filesystem::create_directories(paths.folder, ignored);
        SeedDataFolder(files, paths);
    }
    return paths;
}

Program::Program(HidPort& hid, Clock& clock, Options options)
    : messages_(options.messages != nullptr ? options.messages : &qtMessages_),
      instance_(options.instance != nullptr ? options.instance : &lock_),
      relay_(OnInterfaceThread),
      tray_([this](int action) { main_->OnTray(static_cast<TrayAction>(action)); }),
      application_([this] { relay_.stop(); }),
      device_(hid, clock, relay_) {
    // Made before the main window takes the data paths; each dialog takes the
    // main window's skin and language when it opens.
    dialogs_ = std::make_unique<QtAssignmentDialogs>(
        window_, [this, langId = options.langId] { return DialogContextOf(*main_, langId); },
        IniFile(files_, options.paths.recordIni));
    main_ = std::make_unique<MainWindow>(
        MainWindowPorts{files_, *messages_, window_, tray_, application_, decoder_, *instance_}, device_,
        std::move(options.paths), options.langId);
    basicPage_ = std::make_unique<BasicPage>(*main_, assignmentDialogs());
    main_->setPages(basicPage_.get(), nullptr);
    relay_.setTarget(*main_);
    window_.setController(main_.get());
    window_.setWindowIcon(QtTray::ApplicationIcon());
}

Program::~Program() {
    relay_.stop();
    device_.CloseDeviceLink();
}

bool Program::start() {
    return main_->Start([this] { OnInterfaceThread([this] { main_->OnDeviceNotices(); }); }) ==
           MainWindow::StartResult::Running;
}

int Program::exec() { return QCoreApplication::exec(); }

} // namespace quorvel
