#include "win32/program.h"

#include "system/windows/program_environment.h"

namespace quorvel {

namespace {

// The running copy's main window: of the class, in another process.
HWND FindRunningCopy(const std::wstring& windowClass) {
    const DWORD self = ::GetCurrentProcessId();
    HWND window = nullptr;
    while ((window = ::FindWindowExW(nullptr, window, windowClass.c_str(), nullptr)) != nullptr) {
        DWORD process = 0;
        ::GetWindowThreadProcessId(window, &process);
        if (process != self) {
            return window;
        }
    }
    return nullptr;
}

// Asks the running copy to show its window. It may have taken the mutex a
// moment ago and not have its window yet, so the knock is tried for a while.
void KnockOnRunningCopy(const std::wstring& windowClass) {
    constexpr ULONGLONG kPatienceMs = 3000;
    constexpr DWORD kRetryMs = 50;
    const ULONGLONG end = ::GetTickCount64() + kPatienceMs;
    do {
        if (HWND running = FindRunningCopy(windowClass)) {
            DWORD process = 0;
            ::GetWindowThreadProcessId(running, &process);
            // The running copy may bring its window to the front: this start
            // is the user's own action.
            ::AllowSetForegroundWindow(process);
            ::PostMessageW(running, Win32Program::ActivateMessage(), 0, 0);
            return;
        }
        ::Sleep(kRetryMs);
    } while (::GetTickCount64() < end);
}

} // namespace

DataPaths Win32Program::DefaultDataPaths(FileSystem& files, bool demo) {
    DataPaths paths = ProgramDataPaths(ThisProgramEnvironment(), files, demo);
    if (!paths.portable) {
        std::error_code ignored;
        std::filesystem::create_directories(paths.folder, ignored);
    }
    return paths;
}

UINT Win32Program::ActivateMessage() {
    static const UINT message = ::RegisterWindowMessageW(L"QRVL_ShowWindow");
    return message;
}

Win32Program::Win32Program(HidPort& hid, Clock& clock, Options options)
    : mutex_(options.mutexName), messages_(options.messages != nullptr ? options.messages : &boxes_),
      instance_(options.instance != nullptr ? options.instance : &mutex_),
      pointer_(options.pointer != nullptr ? options.pointer : &keptPointer_),
      autostart_(options.autostart != nullptr ? options.autostart : &keptAutostart_),
      startedBy_(options.startedBy), windowClass_(std::move(options.windowClass)),
      window_(windowClass_.c_str()), relay_(interface_.poster()),
      tray_({[this](int action) { main_->OnTray(static_cast<TrayAction>(action)); },
             [this](int id) { main_->OnTrayMenu(id); }}),
      application_([this] { relay_.stop(); }), device_(hid, clock, relay_) {
    boxes_.setOwner(window_.handle());
    // Made before the main window takes the data paths; each dialog takes the
    // main window's skin and language when it opens.
    dialogs_ = std::make_unique<Win32AssignmentDialogs>(
        window_.handle(), [this] { return main_->dialogContext(); },
        IniFile(files_, options.paths.recordIni));
    windowDialogs_ = std::make_unique<Win32DialogHost>(window_.handle());
    MainWindowAssembly parts = AssembleMainWindow(
        MainWindowPorts{files_, *messages_, window_, tray_, application_, decoder_, *instance_, *autostart_},
        device_, std::move(options.paths), options.langId,
        {*dialogs_, [this] { return dialogs_->ChooseDelay(); }, *pointer_, *windowDialogs_});
    main_ = std::move(parts.main);
    basicPage_ = std::move(parts.basicPage);
    advancedPage_ = std::move(parts.advancedPage);
    keystrokes_ = std::make_unique<KeystrokeHook>(*main_, window_);
    relay_.setTarget(*main_);
    window_.setController(main_.get());
    window_.setIcon(Win32Tray::ApplicationIcon(::GetSystemMetrics(SM_CXICON)),
                    Win32Tray::ApplicationIcon(::GetSystemMetrics(SM_CXSMICON)));
    window_.setMessageHandler([this](UINT message, WPARAM wParam, LPARAM lParam) {
        return onWindowMessage(message, wParam, lParam);
    });
    tray_.setMessageWindow(window_.handle());
    ownLock_ = options.instance == nullptr;
}

Win32Program::~Win32Program() {
    relay_.stop();
    device_.CloseDeviceLink();
    window_.setMessageHandler(nullptr);
    window_.setController(nullptr);
}

std::optional<LRESULT> Win32Program::onWindowMessage(UINT message, WPARAM, LPARAM) {
    if (message == ActivateMessage()) {
        main_->OnActivate();
        return 0;
    }
    return std::nullopt;
}

bool Win32Program::start() {
    const MainWindow::StartResult result = main_->Start(
        [post = interface_.poster(), this] { post([this] { main_->OnDeviceNotices(); }); }, startedBy_);
    if (result == MainWindow::StartResult::CannotDraw) {
        startExitStatus_ = 1;
        return false;
    }
    if (result == MainWindow::StartResult::AlreadyRunning) {
        if (ownLock_ && main_->showsRunningCopy()) {
            KnockOnRunningCopy(windowClass_);
        }
        return false;
    }
    if (!main_->inTray()) {
        tray_.watchForArea([this] { main_->OnTrayAppeared(); });
    }
    return true;
}

int Win32Program::exec() {
    return RunUntilQuit();
}

} // namespace quorvel
