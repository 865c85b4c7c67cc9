#include "demo_panel.h"

#include <span>
#include <utility>
#include <vector>

#include "system/windows/wide_text.h"
#include "ui/side_by_side.h"
#include "win32/program.h"

namespace quorvel {

namespace {

constexpr const wchar_t* kClassName = L"QRVL_DemoPanel";

struct MouseEvent {
    const wchar_t* label;
    Byte code;
    Byte value;
};

constexpr MouseEvent kReportRates[] = {
    {L"1000 Hz", 5, 1}, {L"500 Hz", 5, 2}, {L"250 Hz", 5, 4}, {L"125 Hz", 5, 8}};
constexpr MouseEvent kDpiStages[] = {
    {L"Stage 1", 7, 1}, {L"Stage 2", 7, 2}, {L"Stage 3", 7, 3}, {L"Stage 4", 7, 4}};
constexpr MouseEvent kKeyMatrices[] = {{L"Key matrix 1", 8, 1}, {L"Key matrix 2", 8, 2}};
constexpr MouseEvent kMacroModes[] = {{L"Macro key", 9, 1}};

struct Group {
    const wchar_t* title;
    std::span<const MouseEvent> events;
};
constexpr Group kGroups[] = {{L"Report rate button", kReportRates},
                             {L"DPI button", kDpiStages},
                             {L"Key configuration button", kKeyMatrices},
                             {L"Macro button", kMacroModes}};

// Button ids: the mouse's events from 100 on, in the order of kGroups.
constexpr int kFirstEvent = 100;
constexpr int kUnplug = 1;
constexpr int kPlugIn = 2;
constexpr int kOpenWindow = 3;

// Layout, in pixels at 96 DPI, scaled to the screen's as its font is. Two
// buttons a row keep the panel narrow enough to stand beside the settings
// window on a screen 1280 pixels wide.
constexpr int kMargin = 10;
constexpr int kButtonWidth = 96;
constexpr int kButtonHeight = 26;
constexpr int kButtonGap = 6;
constexpr int kButtonsPerRow = 2;
constexpr int kGroupTitle = 22; // from the group box's top to its first row
constexpr int kGroupWidth = kButtonsPerRow * (kButtonWidth + kButtonGap) + 2 * kMargin;

int RowsOf(std::size_t buttons) {
    return static_cast<int>((buttons + kButtonsPerRow - 1) / kButtonsPerRow);
}
int GroupHeight(std::size_t buttons) {
    return kGroupTitle + RowsOf(buttons) * (kButtonHeight + kButtonGap) + kMargin;
}

const MouseEvent* EventOf(int id) {
    int index = id - kFirstEvent;
    for (const Group& group : kGroups) {
        if (index >= 0 && index < static_cast<int>(group.events.size())) {
            return &group.events[index];
        }
        index -= static_cast<int>(group.events.size());
    }
    return nullptr;
}

} // namespace

DemoPanel::DemoPanel(SimulatedMouse& mouse, Win32Program& program) : mouse_(mouse), program_(program) {
    const HINSTANCE instance = ::GetModuleHandleW(nullptr);
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = &DemoPanel::Procedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = ::LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = kClassName;
    ::RegisterClassExW(&windowClass);

    // The message font below is the system's, at the system's DPI.
    HDC screen = ::GetDC(nullptr);
    const int dpi = ::GetDeviceCaps(screen, LOGPIXELSY);
    ::ReleaseDC(nullptr, screen);
    const auto px = [dpi](int pixels) { return ::MulDiv(pixels, dpi, 96); };

    int height = kButtonHeight + 2 * kMargin; // the button that opens the window
    for (const Group& group : kGroups) {
        height += GroupHeight(group.events.size()) + kMargin;
    }
    height += GroupHeight(2) + kMargin; // the cable
    RECT client{0, 0, px(kGroupWidth + 2 * kMargin), px(height)};
    constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
    ::AdjustWindowRectEx(&client, kStyle, FALSE, 0);
    window_ = ::CreateWindowExW(0, kClassName, L"Quorvel demo mouse", kStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                                client.right - client.left, client.bottom - client.top, nullptr, nullptr,
                                instance, this);

    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    ::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
    font_.reset(::CreateFontIndirectW(&metrics.lfMessageFont));
    // `at` in pixels at 96 DPI.
    const auto add = [&](const wchar_t* className, const wchar_t* text, DWORD style, int id, RECT at) {
        HWND child =
            ::CreateWindowExW(0, className, text, WS_CHILD | WS_VISIBLE | style, px(at.left), px(at.top),
                              px(at.right) - px(at.left), px(at.bottom) - px(at.top), window_,
                              reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
        ::SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), TRUE);
    };
    int top = kMargin;
    const auto addGroup = [&](const wchar_t* title, std::span<const std::pair<const wchar_t*, int>> buttons) {
        add(L"BUTTON", title, BS_GROUPBOX, 0,
            {kMargin, top, kMargin + kGroupWidth, top + GroupHeight(buttons.size())});
        for (std::size_t i = 0; i < buttons.size(); ++i) {
            const int left = 2 * kMargin + static_cast<int>(i % kButtonsPerRow) * (kButtonWidth + kButtonGap);
            const int row =
                top + kGroupTitle + static_cast<int>(i / kButtonsPerRow) * (kButtonHeight + kButtonGap);
            add(L"BUTTON", buttons[i].first, BS_PUSHBUTTON, buttons[i].second,
                {left, row, left + kButtonWidth, row + kButtonHeight});
        }
        top += GroupHeight(buttons.size()) + kMargin;
    };
    int id = kFirstEvent;
    for (const Group& group : kGroups) {
        std::vector<std::pair<const wchar_t*, int>> buttons;
        for (const MouseEvent& event : group.events) {
            buttons.emplace_back(event.label, id++);
        }
        addGroup(group.title, buttons);
    }
    const std::pair<const wchar_t*, int> cable[] = {{L"Unplug", kUnplug}, {L"Plug in", kPlugIn}};
    addGroup(L"Cable", cable);
    add(L"BUTTON", L"Open the settings window", BS_PUSHBUTTON, kOpenWindow,
        {kMargin, top, kMargin + kGroupWidth, top + kButtonHeight});
}

DemoPanel::~DemoPanel() {
    ::SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
    ::DestroyWindow(window_);
}

void DemoPanel::showBeside(HWND settings) {
    RECT work{};
    RECT own{};
    RECT other{};
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    ::GetWindowRect(window_, &own);
    ::GetWindowRect(settings, &other);
    HDC screen = ::GetDC(nullptr);
    const int gap = ::MulDiv(16, ::GetDeviceCaps(screen, LOGPIXELSY), 96);
    ::ReleaseDC(nullptr, screen);
    const SideBySide placed =
        PlaceSideBySide({other.left, other.top, other.right, other.bottom}, own.right - own.left,
                        own.bottom - own.top, {work.left, work.top, work.right, work.bottom}, gap);
    ::SetWindowPos(settings, nullptr, placed.window.x, placed.window.y, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ::SetWindowPos(window_, nullptr, placed.companion.x, placed.companion.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    ::ShowWindow(window_, SW_SHOWNOACTIVATE);
}

void DemoPanel::onCommand(int id) {
    if (const MouseEvent* event = EventOf(id)) {
        mouse_.sendEvent(event->code, event->value);
        return;
    }
    switch (id) {
    case kUnplug:
        mouse_.unplug();
        break;
    case kPlugIn:
        mouse_.plugIn();
        break;
    case kOpenWindow:
        program_.controller().OnTray(TrayAction::LeftUp);
        break;
    default:
        break;
    }
}

LRESULT CALLBACK DemoPanel::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* panel = reinterpret_cast<DemoPanel*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    if (panel != nullptr && message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
        panel->onCommand(LOWORD(wParam));
        return 0;
    }
    if (message == WM_CLOSE) {
        // The panel goes with the program: closing it only hides it.
        ::ShowWindow(window, SW_HIDE);
        return 0;
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

} // namespace quorvel
