#pragma once

#include <array>
#include <cstdint>

#include "config/device_config.h"

namespace quorvel {

// The 4-byte code of one button, b0 (the type) first as the mouse receives it.
using ButtonFunctionWord = std::array<Byte, 4>;

inline constexpr int kKeyMatrixCount = 4;
inline constexpr int kKeyMatrixSlots = 16;
inline constexpr int kKeyMatrixBytes = kKeyMatrixSlots * 4;

// Sixteen words, as sent: word 0 first, each word lowest byte first.
using KeyMatrix = std::array<Byte, kKeyMatrixBytes>;

// The four tables the mouse keeps: Mode A goes to table 1, Mode B to table 3;
// tables 2 and 4 are always zero.
using KeyMatrices = std::array<KeyMatrix, kKeyMatrixCount>;

// Buttons 0-9 reach the mouse; 10 and 11 have room in the model but are
// never sent.
inline constexpr int kMouseButtonCount = 10;

// The word of button `button` in `mode` from its function index and fields.
ButtonFunctionWord ButtonWord(const DeviceConfig& config, int mode, int button);

// Reads buttons 0-9 of both modes and builds the four tables.
KeyMatrices BuildKeyMatrices(const DeviceConfig& config);

} // namespace quorvel
