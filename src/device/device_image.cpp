#include "device/device_image.h"

#include <vector>

namespace quorvel {

namespace {

// The DPI codes of each sensor type that has a list, index by index.
struct SensorDpiCodes {
    Byte sensorType;
    std::vector<Byte> codes;
};

const std::vector<SensorDpiCodes>& DpiCodeTable() {
    static const std::vector<SensorDpiCodes> table{
        {0, {0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08, 0x25, 0x26, 0x27, 0x28}},
        {1, {0x01, 0x02, 0x03, 0x04, 0x05, 0x23, 0x24, 0x25}},
        {2, {0x02, 0x04, 0x06, 0x08, 0x0A, 0x26, 0x28, 0x2A}},
        {3, {0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08}},
    };
    return table;
}

} // namespace

std::span<Byte> DeviceImage::lightingBlock(int n) {
    switch (n) {
    case 0:
        return lightingBlock0;
    case 1:
        return lightingBlock1;
    case 2:
        return lightingBlock2;
    default:
        return {};
    }
}

std::span<const Byte> DeviceImage::lightingBlock(int n) const {
    return const_cast<DeviceImage*>(this)->lightingBlock(n);
}

Byte DpiCode(Byte sensorType, Byte valueIndex) {
    for (const auto& entry : DpiCodeTable()) {
        if (entry.sensorType == sensorType) {
            return valueIndex < entry.codes.size() ? entry.codes[valueIndex] : Byte{0};
        }
    }
    return 0;
}

std::array<Byte, kLightingBlockSizes[0]> PackLoopColours(const DeviceConfig& config) {
    std::array<Byte, kLightingBlockSizes[0]> block{};
    std::size_t next = 0;
    for (int k = 0; k < kLoopColourCount; ++k) {
        if (config.loopColourEnabled[static_cast<std::size_t>(k)] != 1) {
            continue;
        }
        const Rgb& colour = config.loopColours[static_cast<std::size_t>(k)];
        block[next++] = colour.red;
        block[next++] = colour.green;
        block[next++] = colour.blue;
    }
    return block;
}

void UpdateLightingCommand(const DeviceConfig& config, std::array<Byte, 3>& command) {
    const Byte mode = config.lightingMode;
    if (mode >= 1 && mode <= 3) {
        // The parameter of mode m lies m bytes after the mode: brightness,
        // respiration period, neon period.
        const Byte parameter = config.bytes()[offsetof(DeviceConfig, lightingMode) + mode];
        command[0] = mode;
        command[1] = static_cast<Byte>(parameter + 1);
    }
    command[2] = kLightingCommandConstant;
}

std::array<Byte, kDpiTableSize> BuildDpiTable(const DeviceConfig& config, Byte sensorType) {
    std::array<Byte, kDpiTableSize> table{};
    table.fill(kDpiStageDisabledBit);
    for (std::size_t s = 0; s < kDpiStageCount; ++s) {
        const Byte code = DpiCode(sensorType, config.dpiValueIndex[s]);
        table[s] = config.dpiStageEnabled[s] == 0 ? static_cast<Byte>(code | kDpiStageDisabledBit)
                                                  : static_cast<Byte>(code & ~kDpiStageDisabledBit);
    }
    return table;
}

} // namespace quorvel
