#include "win32/key_name.h"

#include <windows.h>

#include "assign/key_codes.h"
#include "system/windows/system_info.h"

namespace quorvel {

std::string KeyNameOfMessage(int scanCode, bool extended) {
    std::string system = KeyNameFromScanCode(scanCode, extended);
    const std::string_view stored = StorableKeyName(system, scanCode, extended);
    return stored.empty() ? system : std::string(stored);
}

std::optional<NavigationKey> NavigationKeyPressed(unsigned virtualKey) {
    const auto held = [](int key) { return (::GetKeyState(key) & 0x8000) != 0; };
    if (held(VK_CONTROL) || held(VK_MENU)) {
        return std::nullopt;
    }
    switch (virtualKey) {
    case VK_TAB:
        return held(VK_SHIFT) ? NavigationKey::BackTab : NavigationKey::Tab;
    case VK_SPACE:
        return NavigationKey::Space;
    case VK_RETURN:
        return NavigationKey::Enter;
    case VK_ESCAPE:
        return NavigationKey::Escape;
    case VK_LEFT:
        return NavigationKey::Left;
    case VK_RIGHT:
        return NavigationKey::Right;
    case VK_UP:
        return NavigationKey::Up;
    case VK_DOWN:
        return NavigationKey::Down;
    case VK_HOME:
        return NavigationKey::Home;
    case VK_END:
        return NavigationKey::End;
    default:
        return std::nullopt;
    }
}

bool EditKeeps(NavigationKey key) {
    return key != NavigationKey::Tab && key != NavigationKey::BackTab && key != NavigationKey::Enter &&
           key != NavigationKey::Escape;
}

} // namespace quorvel
