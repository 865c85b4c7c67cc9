#include "assign/key_codes.h"

#include <cstddef>
#include <iterator>

#include "assign/dialog_lists.h"
#include "assign/key_name_table.h"

namespace quorvel {

namespace {

constexpr ModifierName kModifiers[] = {
    {"Left Ctrl", 0x01},  {"Left Shift", 0x02},  {"Left Alt", 0x04},  {"Left Win", 0x08},
    {"Right Ctrl", 0x10}, {"Right Shift", 0x20}, {"Right Alt", 0x40}, {"Right Win", 0x80},
};
static_assert(std::size(kModifiers) == kModifierCount);

} // namespace

std::span<const KeyName> KeyNameTable() {
    return kKeyNames;
}

Byte KeyCodeFromName(std::string_view name) {
    for (const KeyName& key : kKeyNames) {
        if (key.name == name) {
            return key.code;
        }
    }
    return 0;
}

std::string_view KeyNameFromCode(Byte code) {
    for (const KeyName& key : kKeyNames) {
        if (key.code == code) {
            return key.name;
        }
    }
    return {};
}

std::span<const ModifierName> ModifierTable() {
    return kModifiers;
}

Byte ModifierBitFromName(std::string_view name) {
    for (const ModifierName& modifier : kModifiers) {
        if (modifier.name == name) {
            return modifier.bit;
        }
    }
    return 0;
}

Byte FireKeyCode(int position) {
    const FireKeyEntry* entry = EntryAt(FireKeyList(), position);
    return entry != nullptr ? entry->code : Byte{0};
}

std::uint16_t MediaUsage(int position) {
    const ConsumerKeyEntry* entry = EntryAt(MediaKeyList(), position);
    return entry != nullptr ? entry->usage : std::uint16_t{0};
}

std::uint16_t ApplicationUsage(int position) {
    const ConsumerKeyEntry* entry = EntryAt(ApplicationKeyList(), position);
    return entry != nullptr ? entry->usage : std::uint16_t{0};
}

} // namespace quorvel
