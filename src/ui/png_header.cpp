#include "ui/png_header.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace quorvel {

namespace {

constexpr std::array<unsigned char, 8> kSignature = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
// An empty IEND chunk: its length, its type and its CRC.
constexpr std::array<unsigned char, kPngEndBytes> kEnd = {0, 0, 0, 0, 'I', 'E', 'N', 'D', 0xAE, 0x42, 0x60, 0x82};

std::uint32_t BigEndian(std::span<const unsigned char> bytes) {
    return (std::uint32_t{bytes[0]} << 24) | (std::uint32_t{bytes[1]} << 16) | (std::uint32_t{bytes[2]} << 8) |
           std::uint32_t{bytes[3]};
}

// The CRC-32 PNG chunks carry, over a chunk's type and data; bit by bit, as
// it is taken over a few bytes only.
std::uint32_t Crc32(std::span<const unsigned char> bytes) {
    std::uint32_t crc = 0xFFFFFFFFu;
    for (const unsigned char byte : bytes) {
        crc ^= byte;
        for (int bit = 0; bit < 8; ++bit) {
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
        }
    }
    return crc ^ 0xFFFFFFFFu;
}

// The bit depths each colour type allows.
bool SoundDepth(unsigned colourType, unsigned depth) {
    switch (colourType) {
    case 0: // grey
        return depth == 1 || depth == 2 || depth == 4 || depth == 8 || depth == 16;
    case 3: // palette
        return depth == 1 || depth == 2 || depth == 4 || depth == 8;
    case 2: // RGB
    case 4: // grey with alpha
    case 6: // RGB with alpha
        return depth == 8 || depth == 16;
    default:
        return false;
    }
}

} // namespace

std::optional<ImageSize> PngHeaderSize(std::span<const unsigned char, kPngHeaderBytes> start,
                                       std::span<const unsigned char, kPngEndBytes> end) {
    constexpr std::array<unsigned char, 8> kIhdr = {0, 0, 0, 13, 'I', 'H', 'D', 'R'};
    if (!std::ranges::equal(start.first(8), kSignature) || !std::ranges::equal(start.subspan(8, 8), kIhdr) ||
        !std::ranges::equal(end, kEnd)) {
        return std::nullopt;
    }
    const std::span<const unsigned char> fields = start.subspan(16, 13);
    if (Crc32(start.subspan(12, 17)) != BigEndian(start.subspan(29, 4))) {
        return std::nullopt;
    }
    const std::uint32_t width = BigEndian(fields.subspan(0, 4));
    const std::uint32_t height = BigEndian(fields.subspan(4, 4));
    const unsigned depth = fields[8];
    const unsigned colourType = fields[9];
    // Sizes run from 1 to 2^31 - 1; compression and filter method 0; no
    // interlacing or Adam7.
    constexpr std::uint32_t kLargest = 0x7FFFFFFFu;
    if (width == 0 || height == 0 || width > kLargest || height > kLargest || !SoundDepth(colourType, depth) ||
        fields[10] != 0 || fields[11] != 0 || fields[12] > 1) {
        return std::nullopt;
    }
    return ImageSize{static_cast<int>(width), static_cast<int>(height)};
}

} // namespace quorvel
