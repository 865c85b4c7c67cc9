// The Quorvel program for Windows wired to a simulated mouse, with a panel
// that works the mouse's own buttons. `--screenshot FILE` shows the settings
// window, saves a picture of it and ends; `--open-row N` and `--open-list
// NAME` first open a drop-down list of the Basic page, as a click would;
// `--page advanced` shows the Advanced page first. The system's pointer
// settings stay untouched unless QUORVEL_POINTER=windows is set.
#include <windows.h>

#include <commctrl.h>

#include <cstdlib>
#include <cstring>
#include <iostream>
#include <memory>

#include "app/basic_page_layout.h"
#include "assign/function_list.h"
#include "demo_panel.h"
#include "hid/trace/tracing_hid_port.h"
#include "quorvel_version.h"
#include "system/windows/system_info.h"
#include "system/windows/waitable_timer_clock.h"
#include "system/windows/windows_file_system.h"
#include "system/windows/windows_pointer_settings.h"
#include "win32/program.h"
#include "win32/program_options.h"

namespace {

// Its own lock and window class: the demo runs beside the program.
constexpr const wchar_t* kDemoMutex = L"QRVL-Demo-Mutex";
constexpr const wchar_t* kDemoWindowClass = L"QRVL_GamingMouseDemoClass";
constexpr DWORD kSettleMs = 300; // for the window to show and draw before the picture

quorvel::Point Inside(const quorvel::Rect& rect) {
    return {rect.left + 2, rect.top + 2};
}

// Takes the thread's messages for a while.
void TakeMessagesFor(DWORD milliseconds) {
    const ULONGLONG end = ::GetTickCount64() + milliseconds;
    MSG message{};
    while (::GetTickCount64() < end) {
        while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE) != FALSE) {
            ::TranslateMessage(&message);
            ::DispatchMessageW(&message);
        }
        ::Sleep(10);
    }
}

// Rests the pointer on the "DPI Switch" entry of row `row`'s open list, so
// that the DPI sub-list opens beside it.
void PointAtDpiSwitch(quorvel::Win32Program& program, int row) {
    HWND list = program.window().control(quorvel::kBasicPage.rowList(row).id);
    if (list == nullptr) {
        return;
    }
    RECT item{};
    ::SendMessageW(list, LB_GETITEMRECT, quorvel::kFnDpiSwitch, reinterpret_cast<LPARAM>(&item));
    ::SendMessageW(list, WM_MOUSEMOVE, 0,
                   MAKELPARAM((item.left + item.right) / 2, (item.top + item.bottom) / 2));
}

// Clicks the box of the lighting list or stage chooser `name`.
void OpenList(quorvel::Win32Program& program, const std::string& name) {
    const quorvel::BasicPageLayout& b = quorvel::kBasicPage;
    const quorvel::Rect box = name == "mode"        ? b.lightingModeField
                              : name == "parameter" ? b.lightingParameterField
                                                    : b.dpiStageChooser;
    program.controller().OnLeftButtonDown(Inside(box));
}

// The window as it shows: its picture, with the child controls (the open
// lists) drawn over it where they stand.
bool SaveWindowPicture(quorvel::Win32Window& window, const std::filesystem::path& file) {
    const quorvel::DibPicture& picture = window.picture();
    const int width = picture.pixelWidth();
    const int height = picture.pixelHeight();
    quorvel::SkinImage image{width, height, false,
                             std::vector<std::uint32_t>(picture.pixels(), picture.pixels() + width * height)};
    HDC screen = ::GetDC(nullptr);
    HDC dc = ::CreateCompatibleDC(screen);
    ::ReleaseDC(nullptr, screen);
    for (HWND child = ::GetWindow(window.handle(), GW_CHILD); child != nullptr;
         child = ::GetWindow(child, GW_HWNDNEXT)) {
        RECT area{};
        if (::IsWindowVisible(child) == FALSE || ::GetWindowRect(child, &area) == FALSE) {
            continue;
        }
        ::MapWindowPoints(nullptr, window.handle(), reinterpret_cast<POINT*>(&area), 2);
        const int w = area.right - area.left;
        const int h = area.bottom - area.top;
        BITMAPINFO info{};
        info.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        void* bits = nullptr;
        HBITMAP bitmap = ::CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        if (bitmap == nullptr) {
            continue;
        }
        const HGDIOBJ before = ::SelectObject(dc, bitmap);
        ::PrintWindow(child, dc, 0);
        ::GdiFlush();
        const auto* pixels = static_cast<const std::uint32_t*>(bits);
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                const int tx = area.left + x;
                const int ty = area.top + y;
                if (tx >= 0 && ty >= 0 && tx < width && ty < height) {
                    image.pixels[static_cast<std::size_t>(ty) * width + tx] = pixels[y * w + x] | 0xFF000000u;
                }
            }
        }
        ::SelectObject(dc, before);
        ::DeleteObject(bitmap);
    }
    ::DeleteDC(dc);
    // At device pixels, one to one.
    quorvel::DibPicture shot(quorvel::Colour{});
    shot.resize(width, height, 1.0);
    shot.drawImage(image, {0, 0});
    return quorvel::SavePng(shot, file);
}

} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    const auto parsed = quorvel::ParseProgramOptions(quorvel::CommandLineArguments(), /*demo=*/true);
    if (const auto done =
            quorvel::AnswerCommandLine(parsed, "quorvel-demo", /*demo=*/true, QUORVEL_VERSION)) {
        return *done;
    }
    const quorvel::ProgramOptions& command = std::get<quorvel::ProgramOptions>(parsed);
    const bool screenshot = !command.screenshot.empty();
    const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX),
                                        ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&controls);

    quorvel::SimulatedMouse mouse;
    quorvel::WaitableTimerClock realClock;
    mouse.sleepThrough(&realClock);
    quorvel::WindowsFileSystem files;
    quorvel::Win32Program::Options options;
    options.paths = quorvel::Win32Program::DefaultDataPaths(files, /*demo=*/true);
    options.langId = quorvel::SystemDefaultLangId();
    options.mutexName = kDemoMutex;
    options.windowClass = kDemoWindowClass;
    // No one answers a message box during a screenshot: messages go to
    // standard error. A picture run writes nothing of the running demo's, so
    // it may be taken beside one.
    quorvel::ConsoleMessages console;
    quorvel::NoSingleInstance beside;
    if (screenshot) {
        options.messages = &console;
        options.instance = &beside;
    }
    const char* pointerChoice = std::getenv("QUORVEL_POINTER");
    quorvel::WindowsPointerSettings systemPointer;
    quorvel::KeptPointerSettings keptPointer;
    options.pointer = pointerChoice != nullptr && std::strcmp(pointerChoice, "windows") == 0
                          ? static_cast<quorvel::PointerSettingsPort*>(&systemPointer)
                          : &keptPointer;

    // QUORVEL_TRACE=1: every transfer with the simulated mouse on standard error.
    quorvel::TracedWhenAsked ports(mouse, mouse.clock(), quorvel::TraceAskedFor() ? &std::cerr : nullptr);
    quorvel::Win32Program program(ports.hid(), ports.clock(), std::move(options));
    if (!program.start()) {
        // 0: another demo runs and shows its window; 1: the window cannot be drawn
        return program.startExitStatus();
    }
    if (command.advancedPage) {
        program.controller().DrawAdvancedPage();
    }
    if (screenshot) {
        program.controller().OnTray(quorvel::TrayAction::LeftUp);
        // A click elsewhere closes the lists of rows 1 to 6, so the row comes first.
        if (command.openRow != 0) {
            program.controller().OnLeftButtonDown(Inside(quorvel::kBasicPage.rowBox(command.openRow)));
        }
        if (!command.openList.empty()) {
            OpenList(program, command.openList);
        }
        TakeMessagesFor(kSettleMs);
        // Wherever the real pointer rests, the picture shows no control
        // under it, only the list entry pointed at here.
        program.controller().OnMouseMove({-1, -1});
        if (command.openRow != 0) {
            PointAtDpiSwitch(program, command.openRow);
            TakeMessagesFor(kSettleMs / 3);
        }
        const bool saved = SaveWindowPicture(program.window(), command.screenshot);
        if (!saved) {
            std::cerr << "quorvel-demo: cannot save " << quorvel::Utf8FromPath(command.screenshot) << "\n";
        }
        program.controller().Exit();
        const int code = program.exec();
        return saved ? code : 1;
    }
    quorvel::DemoPanel panel(mouse, program);
    // Beside the settings window, so that neither hides the other.
    panel.showBeside(program.window().handle());
    return program.exec();
}
