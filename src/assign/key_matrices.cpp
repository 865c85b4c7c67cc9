#include "assign/key_matrices.h"

#include "assign/function_list.h"

namespace quorvel {

namespace {

constexpr ButtonFunctionWord kFixedWords[kFunctionCount] = {
    {0x01, 0x00, 0xF0, 0x00}, // Left Click
    {0x01, 0x00, 0xF1, 0x00}, // Right Click
    {0x01, 0x00, 0xF2, 0x00}, // Mid Click
    {0x01, 0x00, 0xF4, 0x00}, // Forward: the fifth button
    {0x01, 0x00, 0xF3, 0x00}, // Backward: the fourth button
    {0x0A, 0xF0, 0x20, 0x03}, // Triple-click: left button repeated 3 times at speed 32
    {},                       // DPI Switch: built from the sub-choice
    {0x08, 0x00, 0x03, 0x00}, // RGB On/Off
    {},
    {},
    {},
    {},
    {},
    {},                       // functions with parameters
    {0x08, 0x00, 0x02, 0x00}, // Shift
    {0x00, 0x00, 0x00, 0x00}, // Key Off
};

// Where each of buttons 0-9 sits in a key matrix.
constexpr int kSlotOfButton[kMouseButtonCount] = {0, 1, 2, 3, 4, 8, 9, 6, 5, 7};

// Slots 14 and 15 of both filled tables carry two fixed mouse codes.
constexpr ButtonFunctionWord kSlot14Word = {0x01, 0x00, 0xF7, 0x00};
constexpr ButtonFunctionWord kSlot15Word = {0x01, 0x00, 0xF8, 0x00};

void putWord(KeyMatrix& matrix, int slot, const ButtonFunctionWord& word) {
    for (int b = 0; b < 4; ++b) {
        matrix[static_cast<std::size_t>(slot * 4 + b)] = word[static_cast<std::size_t>(b)];
    }
}

} // namespace

ButtonFunctionWord ButtonWord(const DeviceConfig& config, int mode, int button) {
    const ButtonSet& set = config.buttonSet(mode);
    auto f = [&](int k) { return set.field(k, button); };
    const int function = f(kFieldFunction);
    switch (function) {
    case kFnDpiSwitch:
        return {0x07, 0x00, config.dpiSwitchChoice(mode).at(static_cast<std::size_t>(button)), 0x00};
    case kFnWindows:
        return {0x03, 0x00, f(kFieldApplicationUsageLow), f(kFieldApplicationUsageHigh)};
    case kFnMultimedia:
        return {0x03, 0x00, f(kFieldMediaUsage), 0x00};
    case kFnFireKey:
        return {0x0A, f(kFieldFireCode), f(kFieldFireSpeed), f(kFieldFireTimes)};
    case kFnSingleKey:
        return {0x00, 0x00, f(kFieldSingleKey), 0x00};
    case kFnComboKey:
        return {0x00, f(kFieldComboModifiers), f(kFieldComboFirstKey), f(kFieldComboSecondKey)};
    case kFnMacroKey:
        return {0x09, f(kFieldMacroRepeat), static_cast<Byte>(f(kFieldMacroPosition) + 1), 0x00};
    default:
        if (function >= 0 && function < kFunctionCount) {
            return kFixedWords[function];
        }
        return {0x00, 0x00, 0x00, 0x00};
    }
}

KeyMatrices BuildKeyMatrices(const DeviceConfig& config) {
    KeyMatrices matrices{};
    for (int mode = 0; mode < 2; ++mode) {
        KeyMatrix& matrix = matrices[mode == 0 ? 0 : 2];
        for (int button = 0; button < kMouseButtonCount; ++button) {
            putWord(matrix, kSlotOfButton[button], ButtonWord(config, mode, button));
        }
        putWord(matrix, 14, kSlot14Word);
        putWord(matrix, 15, kSlot15Word);
    }
    return matrices;
}

} // namespace quorvel
