#include "system/windows/system_info.h"

#include <vector>
#include <windows.h>

#include "system/windows/wide_text.h"

namespace quorvel {

std::uint16_t SystemDefaultLangId() {
    return ::GetUserDefaultUILanguage();
}

std::filesystem::path ExecutablePath() {
    // The path may be longer than MAX_PATH; grow until it fits.
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        const DWORD length = ::GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0) {
            return {};
        }
        if (length < buffer.size()) {
            return std::filesystem::path(std::wstring(buffer.data(), length));
        }
        buffer.resize(buffer.size() * 2);
    }
}

std::string KeyNameFromScanCode(int scanCode, bool extended) {
    const LONG parameter = static_cast<LONG>(((scanCode & 0xFF) << 16) | (extended ? 1 << 24 : 0));
    wchar_t name[64] = {};
    const int length = ::GetKeyNameTextW(parameter, name, static_cast<int>(std::size(name)));
    return length > 0 ? Utf8FromWide(std::wstring_view(name, static_cast<std::size_t>(length)))
                      : std::string();
}

} // namespace quorvel
