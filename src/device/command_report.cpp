#include "device/command_report.h"

#include <utility>

namespace quorvel {

namespace {

// Exchanged pairs of the permutation step; the exchange is its own inverse.
constexpr std::array<std::pair<std::size_t, std::size_t>, 4> kSwappedPairs{{{0, 5}, {1, 4}, {2, 7}, {3, 6}}};

void Permute(std::span<Byte, kCommandReportSize> bytes) {
    for (const auto& [a, b] : kSwappedPairs) {
        std::swap(bytes[a], bytes[b]);
    }
}

void XorWithKey(std::span<Byte, kCommandReportSize> bytes, const LinkKey& key) {
    for (std::size_t i = 1; i <= 6; ++i) {
        bytes[i] ^= key[i];
    }
}

// The eight bytes read as one 64-bit number, byte 0 the most significant.
void RotateLeft3(std::span<Byte, kCommandReportSize> bytes) {
    const Byte first = bytes[0];
    for (std::size_t i = 0; i < 7; ++i) {
        bytes[i] = static_cast<Byte>((bytes[i] << 3) | (bytes[i + 1] >> 5));
    }
    bytes[7] = static_cast<Byte>((bytes[7] << 3) | (first >> 5));
}

void RotateRight3(std::span<Byte, kCommandReportSize> bytes) {
    const Byte last = bytes[7];
    for (std::size_t i = 7; i > 0; --i) {
        bytes[i] = static_cast<Byte>((bytes[i] >> 3) | (bytes[i - 1] << 5));
    }
    bytes[0] = static_cast<Byte>((bytes[0] >> 3) | (last << 5));
}

Byte AdditiveKeyByte(std::size_t i) {
    return SwapNibbles(static_cast<Byte>(kAdditiveKey[i]));
}

} // namespace

Byte Checksum(const CommandReport& report) {
    unsigned sum = 0;
    for (std::size_t i = 0; i < 7; ++i) {
        sum += report[i];
    }
    return static_cast<Byte>(0xFF - sum);
}

CommandReport MakeCommand(Command code, std::initializer_list<Byte> parameters) {
    CommandReport report{};
    report[0] = static_cast<Byte>(code);
    std::size_t i = 1;
    for (Byte parameter : parameters) {
        if (i < 7) {
            report[i++] = parameter;
        }
    }
    report[7] = Checksum(report);
    return report;
}

CommandReport MakeProbe() {
    return MakeCommand(Command::Probe, {kProbeBytes[0], kProbeBytes[1], kProbeBytes[2], kProbeBytes[3]});
}

LinkKey MakeLinkKey() {
    LinkKey key{};
    for (std::size_t i = 0; i < kLinkKeyDigits.size(); ++i) {
        key[i + 1] = static_cast<Byte>(kLinkKeyDigits[i]);
    }
    return key;
}

void ScrambleReport(std::span<Byte, kCommandReportSize> bytes, const LinkKey& key) {
    Permute(bytes);
    XorWithKey(bytes, key);
    RotateLeft3(bytes);
    for (std::size_t i = 0; i < kCommandReportSize; ++i) {
        bytes[i] = static_cast<Byte>(bytes[i] + AdditiveKeyByte(i));
    }
}

void UnscrambleReport(std::span<Byte, kCommandReportSize> bytes, const LinkKey& key) {
    for (std::size_t i = 0; i < kCommandReportSize; ++i) {
        bytes[i] = static_cast<Byte>(bytes[i] - AdditiveKeyByte(i));
    }
    RotateRight3(bytes);
    XorWithKey(bytes, key);
    Permute(bytes);
}

} // namespace quorvel
