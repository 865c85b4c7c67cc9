#pragma once

#include <array>
#include <cstddef>
#include <span>

#include "assign/key_matrices.h"
#include "config/device_config.h"

namespace quorvel {

// The mouse's sensor record: read with command 0x83, written with 0x03.
struct SensorInfo {
    Byte sensorType = 0;
    Byte rate = 0;
    Byte option1 = 0;
    Byte option2 = 0;

    friend bool operator==(const SensorInfo&, const SensorInfo&) = default;
};

// The program always sets this bit of Option2 when it writes the record back.
inline constexpr Byte kOption2ProgramBit = 0x40;

inline constexpr int kLightingBlockCount = 3;
// Block 0: the enabled loop colours; 1: the mouse's own, sent back as read;
// 2: the DPI stage colour switches and the two bytes after them.
inline constexpr std::array<std::size_t, kLightingBlockCount> kLightingBlockSizes{24, 24, 4};

inline constexpr int kDpiTableSize = 8;
inline constexpr Byte kDpiStageDisabledBit = 0x80;
inline constexpr Byte kLightingCommandConstant = 3;

// The tables as last built for, or read from, the mouse.
struct DeviceImage {
    std::array<Byte, kLightingBlockSizes[0]> lightingBlock0{};
    std::array<Byte, kLightingBlockSizes[1]> lightingBlock1{};
    std::array<Byte, kLightingBlockSizes[2]> lightingBlock2{};
    KeyMatrices keyMatrices{};                           // tables 1-4
    std::array<MacroSlot, kMacroSlotCount> macroImage{}; // as sent, then as read back
    std::array<Byte, kDpiTableSize> dpiTable{};          // one code per stage 1-8
    Byte dpiStageCount = 0;
    std::array<Byte, 3> lightingCommand{}; // mode, parameter + 1, 3
    SensorInfo sensorInfo;
    Byte currentSensorType = 0; // selects the DPI codes; 0 until read

    std::span<Byte> lightingBlock(int n);
    std::span<const Byte> lightingBlock(int n) const;
};

// The mouse's DPI code for `valueIndex` of a sensor type's DPI list. Sensor
// types without a list, and indexes past its end, give code 0.
Byte DpiCode(Byte sensorType, Byte valueIndex);

// Lighting block 0 from the loop colours: the colours of the slots whose flag
// is exactly 1, three bytes each, packed from the start; the rest is 0.
std::array<Byte, kLightingBlockSizes[0]> PackLoopColours(const DeviceConfig& config);

// Modes 1-3 set the mode and its parameter index + 1; any other mode leaves
// the first two bytes as the previous Apply left them. The third byte is 3.
void UpdateLightingCommand(const DeviceConfig& config, std::array<Byte, 3>& command);

// Stages 1-4 from the configuration (bit 7 set for a disabled stage), stages 5-8 disabled.
std::array<Byte, kDpiTableSize> BuildDpiTable(const DeviceConfig& config, Byte sensorType);

} // namespace quorvel
