#include "qt/qt_picture.h"

#include <QColorDialog>
#include <QFontMetrics>
#include <QPainter>
#include <algorithm>
#include <utility>

#include "lang/utf8.h"

namespace quorvel {

namespace {

// The smallest font a text is shrunk to so that it fits its box.
constexpr int kSmallestFontPixels = 8;

// Faces that look and measure alike, for systems without the named one.
QStringList FamiliesFor(const std::string& face) {
    const QString named = QString::fromStdString(face);
    if (face == "Arial") {
        return {named, "Liberation Sans", "Arimo", "DejaVu Sans"};
    }
    if (face == "Tahoma") {
        return {named, "DejaVu Sans", "Liberation Sans"};
    }
    if (face == "黑体") {
        return {"SimHei", named, "Noto Sans CJK SC", "WenQuanYi Zen Hei", "DejaVu Sans"};
    }
    if (face == "宋体") {
        return {"SimSun", named, "Noto Serif CJK SC", "Noto Sans CJK SC", "DejaVu Sans"};
    }
    return {named};
}

} // namespace

QString FromUtf8(std::string_view text) {
    const std::u16string wide = Utf8ToUtf16(text);
    return QString::fromUtf16(wide.data(), static_cast<qsizetype>(wide.size()));
}

Qt::Alignment AlignmentOf(TextAlign align) {
    const Qt::Alignment across = align == TextAlign::Centre  ? Qt::AlignHCenter
                                 : align == TextAlign::Right ? Qt::AlignRight
                                                             : Qt::AlignLeft;
    return across | Qt::AlignVCenter;
}

QFont FontFor(const FontSpec& spec) {
    QFont font;
    font.setFamilies(FamiliesFor(spec.face));
    font.setWeight(spec.weight >= 700 ? QFont::Bold : QFont::Normal);
    font.setStyleHint(QFont::SansSerif);
    // The height the program names is the whole line (ascent and descent),
    // as the desktop it was drawn for measures fonts; Qt's pixel size is the
    // em, a little smaller. Take the largest em whose line still fits.
    int pixels = spec.height;
    font.setPixelSize(pixels);
    while (pixels > 6 && QFontMetrics(font).height() > spec.height) {
        font.setPixelSize(--pixels);
    }
    return font;
}

namespace {

// The whole pixels that cover `length` (not negative). Not std::ceil: built
// for size, that is a call that faults a page of the maths library in at
// start, for this alone.
int Covering(qreal length) {
    const int whole = static_cast<int>(length);
    return whole < length ? whole + 1 : whole;
}

// The font shrunk a pixel at a time until the widest of the texts fits
// `width` or the font is the smallest; with that text's width at that size.
std::pair<QFont, int> Shrunk(QFont font, const QStringList& texts, int width) {
    const auto widest = [&](const QFont& f) {
        const QFontMetrics metrics(f);
        int w = 0;
        for (const QString& text : texts) {
            w = std::max(w, metrics.horizontalAdvance(text));
        }
        return w;
    };
    int w = widest(font);
    while (font.pixelSize() > kSmallestFontPixels && w > width) {
        font.setPixelSize(font.pixelSize() - 1);
        w = widest(font);
    }
    return {font, w};
}

} // namespace

QFont FittingFont(QFont font, const QStringList& texts, int width) {
    return Shrunk(font, texts, width).first;
}

std::optional<Colour> ChooseColour(QWidget& owner, Colour initial) {
    const QColor chosen = QColorDialog::getColor(QColor(initial.red, initial.green, initial.blue), &owner);
    if (!chosen.isValid()) {
        return std::nullopt;
    }
    return Colour{static_cast<std::uint8_t>(chosen.red()), static_cast<std::uint8_t>(chosen.green()),
                  static_cast<std::uint8_t>(chosen.blue())};
}

FittedLine FitLine(const QFont& font, const QString& text, int width) {
    auto [fitting, textWidth] = Shrunk(font, {text}, width);
    FittedLine line{fitting, text};
    // A line that fits is not measured again to be cut.
    if (textWidth > width) {
        line.text = QFontMetrics(line.font).elidedText(text, Qt::ElideRight, std::max(width, 0));
    }
    return line;
}

QtPicture::QtPicture(QWidget& window, QColor blank)
    : window_(&window), blank_(blank), size_(1, 1) {
}

void QtPicture::resize(int width, int height) {
    ratio_ = std::max<qreal>(window_->devicePixelRatioF(), 1);
    size_ = QSize(Covering(width * ratio_), Covering(height * ratio_));
    // A picture not made yet is made when first drawn on (a background that
    // covers it may become the picture itself); one that is there keeps what
    // it shows.
    if (!image_.isNull()) {
        QImage resized = Blank();
        QPainter painter(&resized);
        painter.drawImage(0, 0, image_);
        painter.end();
        image_ = resized;
    }
}

void QtPicture::release() {
    image_ = QImage();
    size_ = QSize();
}

QImage QtPicture::Blank() const {
    QImage blank(size_, kFormat);
    blank.setDevicePixelRatio(ratio_);
    blank.fill(blank_);
    return blank;
}

QImage* QtPicture::target() {
    if (size_.isEmpty()) {
        return nullptr; // let go: drawing waits for the next size
    }
    if (image_.isNull()) {
        image_ = Blank();
    }
    return &image_;
}

void QtPicture::adoptImage(SkinImage&& image) {
    if (size_.isEmpty() || image.hasAlpha || image.width != size_.width() || image.height != size_.height()) {
        drawImage(image, {0, 0});
        return;
    }
    // Opaque and as large as the picture: its pixels, 0xffRRGGBB as Qt's
    // format has them, become the picture's, kept alive by the picture.
    auto* pixels = new std::vector<std::uint32_t>(std::move(image.pixels));
    image_ = QImage(
        reinterpret_cast<uchar*>(pixels->data()), size_.width(), size_.height(), size_.width() * 4, kFormat,
        [](void* owned) { delete static_cast<std::vector<std::uint32_t>*>(owned); }, pixels);
    image_.setDevicePixelRatio(ratio_);
}

void QtPicture::setFonts(const QFont& text, const QFont& title) {
    text_ = text;
    title_ = title;
}

void QtPicture::paintOnto(QWidget& window) const {
    QPainter painter(&window);
    if (image_.isNull()) {
        painter.fillRect(window.rect(), blank_);
        return;
    }
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(0, 0, image_);
}

void QtPicture::drawImage(const SkinImage& image, Point at) {
    QImage* picture = image.width > 0 && image.height > 0 ? target() : nullptr;
    if (picture == nullptr) {
        return;
    }
    // The pixels are 0xAARRGGBB with premultiplied colour, as Qt's format is.
    QImage source(reinterpret_cast<const uchar*>(image.pixels.data()), image.width, image.height,
                  image.width * 4, QImage::Format_ARGB32_Premultiplied);
    source.setDevicePixelRatio(image.scale);
    QPainter painter(picture);
    // An image of another density than the picture's is scaled smoothly.
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.setCompositionMode(image.hasAlpha ? QPainter::CompositionMode_SourceOver
                                              : QPainter::CompositionMode_Source);
    painter.drawImage(QPointF(at.x, at.y), source);
}

void QtPicture::drawText(std::string_view text, Rect box, FontRole role, Colour colour, TextAlign align) {
    QImage* picture = target();
    if (picture == nullptr) {
        return;
    }
    QPainter painter(picture);
    const FittedLine line = FitLine(font(role), FromUtf8(text), box.width());
    painter.setFont(line.font);
    painter.setPen(QColor(colour.red, colour.green, colour.blue));
    painter.drawText(QRect(box.left, box.top, box.width(), box.height()),
                     static_cast<int>(AlignmentOf(align)) | Qt::TextSingleLine, line.text);
}

void QtPicture::drawWrappedText(std::string_view text, Rect box, FontRole role, Colour colour) {
    // Lines that do not fit the box's height stand above and below it, the
    // block still centred on the box's middle.
    QImage* picture = target();
    if (picture == nullptr) {
        return;
    }
    QPainter painter(picture);
    painter.setFont(font(role));
    painter.setPen(QColor(colour.red, colour.green, colour.blue));
    painter.drawText(QRect(box.left, box.top, box.width(), box.height()),
                     Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap | Qt::TextDontClip, FromUtf8(text));
}

void QtPicture::fillRect(Rect box, Colour colour) {
    QImage* picture = target();
    if (picture == nullptr) {
        return;
    }
    QPainter painter(picture);
    painter.fillRect(QRect(box.left, box.top, box.width(), box.height()),
                     QColor(colour.red, colour.green, colour.blue));
}

} // namespace quorvel
