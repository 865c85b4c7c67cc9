#pragma once

#include <chrono>
#include <optional>

#include "device/device_image.h"
#include "device/feature_channel.h"
#include "ports/clock.h"

namespace quorvel {

// The pause after every lighting block, macro slot and key matrix command.
inline constexpr std::chrono::milliseconds kTablePause{2};

// Each ends at the first transfer that does not go through and says why.

// Command 0x83: the mouse's sensor record; nothing when the read failed or
// the answer was not the record.
std::optional<SensorInfo> ReadSensorInfo(FeatureChannel& channel);
TransferResult WriteSensorInfo(FeatureChannel& channel, const SensorInfo& info);

// Blocks 0-2 of the mouse. An answer must name the block asked for and carry
// at least the block's size; only the block's size is kept.
TransferResult ReadLightingBlocks(FeatureChannel& channel, Clock& clock, DeviceImage& image);
TransferResult WriteLightingBlocks(FeatureChannel& channel, Clock& clock, const DeviceImage& image);

TransferResult WriteLightingCommand(FeatureChannel& channel, const DeviceImage& image);
TransferResult WriteDpiTable(FeatureChannel& channel, Clock& clock, DeviceImage& image);

// Slots 1-12 from `image.macroImage`, then read back into it (as the lighting blocks are read).
TransferResult WriteMacroSlots(FeatureChannel& channel, Clock& clock, const DeviceImage& image);
TransferResult ReadMacroSlots(FeatureChannel& channel, Clock& clock, DeviceImage& image);

TransferResult WriteKeyMatrices(FeatureChannel& channel, Clock& clock, const DeviceImage& image);

} // namespace quorvel
