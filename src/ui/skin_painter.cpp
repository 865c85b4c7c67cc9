#include "ui/skin_painter.h"

#include "ui/skin_images.h"

#include <algorithm>

namespace quorvel {

SkinImage Premultiply(const DecodedImage& decoded) {
    SkinImage image;
    image.width = decoded.width;
    image.height = decoded.height;
    image.hasAlpha = decoded.hasAlpha;
    const std::size_t count =
        static_cast<std::size_t>(decoded.width) * static_cast<std::size_t>(decoded.height);
    image.pixels.resize(count);
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
        image.pixels[i] = (a << 24) | (r << 16) | (g << 8) | b;
    }
    return image;
}

ImageCache::ImageCache(const FileSystem& files, ImageDecoder& decoder) : files_(&files), decoder_(&decoder) {
}

const SkinImage* ImageCache::load(const std::filesystem::path& path, int density) {
    if (density >= 2) {
        if (const SkinImage* sharp = loadFile(DoubleDensityName(path.string()), 2)) {
            return sharp;
        }
    }
    return loadFile(path, 1);
}

const SkinImage* ImageCache::loadFile(const std::filesystem::path& path, int scale) {
    const auto stamp = files_->stamp(path);
    if (!stamp) {
        entries_.erase(path);
        return nullptr;
    }
    if (const auto it = entries_.find(path); it != entries_.end() && it->second.stamp == *stamp) {
        return &it->second.image;
    }
    ++decodes_;
    const auto decoded = decoder_->decode(path);
    if (!decoded) {
        entries_.erase(path);
        return nullptr;
    }
    Entry& entry = entries_[path];
    entry.stamp = *stamp;
    entry.image = Premultiply(*decoded);
    entry.image.scale = scale;
    return &entry.image;
}

std::filesystem::path SkinImagePath(const std::filesystem::path& skinFolder, std::string_view name) {
    std::string path = skinFolder.string();
    if (!path.empty() && path.back() == '/' && !name.empty() && name.front() == '/') {
        path.pop_back();
    }
    return path + std::string(name);
}

bool DrawSkinImage(Canvas& canvas, ImageCache& images, const std::filesystem::path& skinFolder,
                   std::string_view name, Point at) {
    const SkinImage* image = images.load(SkinImagePath(skinFolder, name), canvas.imageDensity());
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

bool DrawSkinImagePart(Canvas& canvas, ImageCache& images, const std::filesystem::path& skinFolder,
                       std::string_view name, Rect part) {
    const SkinImage* image = images.load(SkinImagePath(skinFolder, name), canvas.imageDensity());
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
