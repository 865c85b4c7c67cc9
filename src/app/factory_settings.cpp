#include "app/factory_settings.h"

#include "assign/default_buttons.h"
#include "assign/function_list.h"

namespace quorvel {

namespace {

constexpr Byte kReportRate1000Hz = 1;
// Positions in the sensor's DPI list; rising, and inside every sensor's list.
constexpr std::array<Byte, kDpiStageCount> kStageValueIndex = {1, 3, 5, 7};
constexpr Byte kStandardMode = 1;
constexpr Byte kBrightness100 = 9;
constexpr std::array<Rgb, kLoopColourCount> kLoopColours = {{
    {0xFF, 0x00, 0x00}, // red
    {0xFF, 0x80, 0x00}, // orange
    {0xFF, 0xFF, 0x00}, // yellow
    {0x00, 0xFF, 0x00}, // green
    {0x00, 0xFF, 0xFF}, // cyan
    {0x00, 0x00, 0xFF}, // blue
    {0xA0, 0x00, 0xFF}, // violet
    {0xFF, 0xFF, 0xFF}, // white
}};
constexpr Byte kMouseSpeedPosition = 6;
constexpr Byte kWheelScrollLines = 3;
constexpr Byte kDoubleClickPosition = 6;

} // namespace

DeviceConfig FactoryDeviceConfig() {
    DeviceConfig config = zeroDeviceConfig();
    SetDefaultFunctions(config);
    // The buttons the page does not show do nothing until given a function.
    for (int mode = 0; mode < 2; ++mode) {
        for (int button = kDefaultButtonCount; button < kButtonCount; ++button) {
            config.buttonSet(mode).field(kFieldFunction, button) = kFnKeyOff;
        }
    }
    config.reportRate = kReportRate1000Hz;
    config.dpiValueIndex = kStageValueIndex;
    for (int stage = 0; stage < kDpiStageCount; ++stage) {
        config.dpiStageEnabled[static_cast<std::size_t>(stage)] = 1;
    }
    config.lightingMode = kStandardMode;
    config.standardBrightness = kBrightness100;
    config.loopColourEnabled.fill(1);
    config.loopColours = kLoopColours;
    config.enhancePointerPrecision = 1;
    config.mouseSpeed = kMouseSpeedPosition;
    config.wheelScrollLines = kWheelScrollLines;
    config.doubleClickSpeed = kDoubleClickPosition;
    return config;
}

std::string FactoryConfigBin() {
    const DeviceConfig config = FactoryDeviceConfig();
    std::string bytes(1, '\0');
    bytes.append(reinterpret_cast<const char*>(config.bytes().data()), kDeviceConfigSize);
    return bytes;
}

std::string FactoryStrIni() {
    return "[Skins]\n"
           "RColor=230\n"
           "GColor=232\n"
           "BColor=238\n"
           "Path=Default\n";
}

} // namespace quorvel
