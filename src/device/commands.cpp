#include "device/commands.h"

#include <algorithm>
#include <array>
#include <functional>

namespace quorvel {

namespace {

// The read-back buffers: a chunk more than the largest block the mouse sends.
constexpr std::size_t kLightingReadBuffer = 128;
constexpr std::size_t kMacroReadBuffer = 140;

// A block with the chunks' tail: the bytes after the block go out as zeros.
TransferResult WriteBlock(FeatureChannel& channel, Clock& clock, Command code, Byte number,
                          std::span<const Byte> block) {
    CommandReport command = MakeCommand(code, {number, static_cast<Byte>(block.size())});
    std::array<Byte, ChunkCount(256) * kChunkDataSize> data{};
    std::copy(block.begin(), block.end(), data.begin());
    return channel.BulkTransfer(clock, command,
                                std::span(data.data(), ChunkCount(block.size()) * kChunkDataSize));
}

// The numbered tables `first` .. `first + count - 1` of one kind, each
// followed by the table pause.
struct Tables {
    Byte first;
    int count;
};

TransferResult WriteTables(FeatureChannel& channel, Clock& clock, Command code, Tables tables,
                           const std::function<std::span<const Byte>(int index)>& table) {
    for (int i = 0; i < tables.count; ++i) {
        const TransferResult result =
            WriteBlock(channel, clock, code, static_cast<Byte>(tables.first + i), table(i));
        if (result != TransferResult::Done) {
            return result;
        }
        clock.sleep(kTablePause);
    }
    return TransferResult::Done;
}

template <std::size_t BufferSize>
TransferResult ReadTables(FeatureChannel& channel, Clock& clock, Command code, Tables tables,
                          const std::function<std::span<Byte>(int index)>& table) {
    for (int i = 0; i < tables.count; ++i) {
        const Byte number = static_cast<Byte>(tables.first + i);
        CommandReport command = MakeCommand(code, {number});
        std::array<Byte, BufferSize> data{};
        if (const TransferResult result = channel.BulkTransfer(clock, command, data);
            result != TransferResult::Done) {
            return result;
        }
        // The answer must be the table asked for, whole; more than its size is not kept.
        const std::span<Byte> target = table(i);
        const auto answer = FieldsOf<CommandFields>(command);
        if (answer.number != number || answer.length < target.size()) {
            return TransferResult::UnusableAnswer;
        }
        std::copy_n(data.begin(), target.size(), target.begin());
        clock.sleep(kTablePause);
    }
    return TransferResult::Done;
}

constexpr Tables kLightingTables{0, kLightingBlockCount};
constexpr Tables kMacroTables{1, kMacroSlotCount};
constexpr Tables kKeyMatrixTables{1, kKeyMatrixCount};

} // namespace

std::optional<SensorInfo> ReadSensorInfo(FeatureChannel& channel) {
    CommandReport command = MakeCommand(Command::ReadSensorRecord);
    if (channel.FeatureTransaction(command) != TransferResult::Done) {
        return std::nullopt;
    }
    const auto record = FieldsOf<SensorRecordFields>(command);
    return SensorInfo{record.sensorType, record.rate, record.option1, record.option2};
}

TransferResult WriteSensorInfo(FeatureChannel& channel, const SensorInfo& info) {
    CommandReport command =
        MakeCommand(Command::WriteSensorRecord, {info.sensorType, info.rate, info.option1, info.option2});
    return channel.FeatureTransaction(command);
}

TransferResult ReadLightingBlocks(FeatureChannel& channel, Clock& clock, DeviceImage& image) {
    return ReadTables<kLightingReadBuffer>(channel, clock, Command::ReadLightingBlock, kLightingTables,
                                           [&](int i) { return image.lightingBlock(i); });
}

TransferResult WriteLightingBlocks(FeatureChannel& channel, Clock& clock, const DeviceImage& image) {
    return WriteTables(channel, clock, Command::WriteLightingBlock, kLightingTables,
                       [&](int i) { return image.lightingBlock(i); });
}

TransferResult WriteLightingCommand(FeatureChannel& channel, const DeviceImage& image) {
    const auto& bytes = image.lightingCommand;
    CommandReport command = MakeCommand(Command::LightingEffect, {bytes[0], bytes[1], bytes[2]});
    return channel.FeatureTransaction(command);
}

TransferResult WriteDpiTable(FeatureChannel& channel, Clock& clock, DeviceImage& image) {
    image.dpiStageCount = kDpiStageCount;
    CommandReport command =
        MakeCommand(Command::DpiTable, {image.dpiStageCount, static_cast<Byte>(kDpiTableSize)});
    std::array<Byte, kChunkDataSize> data{};
    std::copy(image.dpiTable.begin(), image.dpiTable.end(), data.begin());
    return channel.BulkTransfer(clock, command, data);
}

TransferResult WriteMacroSlots(FeatureChannel& channel, Clock& clock, const DeviceImage& image) {
    return WriteTables(channel, clock, Command::WriteMacroSlot, kMacroTables, [&](int i) {
        return std::span<const Byte>(image.macroImage[static_cast<std::size_t>(i)]);
    });
}

TransferResult ReadMacroSlots(FeatureChannel& channel, Clock& clock, DeviceImage& image) {
    return ReadTables<kMacroReadBuffer>(channel, clock, Command::ReadMacroSlot, kMacroTables, [&](int i) {
        return std::span<Byte>(image.macroImage[static_cast<std::size_t>(i)]);
    });
}

TransferResult WriteKeyMatrices(FeatureChannel& channel, Clock& clock, const DeviceImage& image) {
    return WriteTables(channel, clock, Command::WriteKeyMatrix, kKeyMatrixTables, [&](int i) {
        return std::span<const Byte>(image.keyMatrices[static_cast<std::size_t>(i)]);
    });
}

} // namespace quorvel
