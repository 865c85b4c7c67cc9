#pragma once

#include <cstddef>
#include <filesystem>
#include <map>
#include <span>
#include <string_view>
#include <utility>

#include "ports/file_system.h"
#include "ports/ui_port.h"

namespace quorvel {

// The colour channels multiplied by alpha (channel * alpha / 255, truncated);
// an image without alpha is kept opaque as it is.
SkinImage Premultiply(const DecodedImage& decoded);

// Decoded, premultiplied skin images by path. An entry is used again only
// while the file keeps its size and modification time, so a changed or
// deleted file is noticed at the next draw, as if every draw read the file.
class ImageCache {
public:
    ImageCache(const FileSystem& files, ImageDecoder& decoder);

    // The image, or nullptr when the file is missing or is no image. At a
    // density of 2 the double-density image beside it is taken where the
    // skin has one.
    const SkinImage* load(const std::filesystem::path& path, int density = 1);

    // Decodes those of `paths` not cached yet, side by side on a few threads
    // where the decoder allows it, so that a first drawing does not wait for
    // each image in turn. load() then finds them; a missing file is skipped.
    void preload(std::span<const std::filesystem::path> paths, int density = 1);

    std::size_t decodes() const { return decodes_; }

private:
    const SkinImage* loadFile(const std::filesystem::path& path, int scale);
    // The file load() takes for `path` at `density`, with its scale.
    std::pair<std::filesystem::path, int> chosenFile(const std::filesystem::path& path, int density) const;

    struct Entry {
        FileSystem::Stamp stamp;
        SkinImage image;
    };
    const FileSystem* files_;
    ImageDecoder* decoder_;
    std::map<std::filesystem::path, Entry> entries_;
    std::size_t decodes_ = 0;
};

// The path of a skin image: the skin folder followed by the image's name,
// which starts with '/' ("/button-normal.png").
std::filesystem::path SkinImagePath(const std::filesystem::path& skinFolder, std::string_view name);

// Draws a skin image with its top-left corner at `at`; false when it did not
// load (the main window then draws on without it).
bool DrawSkinImage(Canvas& canvas, ImageCache& images, const std::filesystem::path& skinFolder,
                   std::string_view name, Point at);

// The part of an image inside `part` (layout pixels), clipped to the image.
SkinImage CropImage(const SkinImage& image, Rect part);

// Draws the part of a skin image inside `part` at the same place, the image
// standing at (0, 0): a text drawn on a page background is wiped this way.
bool DrawSkinImagePart(Canvas& canvas, ImageCache& images, const std::filesystem::path& skinFolder,
                       std::string_view name, Rect part);

} // namespace quorvel
