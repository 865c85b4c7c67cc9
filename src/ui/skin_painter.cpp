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

std::pair<std::filesystem::path, int> ImageCache::chosenFile(const std::filesystem::path& path,
                                                             int density) const {
    if (density >= 2) {
        std::filesystem::path sharp = DoubleDensityName(path.string());
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
        std::optional<SkinImage> image;
    };
    std::vector<Job> jobs;
    for (const std::filesystem::path& wanted : paths) {
        auto [path, scale] = chosenFile(wanted, density);
        const auto stamp = files_->stamp(path);
        const auto cached = entries_.find(path);
        const bool fresh = cached != entries_.end() && stamp && cached->second.stamp == *stamp;
        const bool queued = std::ranges::find(jobs, path, &Job::path) != jobs.end();
        if (stamp && !fresh && !queued) {
            jobs.push_back({std::move(path), *stamp, scale, std::nullopt});
        }
    }

    std::atomic<std::size_t> next{0};
    const auto work = [&] {
        for (std::size_t i = next++; i < jobs.size(); i = next++) {
            if (const auto decoded = decoder_->decode(jobs[i].path)) {
                jobs[i].image = Premultiply(*decoded);
                jobs[i].image->scale = jobs[i].scale;
            }
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
        if (job.image) {
            entries_[job.path] = Entry{job.stamp, std::move(*job.image)};
        }
    }
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
