#pragma once

#include <windows.h>

#include <oleacc.h>
// The system's headers name COM interfaces with a macro that the core's
// headers would take for a word of theirs.
#undef interface

#include <memory>
#include <optional>
#include <string>

#include "system/windows/wide_text.h"

namespace quorvel::testing {

// A window's client object as a screen reader gets it: through the system,
// WM_GETOBJECT and all.
struct ReleaseAccessible {
    void operator()(IAccessible* object) const { object->Release(); }
};
using Accessible = std::unique_ptr<IAccessible, ReleaseAccessible>;

inline Accessible AccessibleOf(HWND window) {
    IAccessible* object = nullptr;
    if (::AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                     reinterpret_cast<void**>(&object)) != S_OK) {
        return nullptr;
    }
    return Accessible(object);
}

inline VARIANT Child(long child) {
    VARIANT v;
    ::VariantInit(&v);
    v.vt = VT_I4;
    v.lVal = child;
    return v;
}

inline std::string TakeText(HRESULT result, BSTR text) {
    std::string utf8 = result == S_OK && text != nullptr
                           ? Utf8FromWide(std::wstring(text, ::SysStringLen(text)))
                           : std::string();
    ::SysFreeString(text);
    return utf8;
}

inline std::string NameOf(IAccessible& object, long child) {
    BSTR name = nullptr;
    const HRESULT result = object.get_accName(Child(child), &name);
    return TakeText(result, name);
}

inline std::string ValueOf(IAccessible& object, long child) {
    BSTR value = nullptr;
    const HRESULT result = object.get_accValue(Child(child), &value);
    return TakeText(result, value);
}

inline long RoleOf(IAccessible& object, long child) {
    VARIANT role;
    ::VariantInit(&role);
    return object.get_accRole(Child(child), &role) == S_OK && role.vt == VT_I4 ? role.lVal : -1;
}

inline long StateOf(IAccessible& object, long child) {
    VARIANT state;
    ::VariantInit(&state);
    return object.get_accState(Child(child), &state) == S_OK && state.vt == VT_I4 ? state.lVal : -1;
}

inline long ChildCount(IAccessible& object) {
    long count = -1;
    object.get_accChildCount(&count);
    return count;
}

// The focused child (CHILDID_SELF: the window itself), nothing when the
// window has no focus.
inline std::optional<long> FocusOf(IAccessible& object) {
    VARIANT focus;
    ::VariantInit(&focus);
    if (object.get_accFocus(&focus) != S_OK || focus.vt != VT_I4) {
        return std::nullopt;
    }
    return focus.lVal;
}

// The child of that role and name, 0 when there is none.
inline long FindChild(IAccessible& object, long role, const std::string& name) {
    const long count = ChildCount(object);
    for (long child = 1; child <= count; ++child) {
        if (RoleOf(object, child) == role && NameOf(object, child) == name) {
            return child;
        }
    }
    return 0;
}

// What a reader says has the focus in `window`: the focused control's name
// and value; empty when no control has it.
struct Focus {
    std::string name;
    std::string value;
    long state = 0;
};
inline Focus FocusIn(HWND window) {
    const Accessible object = AccessibleOf(window);
    if (!object) {
        return {};
    }
    const std::optional<long> child = FocusOf(*object);
    if (!child || *child == CHILDID_SELF) {
        return {};
    }
    return {NameOf(*object, *child), ValueOf(*object, *child), StateOf(*object, *child)};
}

// A key pressed and released through the system's input queue, as the
// keyboard sends it to the window with the focus (the program's keyboard
// hook watches that queue; posted key messages pass it by). With `shift`,
// Shift is held around it.
inline void Press(WORD virtualKey, bool shift = false) {
    INPUT keys[4] = {};
    UINT count = 0;
    const auto add = [&](WORD key, bool release) {
        const bool extended = key == VK_LEFT || key == VK_RIGHT || key == VK_UP || key == VK_DOWN ||
                              key == VK_HOME || key == VK_END;
        INPUT& input = keys[count++];
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = key;
        input.ki.wScan = static_cast<WORD>(::MapVirtualKeyW(key, MAPVK_VK_TO_VSC));
        input.ki.dwFlags = (release ? KEYEVENTF_KEYUP : 0) | (extended ? KEYEVENTF_EXTENDEDKEY : 0);
    };
    if (shift) {
        add(VK_SHIFT, false);
    }
    add(virtualKey, false);
    add(virtualKey, true);
    if (shift) {
        add(VK_SHIFT, true);
    }
    ::SendInput(count, keys, sizeof(INPUT));
}

} // namespace quorvel::testing
