#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QStringList>
#include <QWidget>
#include <optional>
#include <string_view>

#include "ports/ui_port.h"

namespace quorvel {

// The program's text as Qt's, read by the program's own UTF-8 decoder.
QString FromUtf8(std::string_view text);

// Horizontal alignment, centred vertically.
Qt::Alignment AlignmentOf(TextAlign align);

// The font of a face the program names, or the nearest the system has.
QFont FontFor(const FontSpec& spec);

// `font`, made smaller where `texts` do not fit `width` pixels on one line,
// down to the smallest legible size.
QFont FittingFont(QFont font, const QStringList& texts, int width);

// The platform's colour chooser, modal over `owner`: the confirmed colour,
// or nothing when it was cancelled.
std::optional<Colour> ChooseColour(QWidget& owner, Colour initial);

// One line of text fitted to a box `width` pixels wide, the one rule for
// every text of the program's windows: the font shrinks to the smallest
// legible size, then the text loses its end to an ellipsis. It never reaches
// past the box into a neighbour.
struct FittedLine {
    QFont font;
    QString text;
};
FittedLine FitLine(const QFont& font, const QString& text, int width);

// A window's off-screen picture: the controller draws into it, the window
// paints it in one copy. It keeps what was drawn until it is drawn over,
// also across a change of size. It has as many pixels as the window has
// device pixels (the layout size times the screen's device pixel ratio), so
// text and images are drawn at the screen's density; positions stay layout
// pixels.
class QtPicture final : public Canvas {
public:
    QtPicture(QWidget& window, QColor blank);

    void resize(int width, int height);
    // Lets the pixels go; drawing does nothing until the next resize.
    void release();
    void setFonts(const QFont& text, const QFont& title);
    const QImage& image() const { return image_; }
    // Copies the picture onto the window (from its paint event).
    void paintOnto(QWidget& window) const;

    void drawImage(const SkinImage& image, Point at) override;
    void adoptImage(SkinImage&& image) override;
    void drawText(std::string_view text, Rect box, FontRole font, Colour colour, TextAlign align) override;
    void drawWrappedText(std::string_view text, Rect box, FontRole font, Colour colour) override;
    void fillRect(Rect box, Colour colour) override;
    void present() override { window_->update(); }
    int imageDensity() const override { return ratio_ > 1 ? 2 : 1; }

private:
    // The windows are opaque, and so is their picture: in the format of a
    // window's own pixels it is copied onto the window line by line, where
    // a picture with alpha would be blended pixel by pixel, in Qt's threads.
    static constexpr QImage::Format kFormat = QImage::Format_RGB32;

    const QFont& font(FontRole role) const { return role == FontRole::Title ? title_ : text_; }
    // A picture of the size, in the blank colour.
    QImage Blank() const;
    // The picture to draw on, made now if it is not yet; none once let go.
    QImage* target();

    QWidget* window_;
    QColor blank_;
    qreal ratio_ = 1; // device pixels per layout pixel
    QSize size_;      // device pixels; empty once let go
    QImage image_;    // null until first drawn on
    QFont text_;
    QFont title_;
};

} // namespace quorvel
