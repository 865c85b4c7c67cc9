#include "qt/qt_image_decoder.h"

#include <QImage>
#include <QImageReader>
#include <QString>
#include <array>
#include <cstdio>
#include <cstring>
#include <memory>

#include "ui/png_header.h"

namespace quorvel {

std::optional<DecodedImage> QtImageDecoder::decode(const std::filesystem::path& path) {
    // Skin images are PNG files, as their headers are read: the reader takes
    // them as such, without asking every image plug-in whether it knows the
    // file (which loads them all).
    QImageReader reader(QString::fromStdString(path.string()), "png");
    reader.setAutoDetectImageFormat(false);
    // The size the file claims is looked at before a pixel is decoded.
    if (const QSize claimed = reader.size();
        claimed.isValid() && !WithinImageLimits(claimed.width(), claimed.height())) {
        return DecodedImage{claimed.width(), claimed.height(), false, {}};
    }
    // An image without alpha is read straight into the pixels the program
    // keeps: Qt's reader fills an image of the size and format it makes.
    if (const QSize size = reader.size(); size.isValid() && reader.imageFormat() == QImage::Format_RGB32) {
        DecodedImage decoded{size.width(), size.height(), false, {}, {}};
        decoded.opaquePixels.resize(static_cast<std::size_t>(size.width()) * static_cast<std::size_t>(size.height()));
        auto* pixels = reinterpret_cast<uchar*>(decoded.opaquePixels.data());
        QImage image(pixels, size.width(), size.height(), size.width() * 4, QImage::Format_RGB32);
        if (!reader.read(&image) || image.isNull()) {
            return std::nullopt;
        }
        if (image.constBits() != pixels) {
            // Read into a buffer of Qt's own after all.
            image.convertTo(QImage::Format_RGB32);
            if (image.size() != size) {
                return std::nullopt;
            }
            for (int y = 0; y < size.height(); ++y) {
                std::memcpy(pixels + static_cast<std::size_t>(y) * static_cast<std::size_t>(size.width()) * 4,
                            image.constScanLine(y), static_cast<std::size_t>(size.width()) * 4);
            }
        }
        return decoded;
    }
    QImage image;
    if (!reader.read(&image) || image.isNull()) {
        return std::nullopt;
    }
    DecodedImage decoded;
    decoded.width = image.width();
    decoded.height = image.height();
    decoded.hasAlpha = image.hasAlphaChannel();
    // Straight alpha, bytes in the order red, green, blue, alpha, taken from
    // the 0xAARRGGBB pixels the PNG reader makes of true-colour images (any
    // other kind is converted to them first), pixel by pixel on this thread.
    if (image.format() != QImage::Format_RGB32 && image.format() != QImage::Format_ARGB32) {
        image.convertTo(QImage::Format_ARGB32);
    }
    const bool opaque = image.format() == QImage::Format_RGB32;
    decoded.rgba.reserve(static_cast<std::size_t>(decoded.width) * static_cast<std::size_t>(decoded.height) * 4);
    for (int y = 0; y < decoded.height; ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < decoded.width; ++x) {
            const QRgb pixel = line[x];
            decoded.rgba.insert(decoded.rgba.end(), {static_cast<std::uint8_t>(qRed(pixel)),
                                                     static_cast<std::uint8_t>(qGreen(pixel)),
                                                     static_cast<std::uint8_t>(qBlue(pixel)),
                                                     static_cast<std::uint8_t>(opaque ? 255 : qAlpha(pixel))});
        }
    }
    return decoded;
}

std::optional<ImageSize> QtImageDecoder::readHeader(const std::filesystem::path& path) {
    // Plain stdio: a file stream would set up the standard locale at start.
    const std::unique_ptr<std::FILE, int (*)(std::FILE*)> in(std::fopen(path.c_str(), "rb"), &std::fclose);
    std::array<unsigned char, kPngHeaderBytes> start{};
    std::array<unsigned char, kPngEndBytes> end{};
    if (in == nullptr || std::fread(start.data(), 1, start.size(), in.get()) != start.size() ||
        std::fseek(in.get(), -static_cast<long>(end.size()), SEEK_END) != 0 ||
        std::fread(end.data(), 1, end.size(), in.get()) != end.size()) {
        return std::nullopt;
    }
    return PngHeaderSize(start, end);
}

} // namespace quorvel
