#pragma once

#include <array>

#include "assign/function_list.h"
#include "config/device_config.h"

namespace quorvel {

// Buttons 0-8 after "Default", the same in both modes; buttons 9-11 keep
// whatever they hold.
inline constexpr int kDefaultButtonCount = 9;
inline constexpr std::array<int, kDefaultButtonCount> kDefaultFunctions = {
    kFnLeftClick, kFnRightClick, kFnMidClick,    kFnForward, kFnBackward,
    kFnDpiSwitch, kFnDpiSwitch,  kFnTripleClick, kFnKeyOff};
inline constexpr int kDefaultDpiUpButton = 5;
inline constexpr int kDefaultDpiDownButton = 6;

// Sets the default function indices and DPI sub-choices of buttons 0-8 in
// both modes; parameter fields, the selected mode and everything else stay.
void SetDefaultFunctions(DeviceConfig& config);

} // namespace quorvel
