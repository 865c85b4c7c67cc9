#pragma once

#include <chrono>
#include <optional>

#include "device/device_image.h"
#include "device/device_link.h"
#include "ports/clock.h"

namespace quorvel {

// The pause after every lighting block, macro slot and key matrix command.
inline constexpr std::chrono::milliseconds kTablePause{2};

// Each returns true when every transfer went through; the first failed one
// ends it.

// Command 0x83: the mouse's sensor record.
std::optional<SensorInfo> ReadSensorInfo(DeviceLink& link);
bool WriteSensorInfo(DeviceLink& link, const SensorInfo& info);

// Blocks 0-2 of the mouse into the block the answer names, at most the block's size.
bool ReadLightingBlocks(DeviceLink& link, Clock& clock, DeviceImage& image);
bool WriteLightingBlocks(DeviceLink& link, Clock& clock, const DeviceImage& image);

bool WriteLightingCommand(DeviceLink& link, const DeviceImage& image);
bool WriteDpiTable(DeviceLink& link, Clock& clock, DeviceImage& image);

// Slots 1-12 from `image.macroImage`, then read back into it.
bool WriteMacroSlots(DeviceLink& link, Clock& clock, const DeviceImage& image);
bool ReadMacroSlots(DeviceLink& link, Clock& clock, DeviceImage& image);

bool WriteKeyMatrices(DeviceLink& link, Clock& clock, const DeviceImage& image);

} // namespace quorvel
