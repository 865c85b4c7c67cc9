#include "win32/key_name.h"

#include "assign/key_codes.h"
#include "system/windows/system_info.h"

namespace quorvel {

std::string KeyNameOfMessage(int scanCode, bool extended) {
    std::string system = KeyNameFromScanCode(scanCode, extended);
    const std::string_view stored = StorableKeyName(system, scanCode, extended);
    return stored.empty() ? system : std::string(stored);
}

} // namespace quorvel
