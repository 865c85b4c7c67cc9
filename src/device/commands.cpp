#include "device/commands.h"

#include <algorithm>
#include <array>

namespace quorvel {

namespace {

// The read-back buffers: a chunk more than the largest block the mouse sends.
constexpr std::size_t kLightingReadBuffer = 128;
constexpr std::size_t kMacroReadBuffer = 140;

// A block with the chunks' tail: the bytes after the block go out as zeros.
bool WriteBlock(DeviceLink& link, Clock& clock, Command code, Byte number, std::span<const Byte> block) {
    CommandReport command = MakeCommand(code, {number, static_cast<Byte>(block.size())});
    std::array<Byte, ChunkCount(256) * kChunkDataSize> data{};
    std::copy(block.begin(), block.end(), data.begin());
    return BulkTransfer(link, clock, command,
                        std::span(data.data(), ChunkCount(block.size()) * kChunkDataSize));
}

} // namespace

std::optional<SensorInfo> ReadSensorInfo(DeviceLink& link) {
    CommandReport command = MakeCommand(Command::ReadSensorRecord);
    if (!FeatureTransaction(link, command)) {
        return std::nullopt;
    }
    return SensorInfo{command[1], command[2], command[3], command[4]};
}

bool WriteSensorInfo(DeviceLink& link, const SensorInfo& info) {
    CommandReport command =
        MakeCommand(Command::WriteSensorRecord, {info.sensorType, info.rate, info.option1, info.option2});
    return FeatureTransaction(link, command);
}

bool ReadLightingBlocks(DeviceLink& link, Clock& clock, DeviceImage& image) {
    for (int n = 0; n < kLightingBlockCount; ++n) {
        CommandReport command = MakeCommand(Command::ReadLightingBlock, {static_cast<Byte>(n)});
        std::array<Byte, kLightingReadBuffer> data{};
        if (!BulkTransfer(link, clock, command, data)) {
            return false;
        }
        // The answer names the block it carries and its length; neither is trusted beyond the block's size.
        std::span<Byte> block = image.lightingBlock(command[1]);
        const std::size_t length = std::min<std::size_t>(command[2], block.size());
        std::copy_n(data.begin(), length, block.begin());
        clock.sleep(kTablePause);
    }
    return true;
}

bool WriteLightingBlocks(DeviceLink& link, Clock& clock, const DeviceImage& image) {
    for (int n = 0; n < kLightingBlockCount; ++n) {
        if (!WriteBlock(link, clock, Command::WriteLightingBlock, static_cast<Byte>(n),
                        image.lightingBlock(n))) {
            return false;
        }
        clock.sleep(kTablePause);
    }
    return true;
}

bool WriteLightingCommand(DeviceLink& link, const DeviceImage& image) {
    const auto& bytes = image.lightingCommand;
    CommandReport command = MakeCommand(Command::LightingEffect, {bytes[0], bytes[1], bytes[2]});
    return FeatureTransaction(link, command);
}

bool WriteDpiTable(DeviceLink& link, Clock& clock, DeviceImage& image) {
    image.dpiStageCount = kDpiStageCount;
    CommandReport command =
        MakeCommand(Command::DpiTable, {image.dpiStageCount, static_cast<Byte>(kDpiTableSize)});
    std::array<Byte, kChunkDataSize> data{};
    std::copy(image.dpiTable.begin(), image.dpiTable.end(), data.begin());
    return BulkTransfer(link, clock, command, data);
}

bool WriteMacroSlots(DeviceLink& link, Clock& clock, const DeviceImage& image) {
    for (int slot = 1; slot <= kMacroSlotCount; ++slot) {
        if (!WriteBlock(link, clock, Command::WriteMacroSlot, static_cast<Byte>(slot),
                        image.macroImage[static_cast<std::size_t>(slot - 1)])) {
            return false;
        }
        clock.sleep(kTablePause);
    }
    return true;
}

bool ReadMacroSlots(DeviceLink& link, Clock& clock, DeviceImage& image) {
    for (int slot = 1; slot <= kMacroSlotCount; ++slot) {
        CommandReport command = MakeCommand(Command::ReadMacroSlot, {static_cast<Byte>(slot)});
        std::array<Byte, kMacroReadBuffer> data{};
        if (!BulkTransfer(link, clock, command, data)) {
            return false;
        }
        const int answeredSlot = command[1];
        if (answeredSlot >= 1 && answeredSlot <= kMacroSlotCount) {
            MacroSlot& target = image.macroImage[static_cast<std::size_t>(answeredSlot - 1)];
            const std::size_t length = std::min<std::size_t>(command[2], target.size());
            std::copy_n(data.begin(), length, target.begin());
        }
        clock.sleep(kTablePause);
    }
    return true;
}

bool WriteKeyMatrices(DeviceLink& link, Clock& clock, const DeviceImage& image) {
    for (int table = 1; table <= kKeyMatrixCount; ++table) {
        if (!WriteBlock(link, clock, Command::WriteKeyMatrix, static_cast<Byte>(table),
                        image.keyMatrices[static_cast<std::size_t>(table - 1)])) {
            return false;
        }
        clock.sleep(kTablePause);
    }
    return true;
}

} // namespace quorvel
