#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <type_traits>

namespace quorvel {

inline constexpr int kButtonCount = 12;      // room in every per-button array
inline constexpr int kButtonFieldCount = 16; // function index and its parameters
inline constexpr int kMacroSlotCount = 12;
inline constexpr int kMacroSlotSize = 128;
inline constexpr int kDpiStageCount = 4; // stages the interface shows
inline constexpr int kLoopColourCount = 8;

using Byte = std::uint8_t;

// One button set (Mode A or Mode B): sixteen fields of twelve bytes, one byte
// per button, so field k of button i lies at 12 * k + i.
struct ButtonSet {
    std::array<std::array<Byte, kButtonCount>, kButtonFieldCount> fields;

    Byte& field(int k, int button) {
        return fields.at(static_cast<std::size_t>(k)).at(static_cast<std::size_t>(button));
    }
    Byte field(int k, int button) const {
        return fields.at(static_cast<std::size_t>(k)).at(static_cast<std::size_t>(button));
    }
};

// The device form of one macro: a big-endian 16-bit loop count, then event pairs.
using MacroSlot = std::array<Byte, kMacroSlotSize>;

struct Rgb {
    Byte red;
    Byte green;
    Byte blue;
};

// Everything the program sets in the mouse, byte for byte as config.bin and
// the Apply sequence carry it. Only bytes: the record has no padding, so its
// layout is exactly the field order below.
struct DeviceConfig {
    ButtonSet modeA;                                      //    0
    ButtonSet modeB;                                      //  192
    std::array<MacroSlot, kMacroSlotCount> macroSlots;    //  384
    std::array<Byte, 5> reserved1920;                     // 1920
    Byte reportRate;                                      // 1925: interval in ms (1, 2, 4, 8)
    Byte reserved1926;                                    // 1926
    std::array<Byte, kDpiStageCount> dpiValueIndex;       // 1927
    std::array<Byte, 8> dpiStageEnabled;                  // 1931: stages 1-8, the interface shows 1-4
    std::array<Byte, 8> reserved1939;                     // 1939
    Byte lightingMode;                                    // 1947: 0 off, 1 standard, 2 respiration, 3 neon
    Byte standardBrightness;                              // 1948: index 0-9
    Byte respirationPeriod;                               // 1949: index 0-4
    Byte neonPeriod;                                      // 1950: index 0-29
    std::array<Byte, 3> reservedLightingParameters;       // 1951
    Byte reserved1954;                                    // 1954
    Byte enhancePointerPrecision;                         // 1955
    Byte scrollOneScreen;                                 // 1956
    Byte mouseSpeed;                                      // 1957: 1-11
    Byte wheelScrollLines;                                // 1958: 0-11
    Byte doubleClickSpeed;                                // 1959: 1-11
    Byte selectedButtonSet;                               // 1960: 0 Mode A, 1 Mode B
    std::array<Byte, kButtonCount> dpiSwitchChoiceA;      // 1961: 1 DPI +, 2 DPI -, 3 DPI Loop
    std::array<Byte, kButtonCount> dpiSwitchChoiceB;      // 1973
    std::array<Byte, kLoopColourCount> loopColourEnabled; // 1985
    std::array<Rgb, kLoopColourCount> loopColours;        // 1993
    std::array<Byte, 2> dpiStageColourSwitches;           // 2017: a nibble per stage
    std::array<Byte, 2> reserved2019;                     // 2019: sent with the colour switches

    ButtonSet& buttonSet(int mode) { return mode == 0 ? modeA : modeB; }
    const ButtonSet& buttonSet(int mode) const { return mode == 0 ? modeA : modeB; }
    std::array<Byte, kButtonCount>& dpiSwitchChoice(int mode) {
        return mode == 0 ? dpiSwitchChoiceA : dpiSwitchChoiceB;
    }
    const std::array<Byte, kButtonCount>& dpiSwitchChoice(int mode) const {
        return mode == 0 ? dpiSwitchChoiceA : dpiSwitchChoiceB;
    }

    // Switch j (0-3) of DPI stage s (0-3): bit j of the stage's nibble.
    bool dpiStageColourSwitch(int stage, int j) const;
    void setDpiStageColourSwitch(int stage, int j, bool on);

    std::span<Byte, 2021> bytes() { return std::span<Byte, 2021>(reinterpret_cast<Byte*>(this), 2021); }
    std::span<const Byte, 2021> bytes() const {
        return std::span<const Byte, 2021>(reinterpret_cast<const Byte*>(this), 2021);
    }

    friend bool operator==(const DeviceConfig& a, const DeviceConfig& b);
};

inline constexpr std::size_t kDeviceConfigSize = 2021;
static_assert(sizeof(DeviceConfig) == kDeviceConfigSize, "DeviceConfig must be the mouse's 2021-byte record");
static_assert(std::is_trivially_copyable_v<DeviceConfig>);
static_assert(std::is_standard_layout_v<DeviceConfig>);
static_assert(offsetof(DeviceConfig, macroSlots) == 384);
static_assert(offsetof(DeviceConfig, reportRate) == 1925);
static_assert(offsetof(DeviceConfig, lightingMode) == 1947);
static_assert(offsetof(DeviceConfig, selectedButtonSet) == 1960);
static_assert(offsetof(DeviceConfig, loopColours) == 1993);
static_assert(offsetof(DeviceConfig, reserved2019) == 2019);

// The record as it is at start: all zero.
DeviceConfig zeroDeviceConfig();

} // namespace quorvel
