#include "hid/sim/firmware_codec.h"

#include <algorithm>
#include <bit>
#include <string_view>

namespace quorvel::firmware {

namespace {

// The six key digits sit in bytes 1-6; bytes 0 and 7 are never keyed.
constexpr std::string_view kKeyDigits = "731904";
constexpr std::string_view kAddend = "VeKqsuPa";

// Where each byte goes: out[i] = in[kOrder[i]]; applied twice it is the identity.
constexpr std::array<std::size_t, 8> kOrder{5, 4, 7, 6, 1, 0, 3, 2};

Frame Reorder(const Frame& in) {
    Frame out{};
    for (std::size_t i = 0; i < out.size(); ++i) {
        out[i] = in[kOrder[i]];
    }
    return out;
}

void ApplyKey(Frame& frame) {
    for (std::size_t i = 0; i < kKeyDigits.size(); ++i) {
        frame[i + 1] = static_cast<std::uint8_t>(frame[i + 1] ^ static_cast<std::uint8_t>(kKeyDigits[i]));
    }
}

std::uint8_t Addend(std::size_t i) {
    const auto c = static_cast<std::uint8_t>(kAddend[i]);
    return static_cast<std::uint8_t>((c >> 4) | (c << 4));
}

// The frame as a 64-bit number, byte 0 the most significant.
std::uint64_t Number(const Frame& frame) {
    std::uint64_t value = 0;
    for (std::uint8_t b : frame) {
        value = (value << 8) | b;
    }
    return value;
}

Frame FromNumber(std::uint64_t value) {
    Frame frame{};
    for (std::size_t i = frame.size(); i-- > 0;) {
        frame[i] = static_cast<std::uint8_t>(value & 0xFF);
        value >>= 8;
    }
    return frame;
}

} // namespace

std::uint8_t FrameChecksum(const Frame& frame) {
    std::uint8_t sum = 0;
    for (std::size_t i = 0; i < 7; ++i) {
        sum = static_cast<std::uint8_t>(sum + frame[i]);
    }
    return static_cast<std::uint8_t>(0xFF - sum);
}

bool ChecksumHolds(const Frame& frame) {
    return FrameChecksum(frame) == frame[7];
}

Frame Sealed(std::uint8_t code, std::span<const std::uint8_t> parameters) {
    Frame frame{};
    frame[0] = code;
    std::copy_n(parameters.begin(), std::min<std::size_t>(parameters.size(), 6), frame.begin() + 1);
    frame[7] = FrameChecksum(frame);
    return frame;
}

bool IsProbe(const Frame& frame) {
    return frame[0] == 0 && ChecksumHolds(frame) &&
           std::equal(kProbeEcho.begin(), kProbeEcho.end(), frame.begin() + 1);
}

Frame Encode(const Frame& plain) {
    Frame frame = Reorder(plain);
    ApplyKey(frame);
    frame = FromNumber(std::rotl(Number(frame), 3));
    for (std::size_t i = 0; i < frame.size(); ++i) {
        frame[i] = static_cast<std::uint8_t>(frame[i] + Addend(i));
    }
    return frame;
}

Frame Decode(const Frame& scrambled) {
    Frame frame = scrambled;
    for (std::size_t i = 0; i < frame.size(); ++i) {
        frame[i] = static_cast<std::uint8_t>(frame[i] - Addend(i));
    }
    frame = FromNumber(std::rotr(Number(frame), 3));
    ApplyKey(frame);
    return Reorder(frame);
}

} // namespace quorvel::firmware
