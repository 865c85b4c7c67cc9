#include <gtest/gtest.h>

#include "assign/default_buttons.h"
#include "assign/function_list.h"
#include "assign/key_matrices.h"

namespace quorvel {
namespace {

using Word = ButtonFunctionWord;

Word WordAt(const KeyMatrix& matrix, int slot) {
    return {matrix[static_cast<std::size_t>(slot * 4)], matrix[static_cast<std::size_t>(slot * 4 + 1)],
            matrix[static_cast<std::size_t>(slot * 4 + 2)], matrix[static_cast<std::size_t>(slot * 4 + 3)]};
}

std::uint32_t LittleEndian(const Word& w) {
    return static_cast<std::uint32_t>(w[0] | (w[1] << 8) | (w[2] << 16) | (w[3] << 24));
}

TEST(ButtonWord, EveryFunction) {
    const struct {
        const char* name;
        int function;
        std::vector<std::pair<int, Byte>> fields;
        Byte dpiChoice;
        Word word;
    } cases[] = {
        {"Left Click", kFnLeftClick, {}, 0, {0x01, 0x00, 0xF0, 0x00}},
        {"Right Click", kFnRightClick, {}, 0, {0x01, 0x00, 0xF1, 0x00}},
        {"Mid Click", kFnMidClick, {}, 0, {0x01, 0x00, 0xF2, 0x00}},
        {"Forward", kFnForward, {}, 0, {0x01, 0x00, 0xF4, 0x00}},
        {"Backward", kFnBackward, {}, 0, {0x01, 0x00, 0xF3, 0x00}},
        {"Triple-click", kFnTripleClick, {}, 0, {0x0A, 0xF0, 0x20, 0x03}},
        {"DPI Loop", kFnDpiSwitch, {}, 3, {0x07, 0x00, 0x03, 0x00}},
        {"RGB On/Off", kFnRgbOnOff, {}, 0, {0x08, 0x00, 0x03, 0x00}},
        {"Browser-Search",
         kFnWindows,
         {{kFieldApplicationUsageLow, 0x21}, {kFieldApplicationUsageHigh, 0x02}},
         0,
         {0x03, 0x00, 0x21, 0x02}},
        {"Multimedia", kFnMultimedia, {{kFieldMediaUsage, 0xB5}}, 0, {0x03, 0x00, 0xB5, 0x00}},
        {"Fire Key",
         kFnFireKey,
         {{kFieldFireCode, 0x04}, {kFieldFireSpeed, 32}, {kFieldFireTimes, 1}},
         0,
         {0x0A, 0x04, 0x20, 0x01}},
        {"Single Key", kFnSingleKey, {{kFieldSingleKey, 0x3E}}, 0, {0x00, 0x00, 0x3E, 0x00}},
        {"Combo Key",
         kFnComboKey,
         {{kFieldComboModifiers, 0x01}, {kFieldComboFirstKey, 0x04}, {kFieldComboSecondKey, 0x05}},
         0,
         {0x00, 0x01, 0x04, 0x05}},
        {"combo of a modifier alone",
         kFnComboKey,
         {{kFieldComboModifiers, 0x10}},
         0,
         {0x00, 0x10, 0x00, 0x00}},
        {"macro 1, repeat mode 3",
         kFnMacroKey,
         {{kFieldMacroPosition, 0}, {kFieldMacroRepeat, 2}},
         0,
         {0x09, 0x02, 0x01, 0x00}},
        {"Shift", kFnShift, {}, 0, {0x08, 0x00, 0x02, 0x00}},
        {"Key Off", kFnKeyOff, {}, 0, {0x00, 0x00, 0x00, 0x00}},
        {"an index past the list", 16, {}, 0, {0x00, 0x00, 0x00, 0x00}},
        {"index 255", 255, {}, 0, {0x00, 0x00, 0x00, 0x00}},
    };
    for (const auto& row : cases) {
        for (int mode = 0; mode < 2; ++mode) {
            DeviceConfig config = zeroDeviceConfig();
            config.buttonSet(mode).field(kFieldFunction, 4) = static_cast<Byte>(row.function);
            for (const auto& [k, value] : row.fields) {
                config.buttonSet(mode).field(k, 4) = value;
            }
            config.dpiSwitchChoice(mode)[4] = row.dpiChoice;
            EXPECT_EQ(ButtonWord(config, mode, 4), row.word) << row.name << ", mode " << mode;
        }
    }
}

TEST(ButtonWord, ReadAsLittleEndianValues) {
    DeviceConfig config = zeroDeviceConfig();
    config.modeA.field(kFieldFunction, 0) = kFnLeftClick;
    config.modeA.field(kFieldFunction, 1) = kFnTripleClick;
    EXPECT_EQ(LittleEndian(ButtonWord(config, 0, 0)), 0x00F00001u);
    EXPECT_EQ(LittleEndian(ButtonWord(config, 0, 1)), 0x0320F00Au);
}

TEST(KeyMatrices, DefaultButtonsFillTableOneSlotBySlot) {
    DeviceConfig config = zeroDeviceConfig();
    SetDefaultFunctions(config);
    config.modeA.field(kFieldFunction, 9) = kFnRgbOnOff;
    config.modeB.field(kFieldFunction, 0) = kFnKeyOff;
    const KeyMatrices matrices = BuildKeyMatrices(config);
    const Word expected[16] = {
        {0x01, 0x00, 0xF0, 0x00},
        {0x01, 0x00, 0xF1, 0x00},
        {0x01, 0x00, 0xF2, 0x00},
        {0x01, 0x00, 0xF4, 0x00},
        {0x01, 0x00, 0xF3, 0x00},
        {0x00, 0x00, 0x00, 0x00},
        {0x0A, 0xF0, 0x20, 0x03},
        {0x08, 0x00, 0x03, 0x00},
        {0x07, 0x00, 0x01, 0x00},
        {0x07, 0x00, 0x02, 0x00},
        {},
        {},
        {},
        {},
        {0x01, 0x00, 0xF7, 0x00},
        {0x01, 0x00, 0xF8, 0x00},
    };
    for (int slot = 0; slot < 16; ++slot) {
        EXPECT_EQ(WordAt(matrices[0], slot), expected[slot]) << "slot " << slot;
    }
    EXPECT_EQ(WordAt(matrices[2], 0), (Word{0x00, 0x00, 0x00, 0x00})) << "Mode B goes to table 3";
    EXPECT_EQ(WordAt(matrices[2], 1), (Word{0x01, 0x00, 0xF1, 0x00}));
    EXPECT_EQ(WordAt(matrices[2], 14), (Word{0x01, 0x00, 0xF7, 0x00}));
    EXPECT_EQ(matrices[1], KeyMatrix{});
    EXPECT_EQ(matrices[3], KeyMatrix{});
}

TEST(KeyMatrices, ButtonsTenAndElevenNeverReachTheMouse) {
    DeviceConfig config = zeroDeviceConfig();
    DeviceConfig withExtras = config;
    for (int button : {10, 11}) {
        withExtras.modeA.field(kFieldFunction, button) = kFnRgbOnOff;
        withExtras.modeB.field(kFieldFunction, button) = kFnShift;
    }
    EXPECT_EQ(BuildKeyMatrices(config), BuildKeyMatrices(withExtras));
}

} // namespace
} // namespace quorvel
