#pragma once

#include <span>
#include <string_view>

#include "config/device_config.h"

namespace quorvel {

// The DPI levels the interface offers for the sensor the mouse reports:
// 12 for sensor type 0 and every type above 3, 8 for types 1 to 3.
std::span<const std::string_view> DpiScale(Byte sensorType);

// The DPI text of a level; empty for a sensor type above 3 or an index
// past the scale.
std::string_view DpiLabel(Byte sensorType, int valueIndex);

} // namespace quorvel
