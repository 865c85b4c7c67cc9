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
    // Straight alpha, bytes in the order red, green, blue, alpha: converted
    // in place where Qt can, and copied once, row by row.
    image.convertTo(QImage::Format_RGBA8888);
    const std::size_t row = static_cast<std::size_t>(decoded.width) * 4;
    decoded.rgba.reserve(row * static_cast<std::size_t>(decoded.height));
    for (int y = 0; y < decoded.height; ++y) {
        const uchar* line = image.constScanLine(y);
        decoded.rgba.insert(decoded.rgba.end(), line, line + row);
    }
    return decoded;
}

} // namespace quorvel
