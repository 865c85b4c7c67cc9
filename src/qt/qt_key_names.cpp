#include "qt/qt_key_names.h"

#include "system/linux/key_names.h"

namespace quorvel {

namespace {

// Keys away from the keypad, by the key (or shifted character) a US layout
// gives them.
// clang-format off
constexpr QtKeyName kMainKeys[] = {
    {Qt::Key_Escape, "Esc"}, {Qt::Key_Tab, "Tab"}, {Qt::Key_Backtab, "Tab"},
    {Qt::Key_Backspace, "Backspace"}, {Qt::Key_Return, "Enter"}, {Qt::Key_Enter, "Enter"},
    {Qt::Key_Insert, "Insert"}, {Qt::Key_Delete, "Delete"}, {Qt::Key_Pause, "Pause"},
    {Qt::Key_Print, "Prnt Scrn"}, {Qt::Key_SysReq, "Prnt Scrn"},
    {Qt::Key_Home, "Home"}, {Qt::Key_End, "End"}, {Qt::Key_Left, "Left"}, {Qt::Key_Up, "Up"},
    {Qt::Key_Right, "Right"}, {Qt::Key_Down, "Down"}, {Qt::Key_PageUp, "Page Up"},
    {Qt::Key_PageDown, "Page Down"},
    {Qt::Key_Shift, "Shift"}, {Qt::Key_Control, "Ctrl"}, {Qt::Key_Meta, "Left Windows"},
    {Qt::Key_Alt, "Alt"}, {Qt::Key_AltGr, "Right Alt"}, {Qt::Key_Super_L, "Left Windows"},
    {Qt::Key_Super_R, "Right Windows"}, {Qt::Key_Menu, "Application"},
    {Qt::Key_CapsLock, "Caps Lock"}, {Qt::Key_NumLock, "Num Lock"}, {Qt::Key_ScrollLock, "Scroll Lock"},
    {Qt::Key_F1, "F1"}, {Qt::Key_F2, "F2"}, {Qt::Key_F3, "F3"}, {Qt::Key_F4, "F4"},
    {Qt::Key_F5, "F5"}, {Qt::Key_F6, "F6"}, {Qt::Key_F7, "F7"}, {Qt::Key_F8, "F8"},
    {Qt::Key_F9, "F9"}, {Qt::Key_F10, "F10"}, {Qt::Key_F11, "F11"}, {Qt::Key_F12, "F12"},
    {Qt::Key_Space, "Space"},
    {Qt::Key_1, "1"}, {Qt::Key_Exclam, "1"}, {Qt::Key_2, "2"}, {Qt::Key_At, "2"},
    {Qt::Key_3, "3"}, {Qt::Key_NumberSign, "3"}, {Qt::Key_4, "4"}, {Qt::Key_Dollar, "4"},
    {Qt::Key_5, "5"}, {Qt::Key_Percent, "5"}, {Qt::Key_6, "6"}, {Qt::Key_AsciiCircum, "6"},
    {Qt::Key_7, "7"}, {Qt::Key_Ampersand, "7"}, {Qt::Key_8, "8"}, {Qt::Key_Asterisk, "8"},
    {Qt::Key_9, "9"}, {Qt::Key_ParenLeft, "9"}, {Qt::Key_0, "0"}, {Qt::Key_ParenRight, "0"},
    {Qt::Key_Minus, "-"}, {Qt::Key_Underscore, "-"}, {Qt::Key_Equal, "="},
    {Qt::Key_Plus, "="}, {Qt::Key_BracketLeft, "["}, {Qt::Key_BraceLeft, "["},
    {Qt::Key_BracketRight, "]"}, {Qt::Key_BraceRight, "]"},
    {Qt::Key_Semicolon, ";"}, {Qt::Key_Colon, ";"},
    {Qt::Key_Apostrophe, "'"}, {Qt::Key_QuoteDbl, "'"},
    {Qt::Key_QuoteLeft, "`"}, {Qt::Key_AsciiTilde, "`"},
    {Qt::Key_Backslash, "\\"}, {Qt::Key_Bar, "\\"},
    {Qt::Key_Comma, ","}, {Qt::Key_Less, ","}, {Qt::Key_Period, "."},
    {Qt::Key_Greater, "."}, {Qt::Key_Slash, "/"}, {Qt::Key_Question, "/"},
};

// The keypad, with Num Lock on and off.
constexpr QtKeyName kKeypadKeys[] = {
    {Qt::Key_0, "Num 0"}, {Qt::Key_Insert, "Num 0"}, {Qt::Key_1, "Num 1"}, {Qt::Key_End, "Num 1"},
    {Qt::Key_2, "Num 2"}, {Qt::Key_Down, "Num 2"}, {Qt::Key_3, "Num 3"}, {Qt::Key_PageDown, "Num 3"},
    {Qt::Key_4, "Num 4"}, {Qt::Key_Left, "Num 4"}, {Qt::Key_5, "Num 5"}, {Qt::Key_Clear, "Num 5"},
    {Qt::Key_6, "Num 6"}, {Qt::Key_Right, "Num 6"}, {Qt::Key_7, "Num 7"}, {Qt::Key_Home, "Num 7"},
    {Qt::Key_8, "Num 8"}, {Qt::Key_Up, "Num 8"}, {Qt::Key_9, "Num 9"}, {Qt::Key_PageUp, "Num 9"},
    {Qt::Key_Period, "Num Del"}, {Qt::Key_Comma, "Num Del"}, {Qt::Key_Delete, "Num Del"},
    {Qt::Key_Slash, "Num /"}, {Qt::Key_Asterisk, "Num *"}, {Qt::Key_Minus, "Num -"},
    {Qt::Key_Plus, "Num +"}, {Qt::Key_Enter, "Num Enter"}, {Qt::Key_Return, "Num Enter"},
};
// clang-format on

constexpr std::string_view kLetters = "ABCDEFGHIJKLMNOPQRSTUVWXYZ";

std::string_view Find(std::span<const QtKeyName> table, int key) {
    for (const QtKeyName& row : table) {
        if (row.key == key) {
            return row.name;
        }
    }
    return {};
}

// The name of the key that gives `key` on a US layout, with the keypad
// modifier for the keys of the numeric keypad.
std::string_view NameOfQtKey(int key, bool keypad) {
    if (keypad) {
        return Find(kKeypadKeys, key);
    }
    if (key >= Qt::Key_A && key <= Qt::Key_Z) {
        return kLetters.substr(static_cast<std::size_t>(key - Qt::Key_A), 1);
    }
    return Find(kMainKeys, key);
}

} // namespace

std::span<const QtKeyName> QtMainKeyNames() {
    return kMainKeys;
}

std::span<const QtKeyName> QtKeypadKeyNames() {
    return kKeypadKeys;
}

std::string_view KeyNameOf(const QKeyEvent& event) {
    const int keycode = static_cast<int>(event.nativeScanCode());
    if (keycode >= kXkbKeycodeOffset) {
        return KeyNameFromXkbKeycode(keycode);
    }
    // Only names of the system's key-name source, which holds the scan codes.
    return KeyNameFromScanCode(
        ScanCodeFromKeyName(NameOfQtKey(event.key(), event.modifiers().testFlag(Qt::KeypadModifier))));
}

} // namespace quorvel
