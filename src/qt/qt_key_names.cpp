#include "qt/qt_key_names.h"

#include <linux/input-event-codes.h>

#include <span>

#include "system/linux/key_names.h"

namespace quorvel {

namespace {

struct QtKeyScanCode {
    int key;
    int scanCode;
};

// Keys away from the keypad, by the key (or shifted character) a US layout
// gives them.
// clang-format off
constexpr QtKeyScanCode kMainKeys[] = {
    {Qt::Key_Escape, KEY_ESC}, {Qt::Key_Tab, KEY_TAB}, {Qt::Key_Backtab, KEY_TAB},
    {Qt::Key_Backspace, KEY_BACKSPACE}, {Qt::Key_Return, KEY_ENTER}, {Qt::Key_Enter, KEY_ENTER},
    {Qt::Key_Insert, KEY_INSERT}, {Qt::Key_Delete, KEY_DELETE}, {Qt::Key_Pause, KEY_PAUSE},
    {Qt::Key_Print, KEY_SYSRQ}, {Qt::Key_SysReq, KEY_SYSRQ},
    {Qt::Key_Home, KEY_HOME}, {Qt::Key_End, KEY_END}, {Qt::Key_Left, KEY_LEFT}, {Qt::Key_Up, KEY_UP},
    {Qt::Key_Right, KEY_RIGHT}, {Qt::Key_Down, KEY_DOWN}, {Qt::Key_PageUp, KEY_PAGEUP},
    {Qt::Key_PageDown, KEY_PAGEDOWN},
    {Qt::Key_Shift, KEY_LEFTSHIFT}, {Qt::Key_Control, KEY_LEFTCTRL}, {Qt::Key_Meta, KEY_LEFTMETA},
    {Qt::Key_Alt, KEY_LEFTALT}, {Qt::Key_AltGr, KEY_RIGHTALT}, {Qt::Key_Super_L, KEY_LEFTMETA},
    {Qt::Key_Super_R, KEY_RIGHTMETA}, {Qt::Key_Menu, KEY_COMPOSE},
    {Qt::Key_CapsLock, KEY_CAPSLOCK}, {Qt::Key_NumLock, KEY_NUMLOCK}, {Qt::Key_ScrollLock, KEY_SCROLLLOCK},
    {Qt::Key_F1, KEY_F1}, {Qt::Key_F2, KEY_F2}, {Qt::Key_F3, KEY_F3}, {Qt::Key_F4, KEY_F4},
    {Qt::Key_F5, KEY_F5}, {Qt::Key_F6, KEY_F6}, {Qt::Key_F7, KEY_F7}, {Qt::Key_F8, KEY_F8},
    {Qt::Key_F9, KEY_F9}, {Qt::Key_F10, KEY_F10}, {Qt::Key_F11, KEY_F11}, {Qt::Key_F12, KEY_F12},
    {Qt::Key_Space, KEY_SPACE},
    {Qt::Key_1, KEY_1}, {Qt::Key_Exclam, KEY_1}, {Qt::Key_2, KEY_2}, {Qt::Key_At, KEY_2},
    {Qt::Key_3, KEY_3}, {Qt::Key_NumberSign, KEY_3}, {Qt::Key_4, KEY_4}, {Qt::Key_Dollar, KEY_4},
    {Qt::Key_5, KEY_5}, {Qt::Key_Percent, KEY_5}, {Qt::Key_6, KEY_6}, {Qt::Key_AsciiCircum, KEY_6},
    {Qt::Key_7, KEY_7}, {Qt::Key_Ampersand, KEY_7}, {Qt::Key_8, KEY_8}, {Qt::Key_Asterisk, KEY_8},
    {Qt::Key_9, KEY_9}, {Qt::Key_ParenLeft, KEY_9}, {Qt::Key_0, KEY_0}, {Qt::Key_ParenRight, KEY_0},
    {Qt::Key_Minus, KEY_MINUS}, {Qt::Key_Underscore, KEY_MINUS}, {Qt::Key_Equal, KEY_EQUAL},
    {Qt::Key_Plus, KEY_EQUAL}, {Qt::Key_BracketLeft, KEY_LEFTBRACE}, {Qt::Key_BraceLeft, KEY_LEFTBRACE},
    {Qt::Key_BracketRight, KEY_RIGHTBRACE}, {Qt::Key_BraceRight, KEY_RIGHTBRACE},
    {Qt::Key_Semicolon, KEY_SEMICOLON}, {Qt::Key_Colon, KEY_SEMICOLON},
    {Qt::Key_Apostrophe, KEY_APOSTROPHE}, {Qt::Key_QuoteDbl, KEY_APOSTROPHE},
    {Qt::Key_QuoteLeft, KEY_GRAVE}, {Qt::Key_AsciiTilde, KEY_GRAVE},
    {Qt::Key_Backslash, KEY_BACKSLASH}, {Qt::Key_Bar, KEY_BACKSLASH},
    {Qt::Key_Comma, KEY_COMMA}, {Qt::Key_Less, KEY_COMMA}, {Qt::Key_Period, KEY_DOT},
    {Qt::Key_Greater, KEY_DOT}, {Qt::Key_Slash, KEY_SLASH}, {Qt::Key_Question, KEY_SLASH},
};

// The keypad, with Num Lock on and off.
constexpr QtKeyScanCode kKeypadKeys[] = {
    {Qt::Key_0, KEY_KP0}, {Qt::Key_Insert, KEY_KP0}, {Qt::Key_1, KEY_KP1}, {Qt::Key_End, KEY_KP1},
    {Qt::Key_2, KEY_KP2}, {Qt::Key_Down, KEY_KP2}, {Qt::Key_3, KEY_KP3}, {Qt::Key_PageDown, KEY_KP3},
    {Qt::Key_4, KEY_KP4}, {Qt::Key_Left, KEY_KP4}, {Qt::Key_5, KEY_KP5}, {Qt::Key_Clear, KEY_KP5},
    {Qt::Key_6, KEY_KP6}, {Qt::Key_Right, KEY_KP6}, {Qt::Key_7, KEY_KP7}, {Qt::Key_Home, KEY_KP7},
    {Qt::Key_8, KEY_KP8}, {Qt::Key_Up, KEY_KP8}, {Qt::Key_9, KEY_KP9}, {Qt::Key_PageUp, KEY_KP9},
    {Qt::Key_Period, KEY_KPDOT}, {Qt::Key_Comma, KEY_KPDOT}, {Qt::Key_Delete, KEY_KPDOT},
    {Qt::Key_Slash, KEY_KPSLASH}, {Qt::Key_Asterisk, KEY_KPASTERISK}, {Qt::Key_Minus, KEY_KPMINUS},
    {Qt::Key_Plus, KEY_KPPLUS}, {Qt::Key_Enter, KEY_KPENTER}, {Qt::Key_Return, KEY_KPENTER},
};

// The letters, in alphabetical order.
constexpr int kLetterScanCodes[] = {
    KEY_A, KEY_B, KEY_C, KEY_D, KEY_E, KEY_F, KEY_G, KEY_H, KEY_I, KEY_J, KEY_K, KEY_L, KEY_M,
    KEY_N, KEY_O, KEY_P, KEY_Q, KEY_R, KEY_S, KEY_T, KEY_U, KEY_V, KEY_W, KEY_X, KEY_Y, KEY_Z,
};
// clang-format on

int Find(std::span<const QtKeyScanCode> table, int key) {
    for (const QtKeyScanCode& row : table) {
        if (row.key == key) {
            return row.scanCode;
        }
    }
    return 0;
}

} // namespace

int ScanCodeOfQtKey(int key, bool keypad) {
    if (keypad) {
        return Find(kKeypadKeys, key);
    }
    if (key >= Qt::Key_A && key <= Qt::Key_Z) {
        return kLetterScanCodes[key - Qt::Key_A];
    }
    return Find(kMainKeys, key);
}

std::string_view KeyNameOf(const QKeyEvent& event) {
    const int keycode = static_cast<int>(event.nativeScanCode());
    if (keycode >= kXkbKeycodeOffset) {
        return KeyNameFromXkbKeycode(keycode);
    }
    return KeyNameFromScanCode(ScanCodeOfQtKey(event.key(), event.modifiers().testFlag(Qt::KeypadModifier)));
}

} // namespace quorvel
