#include "qt/qt_image_decoder.h"

#include <QImage>
#include <QString>
#include <cstring>

namespace quorvel {

std::optional<DecodedImage> QtImageDecoder::decode(const std::filesystem::path& path) {
    QImage image(QString::fromStdString(path.string()));
    if (image.isNull()) {
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
