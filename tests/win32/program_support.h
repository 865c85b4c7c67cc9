#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <cmath>
#include <filesystem>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "app/factory_settings.h"
#include "hid/sim/simulated_mouse.h"
#include "support/memory_file_system.h"
#include "support/recording_ui.h"
#include "system/windows/windows_file_system.h"
#include "win32/program.h"

namespace quorvel::testing {

// Runs the thread's messages until `done` holds or the time is up.
inline bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 5000) {
    const ULONGLONG end = ::GetTickCount64() + timeoutMs;
    MSG message{};
    while (!done()) {
        if (::GetTickCount64() > end) {
            return false;
        }
        while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE) != FALSE) {
            ::TranslateMessage(&message);
            ::DispatchMessageW(&message);
        }
        ::Sleep(5);
    }
    return true;
}

// A data folder of its own for a test: the factory files and the skins, as
// an unpacked copy has them.
struct ProgramDataFolder {
    std::filesystem::path folder;

    ProgramDataFolder() {
        folder = std::filesystem::temp_directory_path() /
                 ("quorvel-program-" + std::to_string(::GetCurrentProcessId()) + "-" +
                  std::to_string(::GetTickCount64()));
        std::filesystem::create_directories(folder);
        std::filesystem::copy(std::filesystem::path(QUORVEL_SOURCE_DIR) / "res/skins", folder / "Skins",
                              std::filesystem::copy_options::recursive);
        write("config.bin", FactoryConfigBin());
        write("str.ini", FactoryStrIni());
    }
    ~ProgramDataFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }
    void write(const std::string& name, const std::string& text) const {
        WindowsFileSystem().writeAtomically(
            folder / name, std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
    }
};

// Acts as the user does, one step at a time from a timer, so that it goes on
// inside the modal loops the steps open (dialogs, menus). A step answers
// false to be tried again at the next tick. Whatever is left when the test
// ends is dropped.
class UserScript {
public:
    using Step = std::function<bool()>;
    explicit UserScript(std::vector<Step> steps, UINT tickMs = 30) : steps_(std::move(steps)) {
        current() = this;
        timer_ = ::SetTimer(nullptr, 0, tickMs, &UserScript::Tick);
    }
    ~UserScript() {
        ::KillTimer(nullptr, timer_);
        current() = nullptr;
    }
    UserScript(const UserScript&) = delete;
    UserScript& operator=(const UserScript&) = delete;
    bool finished() const { return next_ == steps_.size(); }
    std::size_t stepsDone() const { return next_; }

private:
    static UserScript*& current() {
        static UserScript* script = nullptr;
        return script;
    }
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
        UserScript* script = current();
        if (script == nullptr || script->running_ || script->finished()) {
            return;
        }
        // A step may open a modal loop of its own, in which this timer ticks on.
        script->running_ = true;
        const std::size_t step = script->next_;
        if (script->steps_[step]()) {
            ++script->next_;
        }
        script->running_ = false;
    }

    std::vector<Step> steps_;
    std::size_t next_ = 0;
    bool running_ = false;
    UINT_PTR timer_ = 0;
};

// A point of a window in device pixels: just inside the rectangle's top-left corner.
inline LPARAM Inside(const Rect& rect, double ratio = 1.0) {
    return MAKELPARAM(std::lround((rect.left + 2) * ratio), std::lround((rect.top + 2) * ratio));
}

// A click of the left button, as the window's messages carry it.
inline void PostClick(HWND window, LPARAM at) {
    ::PostMessageW(window, WM_MOUSEMOVE, 0, at);
    ::PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, at);
    ::PostMessageW(window, WM_LBUTTONUP, 0, at);
}

// A click on entry `index` of a list box, scrolled into view first.
inline void PostClickOnEntry(HWND list, int index) {
    ::SendMessageW(list, LB_SETTOPINDEX, index, 0);
    RECT item{};
    ::SendMessageW(list, LB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&item));
    PostClick(list, MAKELPARAM((item.left + item.right) / 2, (item.top + item.bottom) / 2));
}

// A key pressed and released, by its scan code, as the keyboard sends it to
// the window with the focus.
inline void PostKey(HWND window, UINT virtualKey, int scanCode) {
    const LPARAM down = 1 | (static_cast<LPARAM>(scanCode) << 16);
    ::PostMessageW(window, WM_KEYDOWN, virtualKey, down);
    ::PostMessageW(window, WM_KEYUP, virtualKey, down | (LPARAM{1} << 30) | (LPARAM{1} << 31));
}

// The sub-dialog in front, while one is shown.
inline HWND ShownDialog() {
    HWND dialog = ::FindWindowW(L"QuorvelDialog", nullptr);
    return dialog != nullptr && ::IsWindowVisible(dialog) != FALSE ? dialog : nullptr;
}

// The whole program on the simulated mouse, as a portable copy in a folder
// of its own, its window opened from the tray icon.
struct ProgramOnSimulatedMouse : ::testing::Test {
    ProgramDataFolder data;
    SimulatedMouse mouse;
    RecordingMessages messages;
    FakeInstance instance;
    PointerSettingsPort* pointer = nullptr; // nullptr: the program keeps them to itself
    std::uint16_t langId = 0x409;           // the system's language
    std::unique_ptr<Win32Program> program;

    void SetUp() override {
        Win32Program::Options options;
        options.paths = DataPathsIn(data.folder, data.folder / "quorvel.exe");
        options.messages = &messages;
        options.instance = &instance;
        options.pointer = pointer;
        options.langId = langId;
        program = std::make_unique<Win32Program>(mouse, mouse.clock(), std::move(options));
        ASSERT_TRUE(program->start());
        ::PostMessageW(program->tray().handle(), Win32Tray::kIconMessage, 1, WM_LBUTTONUP);
        ASSERT_TRUE(PumpUntil([this] { return program->window().visible(); }));
    }
    void TearDown() override {
        program.reset();
        // A WM_QUIT the program left is no business of the next test.
        MSG message{};
        while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE) != FALSE) {
        }
    }
    double ratio() { return program->window().ratio(); }
    void click(const Rect& rect) { PostClick(program->window().handle(), Inside(rect, ratio())); }
};

} // namespace quorvel::testing
