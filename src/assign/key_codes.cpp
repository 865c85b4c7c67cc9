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

namespace {

// Set-1 scan codes of the keys the table names, with their HID usages.
struct PcScanCode {
    int scanCode;
    bool extended;
    Byte code;
};
// clang-format off
constexpr PcScanCode kPcScanCodes[] = {
    {0x01, false, 0x29}, // Esc
    {0x02, false, 0x1E}, {0x03, false, 0x1F}, {0x04, false, 0x20}, {0x05, false, 0x21}, {0x06, false, 0x22},
    {0x07, false, 0x23}, {0x08, false, 0x24}, {0x09, false, 0x25}, {0x0A, false, 0x26}, {0x0B, false, 0x27},
    {0x0C, false, 0x2D}, {0x0D, false, 0x2E}, {0x0E, false, 0x2A}, {0x0F, false, 0x2B}, // - = Backspace Tab
    {0x10, false, 0x14}, {0x11, false, 0x1A}, {0x12, false, 0x08}, {0x13, false, 0x15}, {0x14, false, 0x17},
    {0x15, false, 0x1C}, {0x16, false, 0x18}, {0x17, false, 0x0C}, {0x18, false, 0x12}, {0x19, false, 0x13},
    {0x1A, false, 0x2F}, {0x1B, false, 0x30}, {0x1C, false, 0x28}, {0x1C, true, 0x58}, // [ ] Enter, Num Enter
    {0x1D, false, 0xE0}, {0x1D, true, 0xE4},                                           // Ctrl, Right Ctrl
    {0x1E, false, 0x04}, {0x1F, false, 0x16}, {0x20, false, 0x07}, {0x21, false, 0x09}, {0x22, false, 0x0A},
    {0x23, false, 0x0B}, {0x24, false, 0x0D}, {0x25, false, 0x0E}, {0x26, false, 0x0F},
    {0x27, false, 0x33}, {0x28, false, 0x34}, {0x29, false, 0x35}, {0x2A, false, 0xE1}, // ; ' ` Shift
    {0x2C, false, 0x1D}, {0x2D, false, 0x1B}, {0x2E, false, 0x06}, {0x2F, false, 0x19}, {0x30, false, 0x05},
    {0x31, false, 0x11}, {0x32, false, 0x10},
    {0x33, false, 0x36}, {0x34, false, 0x37}, {0x35, false, 0x38}, {0x35, true, 0x54}, // , . / Num /
    {0x36, false, 0xE5}, {0x37, false, 0x55}, {0x37, true, 0x46},                      // Right Shift, Num *, Prnt Scrn
    {0x38, false, 0xE2}, {0x38, true, 0xE6}, {0x39, false, 0x2C}, {0x3A, false, 0x39}, // Alt, Right Alt, Space, Caps
    {0x3B, false, 0x3A}, {0x3C, false, 0x3B}, {0x3D, false, 0x3C}, {0x3E, false, 0x3D}, {0x3F, false, 0x3E},
    {0x40, false, 0x3F}, {0x41, false, 0x40}, {0x42, false, 0x41}, {0x43, false, 0x42}, {0x44, false, 0x43},
    // Windows gives Num Lock with the extended flag and Pause without it.
    {0x45, true, 0x53}, {0x45, false, 0x48}, {0x46, false, 0x47},                      // Num Lock, Pause, Scroll Lock
    {0x47, false, 0x5F}, {0x47, true, 0x4A}, {0x48, false, 0x60}, {0x48, true, 0x52}, // Num 7 Home, Num 8 Up
    {0x49, false, 0x61}, {0x49, true, 0x4B}, {0x4A, false, 0x56},                      // Num 9 Page Up, Num -
    {0x4B, false, 0x5C}, {0x4B, true, 0x50}, {0x4C, false, 0x5D}, {0x4D, false, 0x5E}, // Num 4 Left, Num 5, Num 6
    {0x4D, true, 0x4F}, {0x4E, false, 0x57}, {0x4F, false, 0x59}, {0x4F, true, 0x4D}, // Right, Num +, Num 1 End
    {0x50, false, 0x5A}, {0x50, true, 0x51}, {0x51, false, 0x5B}, {0x51, true, 0x4E}, // Num 2 Down, Num 3 Page Down
    {0x52, false, 0x62}, {0x52, true, 0x49}, {0x53, false, 0x63}, {0x53, true, 0x4C}, // Num 0 Insert, Num Del Delete
    {0x57, false, 0x44}, {0x58, false, 0x45},                                           // F11 F12
    {0x5B, true, 0xE3}, {0x5C, true, 0xE7},                                             // the Windows keys
};
// clang-format on

} // namespace

Byte KeyCodeFromPcScanCode(int scanCode, bool extended) {
    for (const PcScanCode& key : kPcScanCodes) {
        if (key.scanCode == scanCode && key.extended == extended) {
            return key.code;
        }
    }
    return 0;
}

std::string_view StorableKeyName(std::string_view systemName, int scanCode, bool extended) {
    for (const KeyName& key : kKeyNames) {
        if (key.name == systemName) {
            return key.name; // the table's own text: the system's may not outlive the call
        }
    }
    return KeyNameFromCode(KeyCodeFromPcScanCode(scanCode, extended));
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
