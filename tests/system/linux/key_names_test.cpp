#include <gtest/gtest.h>
#include <linux/input-event-codes.h>

#include <map>
#include <set>

#include "assign/key_codes.h"
#include "system/linux/key_names.h"

namespace quorvel {
namespace {

// The HID Keyboard/Keypad usage of every key that has one, by its Linux
// input event code, as a USB keyboard reports it to the kernel.
// clang-format off
const std::map<int, int> kUsageOfKey = {
    {KEY_A, 0x04}, {KEY_B, 0x05}, {KEY_C, 0x06}, {KEY_D, 0x07}, {KEY_E, 0x08}, {KEY_F, 0x09},
    {KEY_G, 0x0A}, {KEY_H, 0x0B}, {KEY_I, 0x0C}, {KEY_J, 0x0D}, {KEY_K, 0x0E}, {KEY_L, 0x0F},
    {KEY_M, 0x10}, {KEY_N, 0x11}, {KEY_O, 0x12}, {KEY_P, 0x13}, {KEY_Q, 0x14}, {KEY_R, 0x15},
    {KEY_S, 0x16}, {KEY_T, 0x17}, {KEY_U, 0x18}, {KEY_V, 0x19}, {KEY_W, 0x1A}, {KEY_X, 0x1B},
    {KEY_Y, 0x1C}, {KEY_Z, 0x1D},
    {KEY_1, 0x1E}, {KEY_2, 0x1F}, {KEY_3, 0x20}, {KEY_4, 0x21}, {KEY_5, 0x22}, {KEY_6, 0x23},
    {KEY_7, 0x24}, {KEY_8, 0x25}, {KEY_9, 0x26}, {KEY_0, 0x27},
    {KEY_ENTER, 0x28}, {KEY_ESC, 0x29}, {KEY_BACKSPACE, 0x2A}, {KEY_TAB, 0x2B}, {KEY_SPACE, 0x2C},
    {KEY_MINUS, 0x2D}, {KEY_EQUAL, 0x2E}, {KEY_LEFTBRACE, 0x2F}, {KEY_RIGHTBRACE, 0x30},
    {KEY_BACKSLASH, 0x31}, {KEY_SEMICOLON, 0x33}, {KEY_APOSTROPHE, 0x34}, {KEY_GRAVE, 0x35},
    {KEY_COMMA, 0x36}, {KEY_DOT, 0x37}, {KEY_SLASH, 0x38}, {KEY_CAPSLOCK, 0x39},
    {KEY_F1, 0x3A}, {KEY_F2, 0x3B}, {KEY_F3, 0x3C}, {KEY_F4, 0x3D}, {KEY_F5, 0x3E}, {KEY_F6, 0x3F},
    {KEY_F7, 0x40}, {KEY_F8, 0x41}, {KEY_F9, 0x42}, {KEY_F10, 0x43}, {KEY_F11, 0x44}, {KEY_F12, 0x45},
    {KEY_SYSRQ, 0x46}, {KEY_SCROLLLOCK, 0x47}, {KEY_PAUSE, 0x48}, {KEY_INSERT, 0x49}, {KEY_HOME, 0x4A},
    {KEY_PAGEUP, 0x4B}, {KEY_DELETE, 0x4C}, {KEY_END, 0x4D}, {KEY_PAGEDOWN, 0x4E},
    {KEY_RIGHT, 0x4F}, {KEY_LEFT, 0x50}, {KEY_DOWN, 0x51}, {KEY_UP, 0x52},
    {KEY_NUMLOCK, 0x53}, {KEY_KPSLASH, 0x54}, {KEY_KPASTERISK, 0x55}, {KEY_KPMINUS, 0x56},
    {KEY_KPPLUS, 0x57}, {KEY_KPENTER, 0x58},
    {KEY_KP1, 0x59}, {KEY_KP2, 0x5A}, {KEY_KP3, 0x5B}, {KEY_KP4, 0x5C}, {KEY_KP5, 0x5D},
    {KEY_KP6, 0x5E}, {KEY_KP7, 0x5F}, {KEY_KP8, 0x60}, {KEY_KP9, 0x61}, {KEY_KP0, 0x62},
    {KEY_KPDOT, 0x63}, {KEY_102ND, 0x64}, {KEY_COMPOSE, 0x65},
    {KEY_F13, 0x68}, {KEY_F14, 0x69}, {KEY_F15, 0x6A}, {KEY_F16, 0x6B}, {KEY_F17, 0x6C},
    {KEY_F18, 0x6D}, {KEY_F19, 0x6E}, {KEY_F20, 0x6F}, {KEY_F21, 0x70}, {KEY_F22, 0x71},
    {KEY_F23, 0x72}, {KEY_F24, 0x73},
    {KEY_LEFTCTRL, 0xE0}, {KEY_LEFTSHIFT, 0xE1}, {KEY_LEFTALT, 0xE2}, {KEY_LEFTMETA, 0xE3},
    {KEY_RIGHTCTRL, 0xE4}, {KEY_RIGHTSHIFT, 0xE5}, {KEY_RIGHTALT, 0xE6}, {KEY_RIGHTMETA, 0xE7},
};
// clang-format on

TEST(KeyNames, EveryNameTheTableKnowsStoresTheKeysOwnCode) {
    int known = 0;
    for (int scanCode = 0; scanCode <= KEY_MAX; ++scanCode) {
        const std::string_view name = KeyNameFromScanCode(scanCode);
        const Byte code = KeyCodeFromName(name);
        if (code == 0) {
            continue;
        }
        ++known;
        const auto usage = kUsageOfKey.find(scanCode);
        ASSERT_NE(usage, kUsageOfKey.end()) << name << " names a key without a keyboard usage";
        EXPECT_EQ(code, usage->second) << "\"" << name << "\" from scan code " << scanCode;
    }
    // Every keyboard name of the table but the non-US "#" key, which a US
    // layout does not name, comes from some key.
    EXPECT_EQ(known, kKeyNameCount - 3 - 1);
}

TEST(KeyNames, EveryKeyboardNameOfTheTableComesFromItsKey) {
    for (const KeyName& key : KeyNameTable()) {
        if (key.code >= 0xF0 || key.code == 0x32) {
            continue; // the mouse buttons, and the non-US "#" key
        }
        const int scanCode = ScanCodeFromKeyName(key.name);
        ASSERT_NE(scanCode, 0) << key.name;
        EXPECT_EQ(kUsageOfKey.at(scanCode), key.code) << key.name;
    }
}

TEST(KeyNames, LeftAndRightModifiersAreToldApart) {
    const struct {
        int scanCode;
        const char* name;
        Byte code;
    } cases[] = {
        {KEY_LEFTCTRL, "Ctrl", 0xE0},
        {KEY_RIGHTCTRL, "Right Ctrl", 0xE4},
        {KEY_LEFTSHIFT, "Shift", 0xE1},
        {KEY_RIGHTSHIFT, "Right Shift", 0xE5},
        {KEY_LEFTALT, "Alt", 0xE2},
        {KEY_RIGHTALT, "Right Alt", 0xE6},
        {KEY_LEFTMETA, "Left Windows", 0xE3},
        {KEY_RIGHTMETA, "Right Windows", 0xE7},
        {KEY_ENTER, "Enter", 0x28},
        {KEY_KPENTER, "Num Enter", 0x58},
        {KEY_DELETE, "Delete", 0x4C},
        {KEY_KPDOT, "Num Del", 0x63},
        {KEY_0, "0", 0x27},
        {KEY_KP0, "Num 0", 0x62},
    };
    for (const auto& row : cases) {
        EXPECT_EQ(KeyNameFromScanCode(row.scanCode), row.name);
        EXPECT_EQ(KeyCodeFromName(KeyNameFromScanCode(row.scanCode)), row.code) << row.name;
    }
}

TEST(KeyNames, KeysTheTableDoesNotKnow) {
    // Named but without a code: they store no key.
    EXPECT_EQ(KeyNameFromScanCode(KEY_BACKSLASH), "\\");
    EXPECT_EQ(KeyNameFromScanCode(KEY_COMPOSE), "Application");
    EXPECT_EQ(KeyNameFromScanCode(KEY_F13), "F13");
    EXPECT_EQ(KeyCodeFromName("\\"), 0);
    EXPECT_EQ(KeyCodeFromName("F13"), 0);
    // Without a name at all.
    for (const int scanCode : {0, KEY_VOLUMEUP, KEY_MUTE, KEY_POWER, -1, KEY_MAX + 1}) {
        EXPECT_EQ(KeyNameFromScanCode(scanCode), "") << scanCode;
    }
    EXPECT_EQ(ScanCodeFromKeyName(""), 0);
    EXPECT_EQ(ScanCodeFromKeyName("Left Ctrl"), 0) << "a modifier-list name, not a key name";
}

TEST(KeyNames, XkbKeycodesAreScanCodesMovedUpByEight) {
    EXPECT_EQ(KeyNameFromXkbKeycode(KEY_A + 8), "A");
    EXPECT_EQ(KeyNameFromXkbKeycode(KEY_RIGHTCTRL + 8), "Right Ctrl");
    EXPECT_EQ(KeyNameFromXkbKeycode(KEY_KP5 + 8), "Num 5");
    EXPECT_EQ(KeyNameFromXkbKeycode(KEY_ESC), "") << "keycodes below 8 name nothing";
    EXPECT_EQ(KeyNameFromXkbKeycode(0), "");
}

} // namespace
} // namespace quorvel
