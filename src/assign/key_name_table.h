#pragma once

#include <iterator>

#include "assign/key_codes.h"

namespace quorvel {

// The key-name table itself, for the lists that show some of its keys (the
// Fire-key list takes their names and codes from here); everyone else reads
// it through KeyNameTable() and KeyCodeFromName().

// Usage 0x31 (backslash on a US keyboard) has no entry, so that key stores no
// code. "Eurpo(Note 2)", spelled so on purpose, names usage 0x32, the non-US "#"
// key of European layouts.
// clang-format off
inline constexpr KeyName kKeyNames[] = {
    {"A", 0x04}, {"B", 0x05}, {"C", 0x06}, {"D", 0x07}, {"E", 0x08}, {"F", 0x09}, {"G", 0x0A},
    {"H", 0x0B}, {"I", 0x0C}, {"J", 0x0D}, {"K", 0x0E}, {"L", 0x0F}, {"M", 0x10}, {"N", 0x11},
    {"O", 0x12}, {"P", 0x13}, {"Q", 0x14}, {"R", 0x15}, {"S", 0x16}, {"T", 0x17}, {"U", 0x18},
    {"V", 0x19}, {"W", 0x1A}, {"X", 0x1B}, {"Y", 0x1C}, {"Z", 0x1D},
    {"1", 0x1E}, {"2", 0x1F}, {"3", 0x20}, {"4", 0x21}, {"5", 0x22}, {"6", 0x23}, {"7", 0x24},
    {"8", 0x25}, {"9", 0x26}, {"0", 0x27},
    {"Enter", 0x28}, {"Esc", 0x29}, {"Backspace", 0x2A}, {"Tab", 0x2B}, {"Space", 0x2C},
    {"-", 0x2D}, {"=", 0x2E}, {"[", 0x2F}, {"]", 0x30},
    {"Eurpo(Note 2)", 0x32},
    {";", 0x33}, {"'", 0x34}, {"`", 0x35}, {",", 0x36}, {".", 0x37}, {"/", 0x38},
    {"Caps Lock", 0x39},
    {"F1", 0x3A}, {"F2", 0x3B}, {"F3", 0x3C}, {"F4", 0x3D}, {"F5", 0x3E}, {"F6", 0x3F}, {"F7", 0x40},
    {"F8", 0x41}, {"F9", 0x42}, {"F10", 0x43}, {"F11", 0x44}, {"F12", 0x45},
    {"Prnt Scrn", 0x46}, {"Scroll Lock", 0x47}, {"Pause", 0x48},
    {"Insert", 0x49}, {"Home", 0x4A}, {"Page Up", 0x4B}, {"Delete", 0x4C}, {"End", 0x4D},
    {"Page Down", 0x4E},
    {"Right", 0x4F}, {"Left", 0x50}, {"Down", 0x51}, {"Up", 0x52},
    {"Num Lock", 0x53}, {"Num /", 0x54}, {"Num *", 0x55}, {"Num -", 0x56}, {"Num +", 0x57},
    {"Num Enter", 0x58},
    {"Num 1", 0x59}, {"Num 2", 0x5A}, {"Num 3", 0x5B}, {"Num 4", 0x5C}, {"Num 5", 0x5D},
    {"Num 6", 0x5E}, {"Num 7", 0x5F}, {"Num 8", 0x60}, {"Num 9", 0x61}, {"Num 0", 0x62},
    {"Num Del", 0x63},
    {"Ctrl", 0xE0}, {"Shift", 0xE1}, {"Alt", 0xE2}, {"Left Windows", 0xE3},
    {"Right Ctrl", 0xE4}, {"Right Shift", 0xE5}, {"Right Alt", 0xE6}, {"Right Windows", 0xE7},
    {"L-Button", 0xF0}, {"R-Button", 0xF1}, {"M-Button", 0xF2},
};
// clang-format on
static_assert(std::size(kKeyNames) == kKeyNameCount);

} // namespace quorvel
