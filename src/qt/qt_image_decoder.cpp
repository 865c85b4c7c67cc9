#include "qt/qt_image_decoder.h"

#include <QImage>
#include <QImageReader>
#include <QString>
#include <cstring>

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
    // Straight alpha, bytes in the order red, green, blue, alpha.
    const QImage rgba = image.convertToFormat(QImage::Format_RGBA8888);
    decoded.rgba.resize(static_cast<std::size_t>(decoded.width) * static_cast<std::size_t>(decoded.height) * 4);
    for (int y = 0; y < decoded.height; ++y) {
        std::memcpy(decoded.rgba.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(decoded.width) * 4,
                    rgba.constScanLine(y), static_cast<std::size_t>(decoded.width) * 4);
    }
    return decoded;
}

} // namespace quorvel
