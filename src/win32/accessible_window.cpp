#include "win32/accessible_window.h"

#include <oleacc.h>

// MinGW's oleacc import library also exports IID_IAccessible, which the
// uuid library defines: the interfaces are named by __uuidof, which needs
// neither.

#include <cmath>
#include <utility>
#include <vector>

#include "system/windows/wide_text.h"

namespace quorvel {

namespace {

// A default action asked for by a reader runs from the window's own queue:
// pressing a control may open a modal dialog, and the reader's call must
// come back first. WPARAM: the control's id.
UINT ActionMessage() {
    static const UINT message = ::RegisterWindowMessageW(L"QRVL_AccessibleAction");
    return message;
}

long RoleOf(ControlRole role) {
    switch (role) {
    case ControlRole::Button:
        return ROLE_SYSTEM_PUSHBUTTON;
    case ControlRole::Toggle:
        return ROLE_SYSTEM_CHECKBUTTON;
    case ControlRole::RadioButton:
        return ROLE_SYSTEM_RADIOBUTTON;
    case ControlRole::DropDown:
        return ROLE_SYSTEM_COMBOBOX;
    case ControlRole::ListBox:
        return ROLE_SYSTEM_LIST;
    case ControlRole::Slider:
        return ROLE_SYSTEM_SLIDER;
    case ControlRole::Edit:
        return ROLE_SYSTEM_TEXT;
    case ControlRole::Text:
        return ROLE_SYSTEM_STATICTEXT;
    }
    return ROLE_SYSTEM_CLIENT;
}

long StateOf(const Control& control, bool focused) {
    long state = 0;
    if (control.focusable()) {
        state |= STATE_SYSTEM_FOCUSABLE;
    }
    if (focused) {
        state |= STATE_SYSTEM_FOCUSED;
    }
    if (control.state.checked) {
        state |= STATE_SYSTEM_CHECKED;
    }
    if (control.state.selected) {
        state |= STATE_SYSTEM_SELECTED;
    }
    if (control.state.disabled) {
        state |= STATE_SYSTEM_UNAVAILABLE;
    }
    if (control.role == ControlRole::DropDown) {
        state |= control.state.expanded ? STATE_SYSTEM_EXPANDED : STATE_SYSTEM_COLLAPSED;
    }
    if (control.role == ControlRole::Text) {
        state |= STATE_SYSTEM_READONLY;
    }
    return state;
}

HRESULT Text(const std::string& text, BSTR* out) {
    if (out == nullptr) {
        return E_POINTER;
    }
    *out = nullptr;
    if (text.empty()) {
        return S_FALSE;
    }
    const std::wstring wide = WideFromUtf8(text);
    *out = ::SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
    return *out != nullptr ? S_OK : E_OUTOFMEMORY;
}

void SetChild(VARIANT* out, long child) {
    out->vt = VT_I4;
    out->lVal = child;
}

} // namespace

// One object per window, answering for the window's client area and, as
// simple elements (child ids from 1 in reading order), for its controls.
class WindowAccessibility::Object final : public IAccessible {
public:
    explicit Object(WindowAccessibility* owner) : owner_(owner) {}

    // The window is going: every question from now on finds nothing.
    void disconnect() { owner_ = nullptr; }

    // IUnknown.
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (out == nullptr) {
            return E_POINTER;
        }
        if (iid == __uuidof(IUnknown) || iid == __uuidof(IDispatch) || iid == __uuidof(IAccessible)) {
            *out = static_cast<IAccessible*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override {
        return static_cast<ULONG>(::InterlockedIncrement(&references_));
    }
    ULONG STDMETHODCALLTYPE Release() override {
        const LONG left = ::InterlockedDecrement(&references_);
        if (left == 0) {
            delete this;
        }
        return static_cast<ULONG>(left);
    }

    // IDispatch: readers call the IAccessible methods directly.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        if (count == nullptr) {
            return E_POINTER;
        }
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                     UINT*) override {
        return E_NOTIMPL;
    }

    // IAccessible.
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
        if (parent == nullptr) {
            return E_POINTER;
        }
        *parent = nullptr;
        if (owner_ == nullptr) {
            return CO_E_OBJNOTCONNECTED;
        }
        return ::AccessibleObjectFromWindow(owner_->window_, static_cast<DWORD>(OBJID_WINDOW),
                                            __uuidof(IDispatch), reinterpret_cast<void**>(parent));
    }
    HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override {
        if (count == nullptr) {
            return E_POINTER;
        }
        if (owner_ == nullptr) {
            return CO_E_OBJNOTCONNECTED;
        }
        *count = static_cast<long>(Controls().size());
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** out) override {
        if (out == nullptr) {
            return E_POINTER;
        }
        *out = nullptr;
        const std::vector<Control> controls = Controls();
        Control control;
        const HRESULT found = Find(controls, child, control);
        if (found != S_OK) {
            return found;
        }
        // The controls are simple elements, not objects of their own.
        return S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
        return Describe(
            child, name, [this] { return OwnName(); }, [](const Control& control) { return control.name; });
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
        return Describe(
            child, value, [] { return std::string(); }, [](const Control& control) { return control.value; });
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* description) override {
        return Describe(
            child, description, [] { return std::string(); }, [](const Control&) { return std::string(); });
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
        if (role == nullptr) {
            return E_POINTER;
        }
        ::VariantInit(role);
        const std::vector<Control> controls = Controls();
        Control control;
        const HRESULT found = Find(controls, child, control);
        if (FAILED(found)) {
            return found;
        }
        SetChild(role, found == S_FALSE ? (owner_->content_.dialog ? ROLE_SYSTEM_DIALOG : ROLE_SYSTEM_CLIENT)
                                        : RoleOf(control.role));
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
        if (state == nullptr) {
            return E_POINTER;
        }
        ::VariantInit(state);
        const std::vector<Control> controls = Controls();
        Control control;
        const HRESULT found = Find(controls, child, control);
        if (FAILED(found)) {
            return found;
        }
        if (found == S_FALSE) {
            const HWND focus = ::GetFocus();
            SetChild(state, STATE_SYSTEM_FOCUSABLE | (focus == owner_->window_ ? STATE_SYSTEM_FOCUSED : 0));
        } else {
            SetChild(state, StateOf(control, HasFocus() && control.id == FocusedId()));
        }
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT, BSTR* help) override {
        if (help != nullptr) {
            *help = nullptr;
        }
        return DISP_E_MEMBERNOTFOUND;
    }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT, long* topic) override {
        if (file != nullptr) {
            *file = nullptr;
        }
        if (topic != nullptr) {
            *topic = 0;
        }
        return DISP_E_MEMBERNOTFOUND;
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT, BSTR* shortcut) override {
        if (shortcut != nullptr) {
            *shortcut = nullptr;
        }
        return DISP_E_MEMBERNOTFOUND;
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focus) override {
        if (focus == nullptr) {
            return E_POINTER;
        }
        ::VariantInit(focus);
        if (owner_ == nullptr) {
            return CO_E_OBJNOTCONNECTED;
        }
        if (!HasFocus()) {
            return S_FALSE;
        }
        const long child = owner_->ChildOf(FocusedId());
        SetChild(focus, child > 0 ? child : CHILDID_SELF);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selection) override {
        if (selection != nullptr) {
            ::VariantInit(selection);
        }
        return DISP_E_MEMBERNOTFOUND;
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT, BSTR* action) override {
        if (action != nullptr) {
            *action = nullptr;
        }
        return DISP_E_MEMBERNOTFOUND;
    }
    HRESULT STDMETHODCALLTYPE accSelect(long, VARIANT) override { return DISP_E_MEMBERNOTFOUND; }
    HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height,
                                          VARIANT child) override {
        if (left == nullptr || top == nullptr || width == nullptr || height == nullptr) {
            return E_POINTER;
        }
        const std::vector<Control> controls = Controls();
        Control control;
        const HRESULT found = Find(controls, child, control);
        if (FAILED(found)) {
            return found;
        }
        RECT box{};
        if (found == S_FALSE) {
            ::GetClientRect(owner_->window_, &box);
        } else {
            const double ratio = owner_->ratio_();
            const auto scale = [ratio](int v) { return static_cast<LONG>(std::lround(v * ratio)); };
            box = {scale(control.rect.left), scale(control.rect.top), scale(control.rect.right),
                   scale(control.rect.bottom)};
        }
        ::MapWindowPoints(owner_->window_, nullptr, reinterpret_cast<POINT*>(&box), 2);
        *left = box.left;
        *top = box.top;
        *width = box.right - box.left;
        *height = box.bottom - box.top;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* end) override {
        if (end == nullptr) {
            return E_POINTER;
        }
        ::VariantInit(end);
        const std::vector<Control> controls = Controls();
        Control control;
        const HRESULT found = Find(controls, start, control);
        if (FAILED(found)) {
            return found;
        }
        const long count = static_cast<long>(controls.size());
        long to = 0;
        if (found == S_FALSE) {
            if (direction == NAVDIR_FIRSTCHILD) {
                to = 1;
            } else if (direction == NAVDIR_LASTCHILD) {
                to = count;
            }
        } else if (direction == NAVDIR_NEXT) {
            to = start.lVal + 1;
        } else if (direction == NAVDIR_PREVIOUS) {
            to = start.lVal - 1;
        }
        if (to < 1 || to > count) {
            return S_FALSE;
        }
        SetChild(end, to);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* at) override {
        if (at == nullptr) {
            return E_POINTER;
        }
        ::VariantInit(at);
        if (owner_ == nullptr) {
            return CO_E_OBJNOTCONNECTED;
        }
        POINT point{x, y};
        ::ScreenToClient(owner_->window_, &point);
        RECT client{};
        ::GetClientRect(owner_->window_, &client);
        if (::PtInRect(&client, point) == FALSE) {
            return S_FALSE;
        }
        const double ratio = owner_->ratio_();
        const Point layout{static_cast<int>(std::floor(point.x / ratio)),
                           static_cast<int>(std::floor(point.y / ratio))};
        const std::vector<Control> controls = Controls();
        for (std::size_t i = 0; i < controls.size(); ++i) {
            const Rect& r = controls[i].rect;
            if (layout.x >= r.left && layout.x < r.right && layout.y >= r.top && layout.y < r.bottom) {
                SetChild(at, static_cast<long>(i) + 1);
                return S_OK;
            }
        }
        SetChild(at, CHILDID_SELF);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
        const std::vector<Control> controls = Controls();
        Control control;
        const HRESULT found = Find(controls, child, control);
        if (found != S_OK) {
            return FAILED(found) ? found : DISP_E_MEMBERNOTFOUND;
        }
        if (control.role == ControlRole::Text) {
            return DISP_E_MEMBERNOTFOUND;
        }
        ::PostMessageW(owner_->window_, ActionMessage(), static_cast<WPARAM>(control.id), 0);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override { return E_NOTIMPL; }

private:
    std::vector<Control> Controls() const {
        if (owner_ == nullptr || owner_->content_.controls == nullptr) {
            return {};
        }
        return owner_->content_.controls->controls();
    }
    int FocusedId() const { return owner_->content_.focused ? owner_->content_.focused() : -1; }
    // The window or one of its child controls has the keyboard focus.
    bool HasFocus() const {
        const HWND focus = ::GetFocus();
        return focus != nullptr && (focus == owner_->window_ || ::IsChild(owner_->window_, focus) != FALSE);
    }
    std::string OwnName() const {
        if (owner_->content_.name) {
            return owner_->content_.name();
        }
        std::wstring title(static_cast<std::size_t>(::GetWindowTextLengthW(owner_->window_)) + 1, L'\0');
        title.resize(static_cast<std::size_t>(
            ::GetWindowTextW(owner_->window_, title.data(), static_cast<int>(title.size()))));
        return Utf8FromWide(title);
    }

    // S_FALSE: the window itself; S_OK: control `found` of `controls`.
    HRESULT Find(const std::vector<Control>& controls, const VARIANT& child, Control& found) const {
        if (owner_ == nullptr) {
            return CO_E_OBJNOTCONNECTED;
        }
        if (child.vt != VT_I4) {
            return E_INVALIDARG;
        }
        if (child.lVal == CHILDID_SELF) {
            return S_FALSE;
        }
        if (child.lVal < 1 || child.lVal > static_cast<long>(controls.size())) {
            return E_INVALIDARG;
        }
        found = controls[static_cast<std::size_t>(child.lVal - 1)];
        return S_OK;
    }

    template <typename Own, typename OfControl>
    HRESULT Describe(const VARIANT& child, BSTR* out, Own own, OfControl ofControl) const {
        if (out == nullptr) {
            return E_POINTER;
        }
        *out = nullptr;
        const std::vector<Control> controls = Controls();
        Control control;
        const HRESULT found = Find(controls, child, control);
        if (FAILED(found)) {
            return found;
        }
        return Text(found == S_FALSE ? own() : ofControl(control), out);
    }

    WindowAccessibility* owner_;
    LONG references_ = 1;
};

WindowAccessibility::WindowAccessibility(HWND window, std::function<double()> ratio)
    : window_(window), ratio_(std::move(ratio)) {
}

WindowAccessibility::~WindowAccessibility() {
    if (object_ != nullptr) {
        object_->disconnect();
        object_->Release();
    }
}

void WindowAccessibility::setContent(Content content) {
    content_ = std::move(content);
    controlsChanged();
}

std::optional<LRESULT> WindowAccessibility::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_GETOBJECT) {
        if (static_cast<DWORD>(lParam) != static_cast<DWORD>(OBJID_CLIENT)) {
            return std::nullopt; // the system's window object, its frame and scroll bars
        }
        if (object_ == nullptr) {
            object_ = new Object(this);
        }
        return ::LresultFromObject(__uuidof(IAccessible), wParam, object_);
    }
    if (message == ActionMessage()) {
        if (content_.controls != nullptr) {
            content_.controls->act(static_cast<int>(wParam), ControlAction::Activate);
        }
        return 0;
    }
    return std::nullopt;
}

long WindowAccessibility::ChildOf(int id) const {
    if (content_.controls == nullptr || id < 0) {
        return 0;
    }
    const std::vector<Control> controls = content_.controls->controls();
    for (std::size_t i = 0; i < controls.size(); ++i) {
        if (controls[i].id == id) {
            return static_cast<long>(i) + 1;
        }
    }
    return 0;
}

void WindowAccessibility::controlsChanged() {
    ::NotifyWinEvent(EVENT_OBJECT_REORDER, window_, OBJID_CLIENT, CHILDID_SELF);
}

void WindowAccessibility::focusMoved(int id) {
    const long child = ChildOf(id);
    ::NotifyWinEvent(EVENT_OBJECT_FOCUS, window_, OBJID_CLIENT, child > 0 ? child : CHILDID_SELF);
}

void WindowAccessibility::valueChanged(int id) {
    if (const long child = ChildOf(id); child > 0) {
        ::NotifyWinEvent(EVENT_OBJECT_VALUECHANGE, window_, OBJID_CLIENT, child);
    }
}

} // namespace quorvel
