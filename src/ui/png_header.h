#pragma once

#include <cstddef>
#include <optional>
#include <span>

#include "ports/ui_port.h"

namespace quorvel {

// The bytes of a PNG file that PngHeaderSize looks at: its first (the
// signature and the IHDR chunk) and its last (the IEND chunk).
inline constexpr std::size_t kPngHeaderBytes = 33;
inline constexpr std::size_t kPngEndBytes = 12;

// The size a PNG file claims, judged without its pixels: the signature, an
// IHDR chunk first with sound fields and a matching CRC, and the IEND chunk
// at the very end (a file cut short lacks it). Nothing when any of them is
// wrong. The size itself is not held to the image limits; damage between
// the header and the end shows only when the pixels are decoded.
std::optional<ImageSize> PngHeaderSize(std::span<const unsigned char, kPngHeaderBytes> start,
                                       std::span<const unsigned char, kPngEndBytes> end);

} // namespace quorvel
