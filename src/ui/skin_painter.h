#pragma once

#include <cstddef>
#include <filesystem>
#include <map>
#include <optional>
#include <span>
#include <string_view>
#include <utility>

#include "ports/file_system.h"
#include "ports/ui_port.h"

namespace quorvel {

// The colour channels multiplied by alpha (channel * alpha / 255, truncated);
// an image without alpha is kept opaque as it is.
SkinImage Premultiply(const DecodedImage& decoded);

// Why an image cannot be drawn.
struct ImageFault {
    enum class Kind {
        Missing,
        Unreadable, // no image, or one cut short or damaged
        TooLarge,   // beyond WithinImageLimits: the size it claims
    };
    Kind kind;
    std::filesystem::path path;
    int width = 0;
    int height = 0;
    bool operator==(const ImageFault&) const = default;
};

// Decoded, premultiplied skin images by path, and what was wrong with the
// files that did not decode. An entry is used again only while the file
// keeps its size and modification time, so a changed or deleted file is
// noticed at the next draw, as if every draw read the file.
class ImageCache {
public:
    ImageCache(const FileSystem& files, ImageDecoder& decoder);

    // The image, or nullptr when the file is missing, is no image or is
    // beyond the image limits. At a density of 2 the double-density image
    // beside it is taken where the skin has one.
    const SkinImage* load(const std::filesystem::path& path, int density = 1);
    // The image as load() finds it, taken out of the cache: the next load
    // decodes it again.
    std::optional<SkinImage> take(const std::filesystem::path& path, int density = 1);

    // Why the image at `path` itself (never its double-density twin) cannot
    // be drawn; nothing when it can. Judging an image loads it, so the skin
    // judged at start is not decoded again to be drawn.
    std::optional<ImageFault> fault(const std::filesystem::path& path);

    // As fault(), but where the decoder reads headers, judged by the file's
    // header alone and nothing decoded: an image that passes may still fail
    // to draw. Enough to tell a skin that can be drawn from one that cannot.
    std::optional<ImageFault> headerFault(const std::filesystem::path& path);

    // The size of the image at `path` itself, from its header where the
    // decoder reads headers (nothing decoded), else from its pixels; nothing
    // when it cannot be drawn as far as that tells.
    std::optional<ImageSize> size(const std::filesystem::path& path);

    // Decodes those of `paths` not cached yet, side by side on a few threads
    // where the decoder allows it, so that a first drawing does not wait for
    // each image in turn. load() then finds them; a missing file is skipped.
    void preload(std::span<const std::filesystem::path> paths, int density = 1);

    // Forgets every image, or the one at `path` in either density: the next
    // load decodes it again.
    void clear() {
        entries_.clear();
        headers_.clear();
    }
    void forget(const std::filesystem::path& path);

    std::size_t decodes() const { return decodes_; }
    // Whether size() and headerFault() read headers rather than decode.
    bool readsHeaders() const { return decoder_->readsHeaders(); }

private:
    // The file load() takes for `path` at `density`, with its scale.
    std::pair<std::filesystem::path, int> chosenFile(const std::filesystem::path& path, int density) const;

    // A file of the stamp, decoded: its pixels, or why it has none.
    struct Entry {
        FileSystem::Stamp stamp;
        std::optional<SkinImage> image;
        std::optional<ImageFault> fault;
    };
    const Entry* freshEntry(const std::filesystem::path& path, const FileSystem::Stamp& stamp) const;
    // The entry of the file as it is now; nullptr when it is missing.
    const Entry* entryOf(const std::filesystem::path& path, int scale);

    // A file of the stamp as its header tells: its size, or why it cannot be drawn.
    struct Header {
        FileSystem::Stamp stamp;
        ImageSize size;
        std::optional<ImageFault> fault;
    };
    // The header of the file as it is now; nullptr when it is missing. An
    // image decoded already answers from its pixels.
    std::optional<Header> headerOf(const std::filesystem::path& path);

    const FileSystem* files_;
    ImageDecoder* decoder_;
    std::map<std::filesystem::path, Entry> entries_;
    std::map<std::filesystem::path, Header> headers_;
    std::size_t decodes_ = 0;
};

// The path of a skin image: the skin folder followed by the image's name,
// which starts with '/' ("/button-normal.png").
std::filesystem::path SkinImagePath(const std::filesystem::path& skinFolder, std::string_view name);

// Where the images of the skin in use come from: its own folder, and for an
// image the skin lacks or cannot decode, the folder of the Default skin.
struct SkinSource {
    std::filesystem::path folder;
    std::filesystem::path fallback; // empty: no other folder
    bool operator==(const SkinSource&) const = default;
};

// The skin's image `name`, from its own folder or else from the fallback;
// nullptr when neither draws.
const SkinImage* LoadSkinImage(ImageCache& images, const SkinSource& skin, std::string_view name,
                               int density = 1);

// LoadSkinImage's image, taken out of the cache.
std::optional<SkinImage> TakeSkinImage(ImageCache& images, const SkinSource& skin, std::string_view name,
                                       int density = 1);

// The size of the skin's image `name`, from its own folder or else from the
// fallback, as ImageCache::size tells it; nothing when neither draws.
std::optional<ImageSize> SkinImageSize(ImageCache& images, const SkinSource& skin, std::string_view name);

// The first of the images a skin must have of its own (kOwnSkinImages)
// that cannot be drawn from `folder`, and why; nothing for a skin the
// program can draw. Judged by the images' headers where the decoder reads
// them (ImageCache::headerFault), so that choosing a skin decodes nothing.
std::optional<ImageFault> OwnSkinImageFault(ImageCache& images, const std::filesystem::path& folder);

// Draws a skin image with its top-left corner at `at`; false when it did not
// load (the main window then draws on without it).
bool DrawSkinImage(Canvas& canvas, ImageCache& images, const SkinSource& skin, std::string_view name,
                   Point at);

// The part of an image inside `part` (layout pixels), clipped to the image.
SkinImage CropImage(const SkinImage& image, Rect part);

// Draws the part of a skin image inside `part` at the same place, the image
// standing at (0, 0): a text drawn on a page background is wiped this way.
bool DrawSkinImagePart(Canvas& canvas, ImageCache& images, const SkinSource& skin, std::string_view name,
                       Rect part);

} // namespace quorvel
