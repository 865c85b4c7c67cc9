#include "win32/win32_window.h"

#include <commdlg.h>
#include <windowsx.h>

#include <cmath>

#include "ports/message_port.h"
#include "system/windows/wide_text.h"
#include "win32/dialog_window.h"

namespace quorvel {

Win32Window::Win32Window(const wchar_t* className)
    // In the tray, the window has no taskbar entry: a tool window.
    : SkinnedPopup(
          {className, CS_DBLCLKS, WS_MINIMIZEBOX | WS_SYSMENU, WS_EX_TOOLWINDOW, nullptr, Colour{0, 0, 0}}) {
}

void Win32Window::setController(MainWindow* controller) {
    if (controller_ != nullptr) {
        controller_->setAccessibility(nullptr);
    }
    controller_ = controller;
    if (controller == nullptr) {
        accessibility_.setContent({});
        return;
    }
    accessibility_.setContent(
        {controller, [controller] { return controller->focusedControl(); }, nullptr, false});
    controller->setAccessibility(&accessibility_);
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

void Win32Window::replaceListItems(int id, std::size_t first, std::size_t count,
                                   std::span<const std::string> items) {
    controls_.replaceListItems(id, first, count, items);
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

std::optional<std::filesystem::path> Win32Window::chooseProfileFile(bool save, std::string_view title) {
    wchar_t file[MAX_PATH * 4] = L"quorvel.profile";
    if (!save) {
        file[0] = L'\0';
    }
    const std::wstring caption = WideFromUtf8(title);
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = window_;
    dialog.lpstrFilter = L"Quorvel profiles (*.profile, *.txt)\0*.profile;*.txt\0All files\0*.*\0";
    dialog.lpstrFile = file;
    dialog.nMaxFile = static_cast<DWORD>(std::size(file));
    dialog.lpstrTitle = caption.c_str();
    dialog.Flags = OFN_NOCHANGEDIR | (save ? OFN_OVERWRITEPROMPT : OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST);
    BOOL chosen = FALSE;
    const bool quit = RunSystemLoop(
        SystemLoop::Dialog, [&] { chosen = save ? GetSaveFileNameW(&dialog) : GetOpenFileNameW(&dialog); });
    if (!chosen || quit) {
        return std::nullopt;
    }
    return std::filesystem::path(std::wstring(file));
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
    BOOL chosen = 0;
    const bool quit = RunSystemLoop(SystemLoop::Menu, [&] {
        chosen = TrackPopupMenu(menu, TPM_RETURNCMD | TPM_NONOTIFY | TPM_LEFTALIGN | TPM_TOPALIGN, screen.x,
                                screen.y, 0, window_, nullptr);
    });
    PostMessageW(window_, WM_NULL, 0, 0);
    DestroyMenu(menu);
    return chosen > 0 && !quit ? std::optional<int>(chosen - 1) : std::nullopt;
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

void Win32Window::LeftButtonDown(Point point) {
    if (controller_ != nullptr) {
        controller_->OnLeftButtonDown(point);
    }
}

void Win32Window::MouseMove(Point point) {
    if (controller_ != nullptr && !dragging_) {
        controller_->OnMouseMove(point);
    }
}

std::optional<LRESULT> Win32Window::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (ChangesHighContrast(message, wParam) && controller_ != nullptr) {
        // The focus ring takes the highlight colour, or leaves it.
        controller_->OnSystemColoursChanged();
    }
    switch (message) {
    case WM_LBUTTONDBLCLK:
        // The second press of a double click is no new press: a double click
        // on a list entry closes the list with its first click, and its
        // second must not act on the control that was under the list.
        return 0;
    case WM_MOUSEMOVE:
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
        return std::nullopt;
    case WM_LBUTTONUP:
        if (dragging_) {
            dragging_ = false;
            ReleaseCapture();
        }
        return 0;
    case WM_RBUTTONUP:
        if (controller_ != nullptr) {
            controller_->OnRightButtonUp(LayoutPoint(lParam));
        }
        return 0;
    case WM_CAPTURECHANGED:
        dragging_ = false;
        return 0;
    case WM_DPICHANGED: {
        // Moved to a screen of another density: the window keeps its layout
        // size in the new device pixels, where the system suggests.
        const double ratio = HIWORD(wParam) / 96.0;
        controls_.rescale(ratio);
        picture_.resize(width_, height_, ratio);
        const auto* suggested = reinterpret_cast<const RECT*>(lParam);
        SetWindowPos(window_, nullptr, suggested->left, suggested->top, picture_.pixelWidth(),
                     picture_.pixelHeight(), SWP_NOZORDER | SWP_NOACTIVATE);
        InvalidateRect(window_, nullptr, FALSE);
        return 0;
    }
    case WM_CLOSE:
        // Closing only hides while the tray holds the program; the controller decides.
        if (controller_ != nullptr) {
            controller_->OnCloseRequest();
        }
        return 0;
    case WM_PAINT:
    case WM_ERASEBKGND:
    case WM_LBUTTONDOWN:
    case WM_MOUSELEAVE:
        return std::nullopt; // the surface's
    default:
        return messageHandler_ ? messageHandler_(message, wParam, lParam) : std::nullopt;
    }
}

} // namespace quorvel
