#include "win32/win32_window.h"

#include <windowsx.h>

#include <cmath>

#include "ports/message_port.h"
#include "system/windows/wide_text.h"
#include "win32/dialog_window.h"

namespace quorvel {

namespace {

constexpr Colour kBlank{0, 0, 0};

HWND CreateMainWindow(const wchar_t* className) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.style = CS_DBLCLKS;
    windowClass.lpfnWndProc = DefWindowProcW; // replaced once the window knows its object
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    windowClass.lpszClassName = className;
    RegisterClassExW(&windowClass); // fails harmlessly when the class is there from an earlier window
    const std::wstring title = WideFromUtf8(kApplicationTitle);
    // In the tray, the window has no taskbar entry: a tool window.
    return CreateWindowExW(WS_EX_TOOLWINDOW, className, title.c_str(),
                           WS_POPUP | WS_CLIPCHILDREN | WS_MINIMIZEBOX | WS_SYSMENU, 0, 0, 0, 0, nullptr,
                           nullptr, GetModuleHandleW(nullptr), nullptr);
}

} // namespace

Win32Window::Win32Window(const wchar_t* className)
    : window_(CreateMainWindow(className)), picture_(kBlank),
      controls_(window_, [this](const ControlEvent& event) { OnControlEvent(event); }) {
    SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    SetWindowLongPtrW(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Procedure));
    picture_.setWindow(window_);
    controls_.setRatio(DpiRatio(window_));
}

Win32Window::~Win32Window() {
    SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
    DestroyWindow(window_);
}

void Win32Window::setIcon(HICON big, HICON small) {
    SendMessageW(window_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big));
    SendMessageW(window_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small));
}

void Win32Window::setFonts(const FontSpec& text, const FontSpec& title) {
    picture_.setFonts(text, title);
    controls_.setFont(text);
}

void Win32Window::setClientSize(int width, int height) {
    const bool first = width_ == 0;
    width_ = width;
    height_ = height;
    const double ratio = DpiRatio(window_);
    picture_.resize(width, height, ratio);
    controls_.setRatio(ratio);
    const int w = picture_.pixelWidth();
    const int h = picture_.pixelHeight();
    if (first) {
        // The first size places the window in the middle of the screen.
        RECT work{};
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
        SetWindowPos(window_, nullptr, work.left + std::max((work.right - work.left - w) / 2, 0L),
                     work.top + std::max((work.bottom - work.top - h) / 2, 0L), w, h,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    } else {
        SetWindowPos(window_, nullptr, 0, 0, w, h, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void Win32Window::show() {
    // A minimised window comes back as it was.
    ShowWindow(window_, IsIconic(window_) ? SW_RESTORE : SW_SHOW);
    BringWindowToTop(window_);
    SetForegroundWindow(window_);
}

void Win32Window::hide() {
    ShowWindow(window_, SW_HIDE);
}

void Win32Window::minimise() {
    ShowWindow(window_, SW_MINIMIZE);
}

bool Win32Window::visible() const {
    return IsWindowVisible(window_) != FALSE;
}

void Win32Window::setTaskbarEntry(bool shown) {
    // The taskbar looks at the kind of window when it is shown.
    const bool wasVisible = visible();
    if (wasVisible) {
        ShowWindow(window_, SW_HIDE);
    }
    LONG_PTR style = GetWindowLongPtrW(window_, GWL_EXSTYLE);
    style =
        shown ? (style & ~WS_EX_TOOLWINDOW) | WS_EX_APPWINDOW : (style & ~WS_EX_APPWINDOW) | WS_EX_TOOLWINDOW;
    SetWindowLongPtrW(window_, GWL_EXSTYLE, style);
    SetWindowPos(window_, nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    if (wasVisible) {
        ShowWindow(window_, SW_SHOW);
    }
}

void Win32Window::startMove(Point at) {
    // The window follows the pointer while the button is held.
    dragging_ = true;
    dragOffset_ = {std::lround(at.x * ratio()), std::lround(at.y * ratio())};
    SetCapture(window_);
}

void Win32Window::createList(int id, Rect box, const std::vector<std::string>& items) {
    controls_.createList(id, box, items);
}

void Win32Window::createListBox(int id, Rect box) {
    controls_.createListBox(id, box);
}

void Win32Window::setListItems(int id, const std::vector<std::string>& items) {
    controls_.setListItems(id, items);
}

void Win32Window::createStatic(int id, Rect box, std::string_view text, TextAlign align) {
    controls_.createStatic(id, box, text, align);
}

void Win32Window::createEdit(int id, Rect box, std::string_view text, EditKind kind, TextAlign align) {
    controls_.createEdit(id, box, text, kind, align);
}

std::optional<Colour> Win32Window::chooseColour(Colour initial) {
    return ChooseColourOver(window_, initial);
}

void Win32Window::setTitle(std::string_view title) {
    SetWindowTextW(window_, WideFromUtf8(title).c_str());
}

std::optional<int> Win32Window::popupMenu(const std::vector<std::string>& items, Point at) {
    HMENU menu = CreatePopupMenu();
    if (menu == nullptr) {
        return std::nullopt;
    }
    for (std::size_t i = 0; i < items.size(); ++i) {
        AppendMenuW(menu, MF_STRING, i + 1, WideFromUtf8(items[i]).c_str());
    }
    POINT screen{std::lround(at.x * ratio()), std::lround(at.y * ratio())};
    ClientToScreen(window_, &screen);
    // The menu closes when the user clicks elsewhere only if its owner is in front.
    SetForegroundWindow(window_);
    const BOOL chosen = TrackPopupMenu(menu, TPM_RETURNCMD | TPM_NONOTIFY | TPM_LEFTALIGN | TPM_TOPALIGN,
                                       screen.x, screen.y, 0, window_, nullptr);
    PostMessageW(window_, WM_NULL, 0, 0);
    DestroyMenu(menu);
    return chosen > 0 ? std::optional<int>(chosen - 1) : std::nullopt;
}

Point Win32Window::LayoutPoint(LPARAM lParam) const {
    const double r = ratio();
    return {static_cast<int>(std::floor(GET_X_LPARAM(lParam) / r)),
            static_cast<int>(std::floor(GET_Y_LPARAM(lParam) / r))};
}

void Win32Window::OnControlEvent(const ControlEvent& event) {
    if (controller_ == nullptr) {
        return;
    }
    switch (event.kind) {
    case ControlEvent::Kind::EditChanged:
        controller_->OnEditChanged(event.id, controls_.text(event.id));
        break;
    case ControlEvent::Kind::ListClicked:
        controller_->OnListChoice(event.id, event.index);
        break;
    case ControlEvent::Kind::ListDoubleClicked:
        controller_->OnListDoubleClick(event.id, event.index);
        break;
    case ControlEvent::Kind::ListRightClicked:
        controller_->OnListRightClick(event.id, event.at);
        break;
    case ControlEvent::Kind::ListPointer:
        controller_->OnListPointer(event.id, event.index, event.item);
        break;
    case ControlEvent::Kind::EditFocusLost:
    case ControlEvent::Kind::ListPressed:
        break;
    }
}

LRESULT CALLBACK Win32Window::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<Win32Window*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    return self != nullptr ? self->OnMessage(message, wParam, lParam)
                           : DefWindowProcW(window, message, wParam, lParam);
}

LRESULT Win32Window::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (const std::optional<LRESULT> result = controls_.handleMessage(message, wParam, lParam)) {
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
        if (controller_ != nullptr) {
            controller_->OnLeftButtonDown(LayoutPoint(lParam));
        }
        return 0;
    case WM_LBUTTONDBLCLK:
        // The second press of a double click is no new press: a double click
        // on a list entry closes the list with its first click, and its
        // second must not act on the control that was under the list.
        return 0;
    case WM_MOUSEMOVE: {
        if (dragging_) {
            if ((wParam & MK_LBUTTON) != 0) {
                POINT cursor{};
                GetCursorPos(&cursor);
                SetWindowPos(window_, nullptr, cursor.x - dragOffset_.x, cursor.y - dragOffset_.y, 0, 0,
                             SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
                return 0;
            }
            dragging_ = false;
            ReleaseCapture();
        }
        if (!tracking_) {
            TRACKMOUSEEVENT track{sizeof(TRACKMOUSEEVENT), TME_LEAVE, window_, 0};
            tracking_ = TrackMouseEvent(&track) != FALSE;
        }
        if (controller_ != nullptr) {
            controller_->OnMouseMove(LayoutPoint(lParam));
        }
        return 0;
    }
    case WM_MOUSELEAVE:
        tracking_ = false;
        // Nothing is under the pointer any more: the hover pictures go.
        if (controller_ != nullptr && !dragging_) {
            controller_->OnMouseMove({-1, -1});
        }
        return 0;
    case WM_LBUTTONUP:
        if (dragging_) {
            dragging_ = false;
            ReleaseCapture();
        }
        return 0;
    case WM_CAPTURECHANGED:
        dragging_ = false;
        return 0;
    case WM_CLOSE:
        // Closing only hides while the tray holds the program; the controller decides.
        if (controller_ != nullptr) {
            controller_->OnCloseRequest();
        }
        return 0;
    default:
        break;
    }
    if (messageHandler_) {
        if (const std::optional<LRESULT> result = messageHandler_(message, wParam, lParam)) {
            return *result;
        }
    }
    return DefWindowProcW(window_, message, wParam, lParam);
}

} // namespace quorvel
