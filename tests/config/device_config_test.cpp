#include <gtest/gtest.h>

#include "config/device_config.h"

namespace quorvel {
namespace {

std::ptrdiff_t OffsetOf(const DeviceConfig& config, const void* field) {
    return static_cast<const Byte*>(field) - config.bytes().data();
}

TEST(DeviceConfig, EveryFieldSitsAtItsOffset) {
    DeviceConfig c = zeroDeviceConfig();
    const struct {
        const char* name;
        const void* field;
        std::ptrdiff_t offset;
    } cases[] = {
        {"Mode A", &c.modeA, 0},
        {"Mode B", &c.modeB, 192},
        {"macro slot 0", &c.macroSlots[0], 384},
        {"macro slot 11", &c.macroSlots[11], 384 + 128 * 11},
        {"reserved 1920", &c.reserved1920, 1920},
        {"report rate", &c.reportRate, 1925},
        {"reserved 1926", &c.reserved1926, 1926},
        {"DPI value index", &c.dpiValueIndex, 1927},
        {"DPI stage enabled", &c.dpiStageEnabled, 1931},
        {"reserved 1939", &c.reserved1939, 1939},
        {"lighting mode", &c.lightingMode, 1947},
        {"standard brightness", &c.standardBrightness, 1948},
        {"respiration period", &c.respirationPeriod, 1949},
        {"neon period", &c.neonPeriod, 1950},
        {"reserved lighting parameters", &c.reservedLightingParameters, 1951},
        {"reserved 1954", &c.reserved1954, 1954},
        {"enhance pointer precision", &c.enhancePointerPrecision, 1955},
        {"scroll one screen", &c.scrollOneScreen, 1956},
        {"mouse speed", &c.mouseSpeed, 1957},
        {"wheel scroll lines", &c.wheelScrollLines, 1958},
        {"double-click speed", &c.doubleClickSpeed, 1959},
        {"selected button set", &c.selectedButtonSet, 1960},
        {"DPI switch choice A", &c.dpiSwitchChoiceA, 1961},
        {"DPI switch choice B", &c.dpiSwitchChoiceB, 1973},
        {"loop colour enabled", &c.loopColourEnabled, 1985},
        {"loop colour 0", &c.loopColours[0], 1993},
        {"loop colour 7", &c.loopColours[7], 1993 + 21},
        {"DPI stage colour switches", &c.dpiStageColourSwitches, 2017},
        {"reserved 2019", &c.reserved2019, 2019},
    };
    for (const auto& row : cases) {
        EXPECT_EQ(OffsetOf(c, row.field), row.offset) << row.name;
    }
    EXPECT_EQ(sizeof(DeviceConfig), 2021u);
}

TEST(DeviceConfig, ButtonFieldKOfButtonIIsAtTwelveKPlusI) {
    DeviceConfig c = zeroDeviceConfig();
    c.modeA.field(3, 5) = 0xAA;
    c.modeB.field(15, 11) = 0xBB;
    EXPECT_EQ(c.bytes()[12 * 3 + 5], 0xAA);
    EXPECT_EQ(c.bytes()[192 + 12 * 15 + 11], 0xBB);
    EXPECT_EQ(&c.buttonSet(1), &c.modeB);
}

TEST(DeviceConfig, ColourSwitchesAreNibblesPerStage) {
    const struct {
        int stage, j, byte, bit;
    } cases[] = {{0, 0, 0, 0}, {0, 3, 0, 3}, {1, 0, 0, 4}, {1, 3, 0, 7},
                 {2, 1, 1, 1}, {3, 2, 1, 6}, {3, 3, 1, 7}};
    for (const auto& row : cases) {
        DeviceConfig c = zeroDeviceConfig();
        c.setDpiStageColourSwitch(row.stage, row.j, true);
        EXPECT_EQ(c.dpiStageColourSwitches[static_cast<std::size_t>(row.byte)], 1 << row.bit)
            << "stage " << row.stage << " switch " << row.j;
        EXPECT_TRUE(c.dpiStageColourSwitch(row.stage, row.j));
        c.setDpiStageColourSwitch(row.stage, row.j, false);
        EXPECT_EQ(c.dpiStageColourSwitches[0] | c.dpiStageColourSwitches[1], 0);
    }
}

} // namespace
} // namespace quorvel
