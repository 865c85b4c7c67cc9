#pragma once

#include <array>
#include <cstdint>
#include <span>

namespace quorvel::firmware {

// The simulated mouse's own reading of the eight command bytes of a feature
// report, written from the mouse's side of the protocol and kept apart from
// the program's code, so that a fault in either shows as a failed exchange.
using Frame = std::array<std::uint8_t, 8>;

// Bytes 1-4 of the handshake probe, which the mouse echoes.
inline constexpr std::array<std::uint8_t, 4> kProbeEcho{0xAA, 0xDD, 0x3B, 0x62};

// Byte 7: what makes the eight bytes add up to 0xFF.
std::uint8_t FrameChecksum(const Frame& frame);
bool ChecksumHolds(const Frame& frame);
// The code and up to six parameters, with the checksum put in byte 7.
Frame Sealed(std::uint8_t code, std::span<const std::uint8_t> parameters = {});

bool IsProbe(const Frame& frame);

// The mouse's scrambling with the key its firmware holds: Encode for its
// answers, Decode for the commands it receives.
Frame Encode(const Frame& plain);
Frame Decode(const Frame& scrambled);

} // namespace quorvel::firmware
