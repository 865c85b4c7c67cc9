#include "ui/skin_painter.h"

#include "ui/skin_images.h"

#include <algorithm>
#include <atomic>
#include <optional>
#include <system_error>
#include <thread>
#include <vector>

namespace quorvel {

SkinImage Premultiply(const DecodedImage& decoded) {
    SkinImage image;
    image.width = decoded.width;
    image.height = decoded.height;
    image.hasAlpha = decoded.hasAlpha;
    const std::size_t count =
        static_cast<std::size_t>(decoded.width) * static_cast<std::size_t>(decoded.height);
    // Filled as it is made: a window-sized image is not cleared first.
    image.pixels.reserve(count);
    for (std::size_t i = 0; i < count && 4 * i + 3 < decoded.rgba.size(); ++i) {
        std::uint32_t r = decoded.rgba[4 * i];
        std::uint32_t g = decoded.rgba[4 * i + 1];
        std::uint32_t b = decoded.rgba[4 * i + 2];
        std::uint32_t a = decoded.rgba[4 * i + 3];
        if (decoded.hasAlpha) {
            r = r * a / 255;
            g = g * a / 255;
            b = b * a / 255;
        } else {
            a = 255;
        }
        image.pixels.push_back((a << 24) | (r << 16) | (g << 8) | b);
    }
    image.pixels.resize(count); // pixels the data falls short of stay clear
    return image;
}

namespace {

// The image's double-density twin, a@2x.png beside a.png.
std::filesystem::path DoubleDensityPath(const std::filesystem::path& path) {
    return PathFromUtf8(DoubleDensityName(Utf8FromPath(path)));
}

struct Decoding {
    std::optional<SkinImage> image;
    std::optional<ImageFault> fault;
};

// The file decoded and premultiplied, or why it cannot be drawn. An image
// beyond the limits is refused whatever the decoder made of it.
Decoding Decode(ImageDecoder& decoder, const std::filesystem::path& path, int scale) {
    std::optional<DecodedImage> decoded = decoder.decode(path);
    if (!decoded) {
        return {std::nullopt, ImageFault{ImageFault::Kind::Unreadable, path}};
    }
    if (decoded->width > kLargestImageSide || decoded->height > kLargestImageSide) {
        return {std::nullopt, ImageFault{ImageFault::Kind::TooLarge, path, decoded->width, decoded->height}};
    }
    const std::size_t count = static_cast<std::size_t>(std::max(decoded->width, 0)) *
                              static_cast<std::size_t>(std::max(decoded->height, 0));
    const bool ready = !decoded->hasAlpha && decoded->rgba.empty() && decoded->opaquePixels.size() == count;
    if (!WithinImageLimits(decoded->width, decoded->height) || (!ready && decoded->rgba.size() != 4 * count)) {
        return {std::nullopt, ImageFault{ImageFault::Kind::Unreadable, path}};
    }
    SkinImage image;
    if (ready) {
        image.width = decoded->width;
        image.height = decoded->height;
        image.pixels = std::move(decoded->opaquePixels);
    } else {
        image = Premultiply(*decoded);
    }
    image.scale = scale;
    return {std::move(image), std::nullopt};
}

} // namespace

ImageCache::ImageCache(const FileSystem& files, ImageDecoder& decoder) : files_(&files), decoder_(&decoder) {
}

std::optional<ImageCache::Header> ImageCache::headerOf(const std::filesystem::path& path) {
    const auto stamp = files_->stamp(path);
    if (!stamp) {
        headers_.erase(path);
        return std::nullopt;
    }
    if (const Entry* decoded = freshEntry(path, *stamp)) {
        const SkinImage* image = decoded->image ? &*decoded->image : nullptr;
        return Header{*stamp, image ? ImageSize{image->width, image->height} : ImageSize{}, decoded->fault};
    }
    if (const auto it = headers_.find(path); it != headers_.end() && it->second.stamp == *stamp) {
        return it->second;
    }
    Header header{*stamp, {}, std::nullopt};
    if (const std::optional<ImageSize> claimed = decoder_->readHeader(path); !claimed) {
        header.fault = ImageFault{ImageFault::Kind::Unreadable, path};
    } else if (claimed->width > kLargestImageSide || claimed->height > kLargestImageSide) {
        header.fault = ImageFault{ImageFault::Kind::TooLarge, path, claimed->width, claimed->height};
    } else if (!WithinImageLimits(claimed->width, claimed->height)) {
        header.fault = ImageFault{ImageFault::Kind::Unreadable, path};
    } else {
        header.size = *claimed;
    }
    return headers_[path] = header;
}

std::optional<ImageFault> ImageCache::headerFault(const std::filesystem::path& path) {
    if (!decoder_->readsHeaders()) {
        return fault(path);
    }
    const std::optional<Header> header = headerOf(path);
    return header ? header->fault : ImageFault{ImageFault::Kind::Missing, path};
}

std::optional<ImageSize> ImageCache::size(const std::filesystem::path& path) {
    if (!decoder_->readsHeaders()) {
        const SkinImage* image = load(path);
        return image != nullptr ? std::optional(ImageSize{image->width, image->height}) : std::nullopt;
    }
    const std::optional<Header> header = headerOf(path);
    return header && !header->fault ? std::optional(header->size) : std::nullopt;
}

const ImageCache::Entry* ImageCache::freshEntry(const std::filesystem::path& path,
                                                const FileSystem::Stamp& stamp) const {
    const auto it = entries_.find(path);
    return it != entries_.end() && it->second.stamp == stamp ? &it->second : nullptr;
}

std::optional<ImageFault> ImageCache::fault(const std::filesystem::path& path) {
    const Entry* entry = entryOf(path, 1);
    return entry != nullptr ? entry->fault : ImageFault{ImageFault::Kind::Missing, path};
}

void ImageCache::forget(const std::filesystem::path& path) {
    for (const std::filesystem::path& file : {path, DoubleDensityPath(path)}) {
        entries_.erase(file);
        headers_.erase(file);
    }
}

const SkinImage* ImageCache::load(const std::filesystem::path& path, int density) {
    if (density >= 2) {
        if (const Entry* sharp = entryOf(DoubleDensityPath(path), 2); sharp && sharp->image) {
            return &*sharp->image;
        }
    }
    const Entry* plain = entryOf(path, 1);
    return plain != nullptr && plain->image ? &*plain->image : nullptr;
}

std::optional<SkinImage> ImageCache::take(const std::filesystem::path& path, int density) {
    const SkinImage* image = load(path, density);
    if (image == nullptr) {
        return std::nullopt;
    }
    for (const std::filesystem::path& file : {DoubleDensityPath(path), path}) {
        if (const auto it = entries_.find(file);
            it != entries_.end() && it->second.image && &*it->second.image == image) {
            SkinImage taken = std::move(*it->second.image);
            entries_.erase(it);
            return taken;
        }
    }
    return std::nullopt;
}

std::pair<std::filesystem::path, int> ImageCache::chosenFile(const std::filesystem::path& path,
                                                             int density) const {
    if (density >= 2) {
        std::filesystem::path sharp = DoubleDensityPath(path);
        if (files_->stamp(sharp)) {
            return {std::move(sharp), 2};
        }
    }
    return {path, 1};
}

void ImageCache::preload(std::span<const std::filesystem::path> paths, int density) {
    struct Job {
        std::filesystem::path path;
        FileSystem::Stamp stamp;
        int scale = 1;
        Decoding decoding;
    };
    std::vector<Job> jobs;
    for (const std::filesystem::path& wanted : paths) {
        auto [path, scale] = chosenFile(wanted, density);
        const auto stamp = files_->stamp(path);
        const bool fresh = stamp && freshEntry(path, *stamp) != nullptr;
        const bool queued = std::ranges::find(jobs, path, &Job::path) != jobs.end();
        if (stamp && !fresh && !queued) {
            jobs.push_back({std::move(path), *stamp, scale, {}});
        }
    }

    std::atomic<std::size_t> next{0};
    const auto work = [&] {
        for (std::size_t i = next++; i < jobs.size(); i = next++) {
            jobs[i].decoding = Decode(*decoder_, jobs[i].path, jobs[i].scale);
        }
    };
    // The calling thread decodes too; a helper thread that cannot be made
    // only leaves more for it.
    std::vector<std::jthread> helpers;
    if (decoder_->decodesConcurrently()) {
        const std::size_t cores = std::max(1u, std::thread::hardware_concurrency());
        const std::size_t wanted = std::min({cores, std::size_t{4}, jobs.size()});
        for (std::size_t i = 1; i < wanted; ++i) {
            try {
                helpers.emplace_back(work);
            } catch (const std::system_error&) {
                break;
            }
        }
    }
    work();
    helpers.clear(); // joins them

    for (Job& job : jobs) {
        ++decodes_;
        entries_[job.path] = Entry{job.stamp, std::move(job.decoding.image), std::move(job.decoding.fault)};
    }
}

// A file that did not decode is not decoded again until it changes: a hover
// over a damaged button image costs nothing.
const ImageCache::Entry* ImageCache::entryOf(const std::filesystem::path& path, int scale) {
    const auto stamp = files_->stamp(path);
    if (!stamp) {
        entries_.erase(path);
        return nullptr;
    }
    if (const Entry* entry = freshEntry(path, *stamp)) {
        return entry;
    }
    ++decodes_;
    Decoding decoding = Decode(*decoder_, path, scale);
    return &(entries_[path] = Entry{*stamp, std::move(decoding.image), std::move(decoding.fault)});
}

std::filesystem::path SkinImagePath(const std::filesystem::path& skinFolder, std::string_view name) {
    std::string path = Utf8FromPath(skinFolder);
    if (!path.empty() && path.back() == '/' && !name.empty() && name.front() == '/') {
        path.pop_back();
    }
    return PathFromUtf8(path + std::string(name));
}

namespace {

// What `ask` answers for the image `name` of the skin's own folder, else of
// its fallback folder.
template <typename Ask> auto FromOwnOrFallback(const SkinSource& skin, std::string_view name, Ask ask) {
    using Answer = decltype(ask(skin.folder));
    if (Answer own = ask(SkinImagePath(skin.folder, name))) {
        return own;
    }
    if (skin.fallback.empty() || skin.fallback == skin.folder) {
        return Answer{};
    }
    return ask(SkinImagePath(skin.fallback, name));
}

} // namespace

const SkinImage* LoadSkinImage(ImageCache& images, const SkinSource& skin, std::string_view name,
                               int density) {
    return FromOwnOrFallback(skin, name,
                             [&](const std::filesystem::path& path) { return images.load(path, density); });
}

std::optional<SkinImage> TakeSkinImage(ImageCache& images, const SkinSource& skin, std::string_view name,
                                       int density) {
    return FromOwnOrFallback(skin, name,
                             [&](const std::filesystem::path& path) { return images.take(path, density); });
}

std::optional<ImageSize> SkinImageSize(ImageCache& images, const SkinSource& skin, std::string_view name) {
    return FromOwnOrFallback(skin, name,
                             [&](const std::filesystem::path& path) { return images.size(path); });
}

std::optional<ImageFault> OwnSkinImageFault(ImageCache& images, const std::filesystem::path& folder) {
    for (const std::string_view name : kOwnSkinImages) {
        if (auto fault = images.headerFault(SkinImagePath(folder, name))) {
            return fault;
        }
    }
    return std::nullopt;
}

bool DrawSkinImage(Canvas& canvas, ImageCache& images, const SkinSource& skin, std::string_view name,
                   Point at) {
    const SkinImage* image = LoadSkinImage(images, skin, name, canvas.imageDensity());
    if (image == nullptr) {
        return false;
    }
    canvas.drawImage(*image, at);
    return true;
}

SkinImage CropImage(const SkinImage& image, Rect part) {
    const int s = image.scale;
    const Rect clipped{std::max(part.left * s, 0), std::max(part.top * s, 0),
                       std::min(part.right * s, image.width), std::min(part.bottom * s, image.height)};
    SkinImage crop;
    crop.hasAlpha = image.hasAlpha;
    crop.scale = s;
    if (clipped.empty()) {
        return crop;
    }
    crop.width = clipped.width();
    crop.height = clipped.height();
    crop.pixels.reserve(static_cast<std::size_t>(crop.width) * static_cast<std::size_t>(crop.height));
    for (int y = clipped.top; y < clipped.bottom; ++y) {
        const auto row = image.pixels.begin() + static_cast<std::ptrdiff_t>(y) * image.width;
        crop.pixels.insert(crop.pixels.end(), row + clipped.left, row + clipped.right);
    }
    return crop;
}

bool DrawSkinImagePart(Canvas& canvas, ImageCache& images, const SkinSource& skin, std::string_view name,
                       Rect part) {
    const SkinImage* image = LoadSkinImage(images, skin, name, canvas.imageDensity());
    if (image == nullptr) {
        return false;
    }
    const SkinImage crop = CropImage(*image, part);
    if (crop.width > 0) {
        canvas.drawImage(crop, {std::max(part.left, 0), std::max(part.top, 0)});
    }
    return true;
}

} // namespace quorvel
