#pragma once

#include "ports/ui_port.h"

namespace quorvel {

// PNG files through Qt's image reader. An image beyond the limits is
// answered from its header.
class QtImageDecoder final : public ImageDecoder {
public:
    std::optional<DecodedImage> decode(const std::filesystem::path& path) override;
    // Each call reads its file through its own QImageReader.
    bool decodesConcurrently() const override { return true; }
    // A PNG's first and last bytes (PngHeaderSize).
    bool readsHeaders() const override { return true; }
    std::optional<ImageSize> readHeader(const std::filesystem::path& path) override;
};

} // namespace quorvel
