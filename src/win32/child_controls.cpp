#include "win32/child_controls.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <cmath>

#include "system/windows/wide_text.h"
#include "win32/gdi_text.h"

namespace quorvel {

namespace {

constexpr COLORREF kWhite = RGB(0xFF, 0xFF, 0xFF);
constexpr COLORREF kGrey = RGB(0x28, 0x28, 0x28);
constexpr COLORREF kFocusGrey = RGB(0x32, 0x3A, 0x46);
constexpr UINT_PTR kSubclassId = 1;

DWORD StaticAlign(TextAlign align) {
    switch (align) {
    case TextAlign::Centre:
        return SS_CENTER;
    case TextAlign::Right:
        return SS_RIGHT;
    default:
        return SS_LEFT;
    }
}

DWORD EditAlign(TextAlign align) {
    switch (align) {
    case TextAlign::Centre:
        return ES_CENTER;
    case TextAlign::Right:
        return ES_RIGHT;
    default:
        return ES_LEFT;
    }
}

std::wstring WindowText(HWND window) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

// The entry under a point of a list's client area, or -1.
int EntryAt(HWND list, int x, int y) {
    const LRESULT hit = SendMessageW(list, LB_ITEMFROMPOINT, 0, MAKELPARAM(x, y));
    if (HIWORD(hit) != 0) {
        return -1;
    }
    const int index = LOWORD(hit);
    return index < SendMessageW(list, LB_GETCOUNT, 0, 0) ? index : -1;
}

} // namespace

double DpiRatio(HWND window) {
    // Loaded by name: older systems (and some Wine versions) lack it.
    using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
    static const auto getDpiForWindow = reinterpret_cast<GetDpiForWindowFunction>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
    const UINT dpi = getDpiForWindow != nullptr ? getDpiForWindow(window) : 0;
    return dpi > 0 ? dpi / 96.0 : 1.0;
}

ChildControls::ChildControls(HWND parent, EventHandler handler)
    : parent_(parent), handler_(std::move(handler)), background_(CreateSolidBrush(kGrey)),
      focusBackground_(CreateSolidBrush(kFocusGrey)) {
}

ChildControls::~ChildControls() {
    while (!controls_.empty()) {
        destroy(controls_.begin()->first);
    }
}

void ChildControls::setFont(const FontSpec& font) {
    fontSpec_ = font;
    GdiObject<HFONT> made = MakeFont(font, ratio_);
    for (auto& [id, control] : controls_) {
        SendMessageW(control.window, WM_SETFONT, reinterpret_cast<WPARAM>(made.get()), TRUE);
        control.font.reset();
    }
    font_ = std::move(made);
}

void ChildControls::rescale(double ratio) {
    const double factor = ratio / ratio_;
    ratio_ = ratio;
    for (auto& [id, control] : controls_) {
        RECT box{};
        GetWindowRect(control.window, &box);
        MapWindowPoints(nullptr, parent_, reinterpret_cast<POINT*>(&box), 2);
        const auto scale = [factor](LONG v) { return static_cast<int>(std::lround(v * factor)); };
        MoveWindow(control.window, scale(box.left), scale(box.top), scale(box.right) - scale(box.left),
                   scale(box.bottom) - scale(box.top), TRUE);
    }
    setFont(fontSpec_);
    for (auto& [id, control] : controls_) {
        if (control.type == Type::Static || control.type == Type::Edit) {
            const std::wstring text =
                control.type == Type::Static ? control.whole : WindowText(control.window);
            ShowFitted(control, text);
        }
    }
}

RECT ChildControls::DeviceRect(Rect box) const {
    const auto scale = [this](int v) { return static_cast<LONG>(std::lround(v * ratio_)); };
    return {scale(box.left), scale(box.top), scale(box.right), scale(box.bottom)};
}

Point ChildControls::LayoutPoint(int x, int y) const {
    return {static_cast<int>(std::floor(x / ratio_)), static_cast<int>(std::floor(y / ratio_))};
}

HWND ChildControls::make(int id, Type type, const wchar_t* className, DWORD style, Rect box,
                         std::wstring_view text) {
    destroy(id);
    if (!font_) {
        font_ = MakeFont(fontSpec_, ratio_);
    }
    const RECT r = DeviceRect(box);
    const std::wstring caption(text);
    HWND window = CreateWindowExW(0, className, caption.c_str(), WS_CHILD | WS_VISIBLE | style, r.left, r.top,
                                  r.right - r.left, r.bottom - r.top, parent_,
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                  GetModuleHandleW(nullptr), nullptr);
    if (window == nullptr) {
        return nullptr;
    }
    SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
    Control& control = controls_[id];
    control.window = window;
    control.type = type;
    if (type == Type::DropDown || type == Type::ListBox) {
        SetWindowSubclass(window, ListProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this));
    } else if (type == Type::Edit) {
        SetWindowSubclass(window, EditProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this));
    }
    return window;
}

void ChildControls::createStatic(int id, Rect box, std::string_view text, TextAlign align) {
    // One line, centred vertically, fitted to the box.
    if (make(id, Type::Static, L"STATIC", StaticAlign(align) | SS_CENTERIMAGE | SS_NOPREFIX, box, {}) !=
        nullptr) {
        ShowFitted(controls_[id], WideFromUtf8(text));
    }
}

void ChildControls::createEdit(int id, Rect box, std::string_view text, EditKind kind, TextAlign align) {
    DWORD style = EditAlign(align) | ES_AUTOHSCROLL;
    if (kind == EditKind::Digits) {
        style |= ES_NUMBER;
    }
    // A key-name edit shows what the capture puts in; typing adds nothing.
    if (kind == EditKind::KeyName) {
        style |= ES_READONLY;
    }
    if (make(id, Type::Edit, L"EDIT", style, box, {}) != nullptr) {
        controls_[id].editKind = kind;
        ShowFitted(controls_[id], WideFromUtf8(text));
    }
}

void ChildControls::createList(int id, Rect box, const std::vector<std::string>& items) {
    HWND list = make(id, Type::DropDown, L"LISTBOX",
                     WS_BORDER | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT, box, {});
    if (list == nullptr) {
        return;
    }
    std::vector<std::wstring> entries;
    for (const std::string& item : items) {
        entries.push_back(WideFromUtf8(item));
        SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entries.back().c_str()));
    }
    FitEntries(list, entries);
    // Entries that all fit share the list's height, as the lists of the
    // skins are drawn for; otherwise the list scrolls.
    RECT client{};
    GetClientRect(list, &client);
    const int lineHeight = static_cast<int>(SendMessageW(list, LB_GETITEMHEIGHT, 0, 0));
    if (!items.empty() && lineHeight > 0) {
        const int shared = (client.bottom - client.top) / static_cast<int>(items.size());
        if (shared > lineHeight) {
            SendMessageW(list, LB_SETITEMHEIGHT, 0, MAKELPARAM(std::min(shared, 2 * lineHeight), 0));
        }
    }
}

void ChildControls::createListBox(int id, Rect box) {
    make(id, Type::ListBox, L"LISTBOX", WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT, box, {});
}

void ChildControls::setListItems(int id, const std::vector<std::string>& items) {
    HWND list = handle(id);
    if (list == nullptr) {
        return;
    }
    // The entries change in place, keeping the scroll position and the
    // selection: the list may be handing on one of them (a double click that
    // edits it).
    const LRESULT top = SendMessageW(list, LB_GETTOPINDEX, 0, 0);
    const LRESULT selected = SendMessageW(list, LB_GETCURSEL, 0, 0);
    SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    SendMessageW(list, LB_RESETCONTENT, 0, 0);
    for (const std::string& item : items) {
        SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(WideFromUtf8(item).c_str()));
    }
    if (selected != LB_ERR && selected < static_cast<LRESULT>(items.size())) {
        SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(selected), 0);
    }
    SendMessageW(list, LB_SETTOPINDEX, static_cast<WPARAM>(std::max<LRESULT>(top, 0)), 0);
    SendMessageW(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
}

void ChildControls::replaceListItems(int id, std::size_t first, std::size_t count,
                                     std::span<const std::string> items) {
    HWND list = handle(id);
    if (list == nullptr) {
        return;
    }
    SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    const auto size = static_cast<std::size_t>(std::max<LRESULT>(SendMessageW(list, LB_GETCOUNT, 0, 0), 0));
    const std::size_t start = std::min(first, size);
    const std::size_t removed = std::min(count, size - start);
    const LRESULT selected = SendMessageW(list, LB_GETCURSEL, 0, 0);
    for (std::size_t i = 0; i < removed; ++i) {
        SendMessageW(list, LB_DELETESTRING, static_cast<WPARAM>(start), 0);
    }
    for (std::size_t i = 0; i < items.size(); ++i) {
        SendMessageW(list, LB_INSERTSTRING, static_cast<WPARAM>(start + i),
                     reinterpret_cast<LPARAM>(WideFromUtf8(items[i]).c_str()));
    }
    // A selected entry that was replaced in place stays selected.
    if (selected != LB_ERR && static_cast<std::size_t>(selected) >= start &&
        static_cast<std::size_t>(selected) < start + std::min(removed, items.size())) {
        SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(selected), 0);
    }
    SendMessageW(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
}

void ChildControls::destroy(int id) {
    const auto it = controls_.find(id);
    if (it == controls_.end()) {
        return;
    }
    // Its font goes after the window.
    const Control control = std::move(it->second);
    controls_.erase(it);
    // The control may be the one whose message is being handled: the system
    // lets a window be destroyed from its own procedure.
    DestroyWindow(control.window);
}

void ChildControls::ShowFitted(Control& control, std::wstring_view text) {
    RECT client{};
    GetClientRect(control.window, &client);
    // The edits' inner margins.
    const int width = client.right - client.left - static_cast<int>(std::lround(4 * ratio_));
    HDC dc = GetDC(control.window);
    FittedLine line = FitLine(dc, fontSpec_, ratio_, text, width);
    ReleaseDC(control.window, dc);
    SendMessageW(control.window, WM_SETFONT, reinterpret_cast<WPARAM>(line.font.get()), TRUE);
    control.font = std::move(line.font);
    settingText_ = true;
    if (control.type == Type::Static) {
        control.whole = text;
        SetWindowTextW(control.window, line.text.c_str());
    } else {
        // An edit's text is what the program reads back: only the font shrinks.
        SetWindowTextW(control.window, std::wstring(text).c_str());
    }
    settingText_ = false;
}

void ChildControls::FitEntries(HWND list, const std::vector<std::wstring>& entries) {
    // The widest entry decides the font of them all; entries that do not fit
    // the height leave room for the scroll bar.
    HDC dc = GetDC(list);
    RECT client{};
    GetClientRect(list, &client);
    int width = client.right - client.left - static_cast<int>(std::lround(6 * ratio_));
    const int lineHeight = static_cast<int>(SendMessageW(list, LB_GETITEMHEIGHT, 0, 0));
    if (lineHeight * static_cast<int>(entries.size()) > client.bottom - client.top) {
        width -= GetSystemMetrics(SM_CXVSCROLL);
    }
    const std::wstring* widest = nullptr;
    int widestWidth = 0;
    for (const std::wstring& entry : entries) {
        const int entryWidth = TextWidth(dc, font_.get(), entry);
        if (entryWidth > widestWidth) {
            widest = &entry;
            widestWidth = entryWidth;
        }
    }
    if (widest != nullptr && widestWidth > width) {
        FittedLine line = FitLine(dc, fontSpec_, ratio_, *widest, width);
        SendMessageW(list, WM_SETFONT, reinterpret_cast<WPARAM>(line.font.get()), TRUE);
        if (const std::optional<int> id = idOf(list)) {
            controls_[*id].font = std::move(line.font);
        }
    }
    ReleaseDC(list, dc);
}

void ChildControls::setText(int id, std::string_view text) {
    HWND control = handle(id);
    if (control == nullptr) {
        return;
    }
    const std::wstring now = WideFromUtf8(text);
    const Control& current = controls_.at(id);
    if ((current.type == Type::Static ? current.whole : WindowText(control)) == now) {
        return;
    }
    // Put back where the user types, as the box corrects a count.
    DWORD start = 0;
    SendMessageW(control, EM_GETSEL, reinterpret_cast<WPARAM>(&start), 0);
    ShowFitted(controls_[id], now);
    if (isEdit(id)) {
        const auto cursor = std::min<DWORD>(start, static_cast<DWORD>(now.size()));
        SendMessageW(control, EM_SETSEL, cursor, cursor);
    }
}

std::string ChildControls::text(int id) const {
    const auto it = controls_.find(id);
    if (it == controls_.end()) {
        return {};
    }
    return Utf8FromWide(it->second.type == Type::Static ? it->second.whole : WindowText(it->second.window));
}

void ChildControls::show(int id, bool shown) {
    if (HWND control = handle(id)) {
        ShowWindow(control, shown ? SW_SHOWNA : SW_HIDE);
    }
}

void ChildControls::focus(int id) {
    if (HWND control = handle(id)) {
        SetFocus(control);
    }
}

void ChildControls::highlight(int id, int index) {
    if (HWND list = handle(id)) {
        // LB_SETCURSEL sends no notification: the controller hears nothing of it.
        SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
    }
}

void ChildControls::scroll(int id, int lines) {
    if (HWND list = handle(id)) {
        const auto top = static_cast<int>(SendMessageW(list, LB_GETTOPINDEX, 0, 0));
        SendMessageW(list, LB_SETTOPINDEX, static_cast<WPARAM>(std::max(top + lines, 0)), 0);
    }
}

HWND ChildControls::handle(int id) const {
    const auto it = controls_.find(id);
    return it == controls_.end() ? nullptr : it->second.window;
}

std::optional<int> ChildControls::idOf(HWND control) const {
    for (const auto& [id, c] : controls_) {
        if (c.window == control) {
            return id;
        }
    }
    return std::nullopt;
}

bool ChildControls::isEdit(int id) const {
    const auto it = controls_.find(id);
    return it != controls_.end() && it->second.type == Type::Edit;
}

std::vector<int> ChildControls::edits() const {
    std::vector<int> ids;
    for (const auto& [id, c] : controls_) {
        if (c.type == Type::Edit) {
            ids.push_back(id);
        }
    }
    return ids;
}

std::optional<LRESULT> ChildControls::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC: // read-only edits too
    case WM_CTLCOLORLISTBOX: {
        const auto control = reinterpret_cast<HWND>(lParam);
        if (!idOf(control)) {
            return std::nullopt;
        }
        // The edit with the focus (a read-only one too) shows where the keys go.
        const bool focused = message != WM_CTLCOLORLISTBOX && GetFocus() == control;
        const auto dc = reinterpret_cast<HDC>(wParam);
        SetTextColor(dc, kWhite);
        SetBkColor(dc, focused ? kFocusGrey : kGrey);
        return reinterpret_cast<LRESULT>(focused ? focusBackground_.get() : background_.get());
    }
    case WM_COMMAND: {
        const auto control = reinterpret_cast<HWND>(lParam);
        const std::optional<int> id = idOf(control);
        if (!id) {
            return std::nullopt;
        }
        switch (HIWORD(wParam)) {
        case EN_CHANGE:
            if (!settingText_) {
                handler_({ControlEvent::Kind::EditChanged, *id});
            }
            break;
        case EN_SETFOCUS:
            InvalidateRect(control, nullptr, TRUE);
            break;
        case EN_KILLFOCUS:
            InvalidateRect(control, nullptr, TRUE);
            handler_({ControlEvent::Kind::EditFocusLost, *id});
            break;
        case LBN_DBLCLK: {
            const auto index = static_cast<int>(SendMessageW(control, LB_GETCURSEL, 0, 0));
            if (index >= 0) {
                handler_({ControlEvent::Kind::ListDoubleClicked, *id, index});
            }
            break;
        }
        default:
            break;
        }
        return 0;
    }
    default:
        return std::nullopt;
    }
}

void ChildControls::ReportPointer(int id, HWND list, int x, int y) {
    const auto it = controls_.find(id);
    if (it == controls_.end()) {
        return;
    }
    const int index = EntryAt(list, x, y);
    RECT item{};
    if (index >= 0) {
        SendMessageW(list, LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
        // In the list's own coordinates, its border counted.
        POINT origin{0, 0};
        MapWindowPoints(list, nullptr, &origin, 1);
        RECT outer{};
        GetWindowRect(list, &outer);
        OffsetRect(&item, origin.x - outer.left, origin.y - outer.top);
    }
    const Point topLeft = LayoutPoint(item.left, item.top);
    const Point bottomRight = LayoutPoint(item.right, item.bottom);
    handler_({ControlEvent::Kind::ListPointer,
              id,
              index,
              {},
              {topLeft.x, topLeft.y, bottomRight.x, bottomRight.y}});
}

LRESULT CALLBACK ChildControls::ListProc(HWND list, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                         DWORD_PTR self) {
    auto* controls = reinterpret_cast<ChildControls*>(self);
    const std::optional<int> id = controls->idOf(list);
    switch (message) {
    case WM_NCDESTROY:
        RemoveWindowSubclass(list, ListProc, kSubclassId);
        break;
    case WM_MOUSEMOVE:
        if (id) {
            controls->ReportPointer(*id, list, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        }
        break;
    case WM_MOUSEWHEEL: {
        // The entries scroll under a resting pointer: it points at another one.
        const LRESULT result = DefSubclassProc(list, message, wParam, lParam);
        POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        ScreenToClient(list, &at);
        if (id) {
            controls->ReportPointer(*id, list, at.x, at.y);
        }
        return result;
    }
    case WM_LBUTTONDOWN: {
        const int index = EntryAt(list, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        const LRESULT result = DefSubclassProc(list, message, wParam, lParam);
        // The handler may destroy the list: nothing of it is touched after.
        if (id && index >= 0) {
            controls->handler_({ControlEvent::Kind::ListPressed, *id, index});
        }
        return result;
    }
    case WM_LBUTTONUP: {
        const int index = EntryAt(list, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        const LRESULT result = DefSubclassProc(list, message, wParam, lParam);
        if (id && index >= 0 && controls->handle(*id) == list) {
            controls->handler_({ControlEvent::Kind::ListClicked, *id, index});
        }
        return result;
    }
    case WM_RBUTTONDOWN:
        if (id) {
            POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
            MapWindowPoints(list, controls->parent_, &at, 1);
            controls->handler_(
                {ControlEvent::Kind::ListRightClicked, *id, -1, controls->LayoutPoint(at.x, at.y)});
        }
        return 0;
    default:
        break;
    }
    return DefSubclassProc(list, message, wParam, lParam);
}

LRESULT CALLBACK ChildControls::EditProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                         DWORD_PTR self) {
    auto* controls = reinterpret_cast<ChildControls*>(self);
    switch (message) {
    case WM_NCDESTROY:
        RemoveWindowSubclass(edit, EditProc, kSubclassId);
        break;
    case WM_PASTE: {
        // A digits-only edit takes the digits of what is pasted: the system
        // checks typed characters only.
        const std::optional<int> id = controls->idOf(edit);
        if (!id || controls->controls_[*id].editKind != EditKind::Digits) {
            break;
        }
        std::wstring digits;
        if (IsClipboardFormatAvailable(CF_UNICODETEXT) && OpenClipboard(edit)) {
            if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
                if (const auto* text = static_cast<const wchar_t*>(GlobalLock(data))) {
                    for (const wchar_t* c = text; *c != L'\0'; ++c) {
                        if (*c >= L'0' && *c <= L'9') {
                            digits.push_back(*c);
                        }
                    }
                    GlobalUnlock(data);
                }
            }
            CloseClipboard();
        }
        SendMessageW(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(digits.c_str()));
        return 0;
    }
    default:
        break;
    }
    return DefSubclassProc(edit, message, wParam, lParam);
}

} // namespace quorvel
