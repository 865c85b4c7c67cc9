#include "win32/dialog_window.h"

#include <commdlg.h>
#include <windowsx.h>

#include <algorithm>
#include <cmath>

#include "ports/message_port.h"
#include "system/windows/wide_text.h"
#include "win32/key_name.h"

namespace quorvel {

namespace {

constexpr Colour kBlank{0x12, 0x15, 0x1A}; // the picture of a dialog whose background did not load

bool IsKeyMessage(UINT message) {
    return message == WM_KEYDOWN || message == WM_KEYUP || message == WM_SYSKEYDOWN || message == WM_SYSKEYUP;
}

} // namespace

std::optional<Colour> ChooseColourOver(HWND owner, Colour initial) {
    // The custom colours the user mixes stay for the next opening.
    static COLORREF custom[16] = {};
    CHOOSECOLORW choice{};
    choice.lStructSize = sizeof(choice);
    choice.hwndOwner = owner;
    choice.rgbResult = RGB(initial.red, initial.green, initial.blue);
    choice.lpCustColors = custom;
    choice.Flags = CC_RGBINIT | CC_FULLOPEN;
    BOOL confirmed = FALSE;
    const bool quit = RunSystemLoop(SystemLoop::Dialog, [&] { confirmed = ChooseColorW(&choice); });
    if (!confirmed || quit) {
        return std::nullopt;
    }
    return Colour{GetRValue(choice.rgbResult), GetGValue(choice.rgbResult), GetBValue(choice.rgbResult)};
}

bool RunMessageLoop(const std::function<bool()>& finished, const std::function<bool(const MSG&)>& take) {
    MSG message;
    while (!finished()) {
        const BOOL got = GetMessageW(&message, nullptr, 0, 0);
        if (got == 0) {
            // The program is asked to end: the loop outside must hear it too.
            PostQuitMessage(static_cast<int>(message.wParam));
            return false;
        }
        if (got == -1) {
            return false;
        }
        if (take && take(message)) {
            continue;
        }
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return true;
}

namespace {

thread_local std::optional<WPARAM> quitDuringLoop;
thread_local SystemLoop loopKind = SystemLoop::Dialog;

LRESULT CALLBACK WatchForQuit(int code, WPARAM removal, LPARAM message) {
    auto* taken = reinterpret_cast<MSG*>(message);
    if (code == HC_ACTION && taken->message == WM_QUIT) {
        quitDuringLoop = taken->wParam;
        if (loopKind == SystemLoop::Menu) {
            EndMenu();
            if (removal == PM_REMOVE) {
                taken->message = WM_NULL; // the menu's loop sees nothing of it
            }
        }
    }
    return CallNextHookEx(nullptr, code, removal, message);
}

} // namespace

bool RunSystemLoop(SystemLoop kind, const std::function<void()>& modal) {
    quitDuringLoop.reset();
    loopKind = kind;
    HHOOK watch = SetWindowsHookExW(WH_GETMESSAGE, &WatchForQuit, nullptr, GetCurrentThreadId());
    modal();
    if (watch != nullptr) {
        UnhookWindowsHookEx(watch);
    }
    const std::optional<WPARAM> quit = std::exchange(quitDuringLoop, std::nullopt);
    if (quit) {
        // One quit however often it is posted: the system keeps a flag.
        PostQuitMessage(static_cast<int>(*quit));
    }
    return quit.has_value();
}

Win32DialogWindow::Win32DialogWindow(HWND owner)
    : SkinnedPopup({L"QuorvelDialog", 0, 0, 0, owner, kBlank}), owner_(owner) {
}

void Win32DialogWindow::setFont(const FontSpec& font) {
    picture_.setFonts(font, font);
    controls_.setFont(font);
}

void Win32DialogWindow::setClientSize(int width, int height) {
    picture_.resize(width, height, controls_.ratio());
    SetWindowPos(window_, nullptr, 0, 0, picture_.pixelWidth(), picture_.pixelHeight(),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

bool Win32DialogWindow::run(SubDialog& controller) {
    controller_ = &controller;
    // Named by its own title, in the window list and to screen readers.
    SetWindowTextW(window_, WideFromUtf8(controller.title()).c_str());
    accessibility_.setContent(
        {&controller, [&controller] { return controller.focusedControl(); }, nullptr, true});
    controller.setAccessibility(&accessibility_);
    ok_ = false;
    running_ = true;
    POINT origin{0, 0};
    if (owner_ != nullptr) {
        ClientToScreen(owner_, &origin);
    }
    SetWindowPos(window_, HWND_TOP, origin.x, origin.y, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
    SetForegroundWindow(window_);
    SetFocus(focus_ ? controls_.handle(*focus_) : window_);
    const bool ownerEnabled = owner_ != nullptr && IsWindowEnabled(owner_);
    if (ownerEnabled) {
        EnableWindow(owner_, FALSE);
    }
    RunMessageLoop([this] { return !running_; }, [this](const MSG& message) { return TakeKey(message); });
    running_ = false;
    // The owner comes back before the dialog goes, so that it takes the activation.
    if (ownerEnabled) {
        EnableWindow(owner_, TRUE);
    }
    ShowWindow(window_, SW_HIDE);
    controller.setAccessibility(nullptr);
    accessibility_.setContent({});
    controller_ = nullptr;
    return ok_;
}

void Win32DialogWindow::end(bool ok) {
    ok_ = ok;
    running_ = false;
}

void Win32DialogWindow::createStatic(int id, Rect box, std::string_view text, TextAlign align) {
    controls_.createStatic(id, box, text, align);
}

void Win32DialogWindow::createEdit(int id, Rect box, std::string_view text, EditKind kind, TextAlign align) {
    controls_.createEdit(id, box, text, kind, align);
}

void Win32DialogWindow::createList(int id, Rect box, const std::vector<std::string>& items) {
    controls_.createList(id, box, items);
}

void Win32DialogWindow::destroyControl(int id) {
    if (focus_ == id) {
        focus_.reset();
    }
    controls_.destroy(id);
}

void Win32DialogWindow::focusControl(int id) {
    if (id == -1) {
        // A control drawn in the picture: the keys go to the dialog itself.
        focus_.reset();
        if (IsWindowVisible(window_)) {
            followFocus(id);
        }
        return;
    }
    if (!controls_.exists(id)) {
        return;
    }
    focus_ = id;
    // Before the dialog shows, the focus waits for it.
    if (IsWindowVisible(window_)) {
        controls_.focus(id);
    }
}

std::optional<int> Win32DialogWindow::focusedControl() const {
    if (!IsWindowVisible(window_)) {
        return focus_;
    }
    return controls_.idOf(GetFocus());
}

bool Win32DialogWindow::TakeKey(const MSG& message) {
    if (controller_ == nullptr || !IsKeyMessage(message.message) ||
        (message.hwnd != window_ && !IsChild(window_, message.hwnd))) {
        return false;
    }
    // A key that moved through the controls is none for a key edit to
    // capture, going down nor coming up (the edit it came up in may be
    // the one it moved to).
    const auto virtualKey = static_cast<std::size_t>(message.wParam & 0xFF);
    if (message.message == WM_KEYDOWN) {
        if (const std::optional<NavigationKey> key = NavigationKeyPressed(static_cast<unsigned>(virtualKey));
            key && !(editHasFocus() && EditKeeps(*key)) && controller_->OnNavigationKey(*key)) {
            navigated_.set(virtualKey);
            return true;
        }
    } else if (message.message == WM_KEYUP && navigated_.test(virtualKey)) {
        navigated_.reset(virtualKey);
        return true;
    }
    // The key data word: the scan code in bits 16-23, the extended-key flag in bit 24.
    const int scanCode = static_cast<int>((message.lParam >> 16) & 0xFF);
    const bool extended = ((message.lParam >> 24) & 1) != 0;
    controller_->OnKey(KeyNameOfMessage(scanCode, extended));
    if (message.message != WM_KEYDOWN || controller_ == nullptr) {
        return false;
    }
    switch (message.wParam) {
    case VK_RETURN:
        return controller_->OnStandardKey(StandardKey::Enter);
    case VK_ESCAPE:
        return controller_->OnStandardKey(StandardKey::Escape);
    case VK_TAB:
        // Never into an edit, which would keep the focus.
        return true;
    default:
        return false;
    }
}

void Win32DialogWindow::OnControlEvent(const ControlEvent& event) {
    if (controller_ == nullptr) {
        return;
    }
    switch (event.kind) {
    case ControlEvent::Kind::EditChanged:
        controller_->OnEditChanged(event.id);
        break;
    case ControlEvent::Kind::EditFocusLost:
        controller_->OnEditFocusLost(event.id);
        break;
    case ControlEvent::Kind::ListPressed:
        controller_->OnListChosen(event.id, event.index);
        break;
    case ControlEvent::Kind::ListPointer:
        // Once an entry, as the pointer enters it.
        if (event.index >= 0 && hovered_ != std::pair(event.id, event.index)) {
            hovered_ = {event.id, event.index};
            controller_->OnListHover(event.id, event.index);
        }
        break;
    case ControlEvent::Kind::ListClicked:
    case ControlEvent::Kind::ListDoubleClicked:
    case ControlEvent::Kind::ListRightClicked:
        break;
    }
}

void Win32DialogWindow::LeftButtonDown(Point point) {
    if (controller_ != nullptr) {
        controller_->OnLeftButtonDown(point);
    }
}

void Win32DialogWindow::MouseMove(Point point) {
    if (controller_ != nullptr) {
        controller_->OnMouseMove(point);
    }
}

std::optional<LRESULT> Win32DialogWindow::OnMessage(UINT message, WPARAM wParam, LPARAM) {
    if (ChangesHighContrast(message, wParam) && controller_ != nullptr) {
        // The focus ring takes the highlight colour, or leaves it.
        controller_->Paint();
    }
    switch (message) {
    case WM_MOUSEWHEEL:
        if (controller_ != nullptr && GET_WHEEL_DELTA_WPARAM(wParam) != 0) {
            controller_->OnWheel(GET_WHEEL_DELTA_WPARAM(wParam));
        }
        return 0;
    case WM_ACTIVATE:
        // The control that had the focus gets it back (after the colour
        // chooser, another program); the system would give it to the dialog.
        if (LOWORD(wParam) == WA_INACTIVE) {
            HWND focus = GetFocus();
            lastFocus_ = IsChild(window_, focus) ? focus : nullptr;
        } else if (lastFocus_ != nullptr && IsWindow(lastFocus_) && IsChild(window_, lastFocus_)) {
            SetFocus(lastFocus_);
            return 0;
        }
        return std::nullopt;
    case WM_CLOSE:
        end(false);
        return 0;
    default:
        return std::nullopt;
    }
}

} // namespace quorvel
