#pragma once

#include <array>
#include <bit>
#include <cstddef>
#include <initializer_list>
#include <span>
#include <string_view>

#include "config/device_config.h"

namespace quorvel {

// Seven command bytes and a checksum, carried in bytes 1-8 of a feature report.
inline constexpr std::size_t kCommandReportSize = 8;
using CommandReport = std::array<Byte, kCommandReportSize>;

// The command bytes by name. A block command carries its block (slot, table)
// in `number` and the data length in `length`; other commands take the bytes
// after the code as their parameters.
struct CommandFields {
    Byte code;
    Byte number;
    Byte length;
    std::array<Byte, 4> more;
    Byte checksum;
};
static_assert(sizeof(CommandFields) == kCommandReportSize);

// The sensor record as command 0x83 answers it and command 0x03 writes it.
struct SensorRecordFields {
    Byte code;
    Byte sensorType;
    Byte rate;
    Byte option1;
    Byte option2;
    std::array<Byte, 2> unused;
    Byte checksum;
};
static_assert(sizeof(SensorRecordFields) == kCommandReportSize);

template <class Fields> constexpr Fields FieldsOf(const CommandReport& report) {
    return std::bit_cast<Fields>(report);
}

// The commands the mouse takes (byte 0). Bit 7 marks a read: the mouse answers
// with eight bytes that replace the command.
enum class Command : Byte {
    Probe = 0x00,
    ReportRate = 0x01,
    WriteSensorRecord = 0x03,
    ReadSensorRecord = 0x83,
    LightingEffect = 0x0D,
    WriteLightingBlock = 0x10,
    ReadLightingBlock = 0x90,
    DpiTable = 0x11,
    WriteKeyMatrix = 0x12,
    WriteMacroSlot = 0x13,
    ReadMacroSlot = 0x93,
};

inline constexpr Byte kReadCommandBit = 0x80;

constexpr bool IsReadCommand(Byte code) {
    return (code & kReadCommandBit) != 0;
}

// What the handshake sends in bytes 1-4 and expects back.
inline constexpr std::array<Byte, 4> kProbeBytes{0xAA, 0xDD, 0x3B, 0x62};

// (0xFF - (byte0 + ... + byte6)) mod 256: the eight bytes add up to 0xFF.
Byte Checksum(const CommandReport& report);

// Bytes 1.. are the parameters; unnamed bytes are 0 and byte 7 is the checksum.
CommandReport MakeCommand(Command code, std::initializer_list<Byte> parameters = {});

// The handshake probe: 00 AA DD 3B 62 00 00 with its checksum.
CommandReport MakeProbe();

// Bytes 1-6 of the link key. The mouse's firmware holds the same six digits;
// the handshake stores them once the mouse has refused the plain probe.
inline constexpr std::string_view kLinkKeyDigits = "731904";

// Bytes 0 and 7 are never used and stay 0.
using LinkKey = std::array<Byte, 8>;
LinkKey MakeLinkKey();

// The additive step of the scrambling adds the nibble-swapped bytes of this text.
inline constexpr std::string_view kAdditiveKey = "VeKqsuPa";

constexpr Byte SwapNibbles(Byte value) {
    return static_cast<Byte>((value << 4) | (value >> 4));
}

// Transform in place the eight command bytes of a feature report (the bytes
// after the report ID). Unscramble is the exact inverse of Scramble.
void ScrambleReport(std::span<Byte, kCommandReportSize> bytes, const LinkKey& key);
void UnscrambleReport(std::span<Byte, kCommandReportSize> bytes, const LinkKey& key);

} // namespace quorvel
