#include "qt/qt_image_decoder.h"

#include <QImage>
#include <QImageReader>
#include <QString>

namespace quorvel {

std::optional<DecodedImage> QtImageDecoder::decode(const std::filesystem::path& path) {
    QImageReader reader(QString::fromStdString(path.string()));
    // The size the file claims is looked at before a pixel is decoded.
    if (const QSize claimed = reader.size();
        claimed.isValid() && !WithinImageLimits(claimed.width(), claimed.height())) {
        return DecodedImage{claimed.width(), claimed.height(), false, {}};
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

} // namespace quorvel
