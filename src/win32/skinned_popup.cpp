#include "win32/skinned_popup.h"

#include <windowsx.h>

#include <cmath>
#include <string>

#include "ports/message_port.h"
#include "system/windows/wide_text.h"

namespace quorvel {

namespace {

HWND CreatePopup(const PopupKind& kind) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.style = kind.classStyle;
    windowClass.lpfnWndProc = DefWindowProcW; // replaced once the window knows its object
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    windowClass.lpszClassName = kind.className;
    RegisterClassExW(&windowClass); // fails harmlessly when an earlier window registered it
    const std::wstring title = WideFromUtf8(kApplicationTitle);
    return CreateWindowExW(kind.exStyle, kind.className, title.c_str(),
                           WS_POPUP | WS_CLIPCHILDREN | kind.style, 0, 0, 0, 0, kind.owner, nullptr,
                           GetModuleHandleW(nullptr), nullptr);
}

} // namespace

std::optional<Colour> HighContrastHighlight() {
    HIGHCONTRASTW contrast{};
    contrast.cbSize = sizeof(contrast);
    if (SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof(contrast), &contrast, 0) == FALSE ||
        (contrast.dwFlags & HCF_HIGHCONTRASTON) == 0) {
        return std::nullopt;
    }
    const COLORREF highlight = GetSysColor(COLOR_HIGHLIGHT);
    return Colour{GetRValue(highlight), GetGValue(highlight), GetBValue(highlight)};
}

bool ChangesHighContrast(UINT message, WPARAM wParam) {
    return message == WM_SYSCOLORCHANGE || (message == WM_SETTINGCHANGE && wParam == SPI_SETHIGHCONTRAST);
}

SkinnedPopup::SkinnedPopup(const PopupKind& kind)
    : window_(CreatePopup(kind)), picture_(kind.blank),
      controls_(window_, [this](const ControlEvent& event) { OnControlEvent(event); }),
      accessibility_(window_, [this] { return controls_.ratio(); }) {
    SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    SetWindowLongPtrW(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Procedure));
    picture_.setWindow(window_);
    controls_.setRatio(DpiRatio(kind.owner != nullptr ? kind.owner : window_));
}

SkinnedPopup::~SkinnedPopup() {
    // The object is going: the window's last messages get the system's handling.
    SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
    DestroyWindow(window_);
}

Point SkinnedPopup::LayoutPoint(LPARAM lParam) const {
    const double ratio = controls_.ratio();
    return {static_cast<int>(std::floor(GET_X_LPARAM(lParam) / ratio)),
            static_cast<int>(std::floor(GET_Y_LPARAM(lParam) / ratio))};
}

bool SkinnedPopup::editHasFocus() const {
    const std::optional<int> id = controls_.idOf(GetFocus());
    return id && controls_.isEdit(*id);
}

void SkinnedPopup::followFocus(int id) {
    HWND child = controls_.handle(id);
    HWND target = child != nullptr ? child : window_;
    if (GetFocus() != target) {
        SetFocus(target);
    }
}

LRESULT CALLBACK SkinnedPopup::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<SkinnedPopup*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    return self != nullptr ? self->Handle(message, wParam, lParam)
                           : DefWindowProcW(window, message, wParam, lParam);
}

LRESULT SkinnedPopup::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    if (const std::optional<LRESULT> result = accessibility_.OnMessage(message, wParam, lParam)) {
        return *result;
    }
    if (const std::optional<LRESULT> result = controls_.handleMessage(message, wParam, lParam)) {
        return *result;
    }
    if (const std::optional<LRESULT> result = OnMessage(message, wParam, lParam)) {
        return *result;
    }
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window_, &paint);
        picture_.paintOnto(dc);
        EndPaint(window_, &paint);
        return 0;
    }
    case WM_ERASEBKGND:
        return 1; // the picture covers everything
    case WM_LBUTTONDOWN:
        LeftButtonDown(LayoutPoint(lParam));
        return 0;
    case WM_MOUSEMOVE:
        if (!tracking_) {
            TRACKMOUSEEVENT track{sizeof(TRACKMOUSEEVENT), TME_LEAVE, window_, 0};
            tracking_ = TrackMouseEvent(&track) != FALSE;
        }
        MouseMove(LayoutPoint(lParam));
        return 0;
    case WM_MOUSELEAVE:
        tracking_ = false;
        // Nothing is under the pointer any more: the hover pictures go.
        MouseMove({-1, -1});
        return 0;
    default:
        return DefWindowProcW(window_, message, wParam, lParam);
    }
}

} // namespace quorvel
