#include "default_skin.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QRadialGradient>

#include <algorithm>
#include <cmath>
#include <functional>
#include <initializer_list>

#include "app/advanced_page_layout.h"
#include "app/basic_page_layout.h"
#include "app/main_window_layout.h"
#include "ui/dialog_layout.h"
#include "ui/skin_images.h"

namespace quorvel::skin {

namespace {

// --- Colours: graphite panels and one accent --------------------------------

const QColor kAccent(0x1E, 0xD6, 0xF0);
const QColor kAccentBright(0x8E, 0xF1, 0xFF);
const QColor kAccentDeep(0x0A, 0x8F, 0xA8);
const QColor kAccentInk(0x04, 0x16, 0x1B);  // the tick on an accent box
const QColor kAccentWash(0x0E, 0x33, 0x3D); // hovered surfaces
const QColor kWindowTop(0x11, 0x13, 0x18);
const QColor kWindowBottom(0x0A, 0x0B, 0x0F);
const QColor kTitleTop(0x1A, 0x1E, 0x25);
const QColor kTitleBottom(0x11, 0x14, 0x19);
const QColor kFooter(0x0B, 0x0D, 0x11);
const QColor kFrameEdge(0x2C, 0x32, 0x3C);
const QColor kPanelTop(0x19, 0x1D, 0x24);
const QColor kPanelBottom(0x13, 0x16, 0x1B);
const QColor kPanelHeader(0x1D, 0x22, 0x2A);
const QColor kPanelEdge(0x29, 0x2F, 0x39);
const QColor kSeparator(0x25, 0x2A, 0x33);
const QColor kField(0x0E, 0x11, 0x15);
const QColor kFieldEdge(0x33, 0x3A, 0x46);
const QColor kDialogField(0x28, 0x28, 0x28); // the sub-dialogs paint their child controls this grey
const QColor kControlTop(0x2B, 0x31, 0x3B);
const QColor kControlBottom(0x1C, 0x21, 0x28);
const QColor kControlEdge(0x3E, 0x46, 0x54);
const QColor kGlyph(0x9C, 0xA6, 0xB4);
const QColor kUnlit(0x1E, 0x23, 0x2B);
const QColor kUnlitEdge(0x31, 0x38, 0x43);
const QColor kBoxEdge(0x55, 0x5E, 0x6C);

QColor WithAlpha(QColor colour, int alpha) {
    colour.setAlpha(alpha);
    return colour;
}

// --- Geometry ------------------------------------------------------------------

QRect ToQt(Rect r) {
    return QRect(r.left, r.top, r.width(), r.height());
}
QSize SizeOf(Rect r) {
    return QSize(r.width(), r.height());
}

// The rectangle whose 1-px outline covers exactly the border pixels of `r`.
QRectF Outline(const QRect& r) {
    return QRectF(r).adjusted(0.5, 0.5, -0.5, -0.5);
}
QRectF Outline(QSize size) {
    return Outline(QRect(QPoint(0, 0), size));
}

QRect Inflated(Rect r, int dx, int dy) {
    return ToQt(r).adjusted(-dx, -dy, dx, dy);
}

QRect Bounds(std::initializer_list<Rect> rects) {
    QRect bounds;
    for (const Rect& r : rects) {
        bounds = bounds.united(ToQt(r));
    }
    return bounds;
}

QLinearGradient Vertical(const QRectF& r, const QColor& top, const QColor& bottom) {
    QLinearGradient gradient(r.topLeft(), r.bottomLeft());
    gradient.setColorAt(0, top);
    gradient.setColorAt(1, bottom);
    return gradient;
}

// An accent line that fades out towards both ends.
void FadingLine(QPainter& p, qreal left, qreal right, qreal y, const QColor& colour) {
    QLinearGradient gradient(QPointF(left, y), QPointF(right, y));
    gradient.setColorAt(0, WithAlpha(colour, 0));
    gradient.setColorAt(0.5, colour);
    gradient.setColorAt(1, WithAlpha(colour, 0));
    p.setPen(QPen(QBrush(gradient), 1));
    p.drawLine(QPointF(left, y), QPointF(right, y));
}

// Device pixels per layout pixel of the images being drawn: 1, or 2 for the
// "@2x" images of sharp screens. Everything is drawn in layout pixels.
qreal scale = 1;

QImage Transparent(QSize size) {
    QImage image(size * scale, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(scale);
    image.fill(Qt::transparent);
    return image;
}

QImage Opaque(QSize size) {
    QImage image(size * scale, QImage::Format_RGB32);
    image.setDevicePixelRatio(scale);
    image.fill(kWindowBottom);
    return image;
}

// An image's size in layout pixels.
QSize Logical(const QImage& image) {
    return image.deviceIndependentSize().toSize();
}

// A painter with smooth edges; shapes are placed on half pixels, so straight
// 1-px edges stay crisp.
struct Painter : QPainter {
    explicit Painter(QImage* image) : QPainter(image) { setRenderHint(QPainter::Antialiasing); }
};

void RoundedBox(QPainter& p, const QRectF& r, qreal radius, const QBrush& fill, const QColor& edge) {
    p.setPen(QPen(edge, 1));
    p.setBrush(fill);
    p.drawRoundedRect(r, radius, radius);
}

// A downward chevron centred on `centre`.
void Chevron(QPainter& p, QPointF centre, qreal half, const QColor& colour) {
    p.setPen(QPen(colour, 1.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    const QPointF points[] = {centre + QPointF(-half, -half / 2), centre + QPointF(0, half / 2),
                              centre + QPointF(half, -half / 2)};
    p.drawPolyline(points, 3);
}

// --- Controls ----------------------------------------------------------------

QImage PlainButton(bool over) {
    QImage image = Transparent(SizeOf(kDialogButtons[0].rect));
    Painter p(&image);
    const QRectF r = Outline(Logical(image));
    if (over) {
        RoundedBox(p, r, 3, Vertical(r, QColor(0x12, 0x4B, 0x58), QColor(0x0B, 0x2B, 0x34)), kAccent);
        p.setPen(QPen(WithAlpha(kAccentBright, 110), 1));
    } else {
        RoundedBox(p, r, 3, Vertical(r, kControlTop, kControlBottom), kControlEdge);
        p.setPen(QPen(WithAlpha(Qt::white, 22), 1));
    }
    p.drawLine(QPointF(3, 1.5), QPointF(r.right() - 2.5, 1.5));
    if (over) {
        FadingLine(p, 8, r.right() - 8, r.bottom() - 1, WithAlpha(kAccentBright, 160));
    }
    return image;
}

// The small square buttons of the title bar: a glyph on a dark tile.
QImage TitleButton(bool over,
                   const std::function<void(QPainter&, const QColor& glyph, const QColor& tile)>& glyph) {
    QImage image = Transparent(SizeOf(WindowButtonRect(WindowButtonId::Close)));
    Painter p(&image);
    const QRectF r = Outline(Logical(image));
    const QColor tile = over ? kAccentWash : QColor(0x19, 0x1D, 0x24);
    RoundedBox(p, r, 3, tile, over ? kAccent : kPanelEdge);
    glyph(p, over ? kAccentBright : kGlyph, tile);
    return image;
}

void CloseGlyph(QPainter& p, const QColor& glyph, const QColor&) {
    p.setPen(QPen(glyph, 1.6, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(5.5, 5.5), QPointF(12.5, 12.5));
    p.drawLine(QPointF(12.5, 5.5), QPointF(5.5, 12.5));
}

void MinimiseGlyph(QPainter& p, const QColor& glyph, const QColor&) {
    p.setPen(QPen(glyph, 1.6, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(5.5, 12.5), QPointF(12.5, 12.5));
}

// A painter's palette: a disc with paint dots and a thumb hole.
void PaletteGlyph(QPainter& p, const QColor& glyph, const QColor& tile, QPointF centre, qreal radius) {
    p.setPen(Qt::NoPen);
    p.setBrush(glyph);
    p.drawEllipse(centre, radius, radius * 0.9);
    p.setBrush(tile);
    const qreal dot = radius * 0.2;
    p.drawEllipse(centre + QPointF(-radius * 0.38, -radius * 0.38), dot, dot);
    p.drawEllipse(centre + QPointF(radius * 0.22, -radius * 0.5), dot, dot);
    p.drawEllipse(centre + QPointF(radius * 0.58, 0), dot, dot);
    p.drawEllipse(centre + QPointF(-radius * 0.1, radius * 0.48), radius * 0.3, radius * 0.3);
}

void SkinsGlyph(QPainter& p, const QColor& glyph, const QColor& tile) {
    PaletteGlyph(p, glyph, tile, QPointF(9, 9), 5.6);
}

QImage PageButton(bool over, bool forward) {
    QImage image = Transparent(SizeOf(WindowButtonRect(WindowButtonId::BasicPage)));
    Painter p(&image);
    const QRectF r = Outline(Logical(image));
    if (over) {
        RoundedBox(p, r, 6, Vertical(r, QColor(0x12, 0x45, 0x51), QColor(0x0A, 0x26, 0x2E)), kAccent);
    } else {
        RoundedBox(p, r, 6, Vertical(r, kControlTop, kControlBottom), kControlEdge);
    }
    p.setPen(QPen(WithAlpha(Qt::white, over ? 30 : 18), 1));
    p.drawLine(QPointF(6, 1.5), QPointF(r.right() - 5, 1.5));

    const qreal cx = Logical(image).width() / 2.0;
    const qreal cy = Logical(image).height() / 2.0;
    const qreal dir = forward ? 1 : -1;
    p.setPen(QPen(over ? kAccentBright : kGlyph, 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    const QPointF arrow[] = {{cx - 3 * dir, cy - 8}, {cx + 5 * dir, cy}, {cx - 3 * dir, cy + 8}};
    p.drawPolyline(arrow, 3);
    p.setPen(QPen(WithAlpha(over ? kAccent : kGlyph, 90), 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    const QPointF trail[] = {{cx - 9 * dir, cy - 5}, {cx - 4 * dir, cy}, {cx - 9 * dir, cy + 5}};
    p.drawPolyline(trail, 3);
    return image;
}

// A drop-down field: a dark well with a chevron in its right `arrowWidth` px.
void DropField(QPainter& p, const QRect& rect, int arrowWidth, bool over, const QColor& fill) {
    const QRectF r = Outline(rect);
    RoundedBox(p, r, 2.5, fill, over ? kAccent : kFieldEdge);
    const qreal divider = rect.right() + 1 - arrowWidth + 0.5;
    p.setPen(QPen(over ? WithAlpha(kAccent, 140) : kSeparator, 1));
    p.drawLine(QPointF(divider, rect.top() + 3), QPointF(divider, rect.bottom() - 2));
    const QPointF centre((divider + rect.right() + 1) / 2.0, rect.top() + rect.height() / 2.0);
    Chevron(p, centre, std::min(3.5, rect.height() / 4.0), over ? kAccentBright : kGlyph);
}

QImage RowBox(bool over) {
    const int number = kBasicPage.rowNumber(1).width();
    QImage image = Transparent(SizeOf(kBasicPage.rowBox(1)));
    Painter p(&image);
    DropField(p, QRect(QPoint(0, 0), Logical(image)), kBasicPage.rowArrowWidth, over,
              over ? QColor(0x10, 0x1C, 0x22) : kField);
    // The row number sits on a tile of its own at the left.
    const QRectF tile(1, 1, number - 1, Logical(image).height() - 2);
    p.setPen(Qt::NoPen);
    p.setBrush(over ? kAccentWash : QColor(0x1C, 0x21, 0x29));
    p.drawRect(tile);
    p.setPen(QPen(over ? kAccent : kFieldEdge, 1));
    p.drawLine(QPointF(number + 0.5, 1), QPointF(number + 0.5, Logical(image).height() - 1));
    if (over) {
        p.setPen(QPen(kAccent, 1));
        p.drawLine(QPointF(1.5, 3), QPointF(1.5, Logical(image).height() - 3));
    }
    return image;
}

QImage LightingField() {
    QImage image = Transparent(SizeOf(kBasicPage.lightingModeField));
    Painter p(&image);
    DropField(p, QRect(QPoint(0, 0), Logical(image)), 14, false, kField);
    return image;
}

void EmptyBox(QPainter& p, const QRect& rect) {
    const QRectF r = Outline(rect);
    RoundedBox(p, r, 3, QColor(0x0C, 0x0E, 0x12), kBoxEdge);
    p.setPen(QPen(WithAlpha(Qt::black, 90), 1));
    p.drawLine(QPointF(rect.left() + 3, rect.top() + 1.5), QPointF(rect.right() - 2, rect.top() + 1.5));
}

QImage TickBox(bool ticked) {
    QImage image = Transparent(SizeOf(kBasicPage.dpiStageTickBox(0)));
    Painter p(&image);
    if (!ticked) {
        EmptyBox(p, QRect(QPoint(0, 0), Logical(image)));
        return image;
    }
    const QRectF r = Outline(Logical(image));
    RoundedBox(p, r, 3, Vertical(r, QColor(0x4A, 0xE6, 0xFA), kAccentDeep), kAccentBright);
    p.setPen(QPen(kAccentInk, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    const qreal s = Logical(image).width() / 16.0;
    const QPointF tick[] = {{4 * s, 8.4 * s}, {6.8 * s, 11.2 * s}, {12 * s, 5.2 * s}};
    p.drawPolyline(tick, 3);
    return image;
}

// A meter cell: lit in the accent with a bright top edge, unlit in graphite.
// `gap` leaves transparent columns at the right, for cells that touch.
QImage MeterCell(QSize size, bool lit, int gap) {
    QImage image = Transparent(size);
    Painter p(&image);
    const QRectF r = Outline(QSize(size.width() - gap, size.height()));
    const qreal radius = std::min(2.5, size.height() / 4.0);
    if (lit) {
        RoundedBox(p, r, radius, Vertical(r, kAccentBright, kAccentDeep), WithAlpha(kAccentBright, 200));
        p.setPen(QPen(WithAlpha(Qt::white, 120), 1));
        p.drawLine(QPointF(2, 1.5), QPointF(r.right() - 1.5, 1.5));
    } else {
        RoundedBox(p, r, radius, Vertical(r, QColor(0x23, 0x28, 0x31), kUnlit), kUnlitEdge);
    }
    return image;
}

// --- Shared artwork ------------------------------------------------------------

void DrawImage(QPainter& p, Rect at, const QImage& image) {
    p.drawImage(QPoint(at.left, at.top), image);
}

// A hexagon with a chevron inside: the program's mark.
void Logo(QPainter& p, QPointF centre, qreal radius) {
    QPolygonF hexagon;
    for (int i = 0; i < 6; ++i) {
        const qreal angle = (60.0 * i - 90.0) * 3.14159265358979323846 / 180.0;
        hexagon << centre + QPointF(radius * std::cos(angle), radius * std::sin(angle));
    }
    p.setPen(QPen(kAccent, 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(WithAlpha(kAccent, 40));
    p.drawPolygon(hexagon);
    p.setPen(QPen(kAccentBright, 1.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    const QPointF chevron[] = {centre + QPointF(-radius * 0.4, -radius * 0.3),
                               centre + QPointF(0, radius * 0.25),
                               centre + QPointF(radius * 0.4, -radius * 0.3)};
    p.drawPolyline(chevron, 3);
}

// The gaming mouse seen from above, inside `box`; `glow` sets how bright its
// accents are.
void MouseDrawing(QPainter& p, const QRectF& box, int glow) {
    const qreal w = box.width();
    const qreal h = box.height();
    const qreal x = box.left();
    const qreal y = box.top();
    QPainterPath body;
    body.moveTo(x + w * 0.5, y);
    body.cubicTo(x + w * 0.9, y, x + w, y + h * 0.2, x + w, y + h * 0.45);
    body.cubicTo(x + w, y + h * 0.78, x + w * 0.82, y + h, x + w * 0.5, y + h);
    body.cubicTo(x + w * 0.18, y + h, x, y + h * 0.78, x, y + h * 0.45);
    body.cubicTo(x, y + h * 0.2, x + w * 0.1, y, x + w * 0.5, y);
    QLinearGradient shade(box.topLeft(), box.bottomRight());
    shade.setColorAt(0, QColor(0x22, 0x27, 0x30));
    shade.setColorAt(1, QColor(0x12, 0x15, 0x1A));
    p.setPen(QPen(QColor(0x3A, 0x42, 0x4F), 1.5));
    p.setBrush(shade);
    p.drawPath(body);

    // The buttons' split and the seam across the palm.
    p.setPen(QPen(QColor(0x0B, 0x0D, 0x10), 2));
    p.drawLine(QPointF(x + w * 0.5, y + 2), QPointF(x + w * 0.5, y + h * 0.4));
    QPainterPath seam;
    seam.moveTo(x + 3, y + h * 0.42);
    seam.quadTo(x + w * 0.5, y + h * 0.36, x + w - 3, y + h * 0.42);
    p.setBrush(Qt::NoBrush);
    p.drawPath(seam);

    // Scroll wheel, DPI button and side buttons.
    const QRectF wheel(x + w * 0.5 - w * 0.06, y + h * 0.1, w * 0.12, h * 0.17);
    p.setPen(QPen(WithAlpha(kAccentBright, glow), 1));
    p.setBrush(Vertical(wheel, WithAlpha(kAccent, glow), WithAlpha(kAccentDeep, glow)));
    p.drawRoundedRect(wheel, w * 0.05, w * 0.05);
    p.setPen(QPen(QColor(0x3A, 0x42, 0x4F), 1));
    p.setBrush(QColor(0x1A, 0x1E, 0x25));
    p.drawRoundedRect(QRectF(x + w * 0.5 - w * 0.05, y + h * 0.3, w * 0.1, h * 0.06), 2, 2);
    for (int i = 0; i < 2; ++i) {
        p.drawRoundedRect(QRectF(x - 2, y + h * (0.36 + 0.1 * i), w * 0.05, h * 0.08), 2, 2);
    }

    // The light strip round the back.
    QPainterPath strip;
    strip.moveTo(x + w * 0.12, y + h * 0.8);
    strip.quadTo(x + w * 0.5, y + h * 1.02, x + w * 0.88, y + h * 0.8);
    QLinearGradient light(QPointF(x, 0), QPointF(x + w, 0));
    light.setColorAt(0, WithAlpha(kAccent, 0));
    light.setColorAt(0.5, WithAlpha(kAccentBright, glow));
    light.setColorAt(1, WithAlpha(kAccent, 0));
    p.setPen(QPen(QBrush(light), 2.5, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawPath(strip);
}

// Where the footer with OK, Apply and Cancel begins.
int FooterTop() {
    return kDialogButtons[0].rect.top - 5;
}

// The window's frame: title bar, border and footer, shared by main.png and
// both page backgrounds.
QImage WindowFrame() {
    const QRect area = ToQt(kMainWindowClientArea);
    QImage image = Opaque(area.size());
    Painter p(&image);
    p.fillRect(area, Vertical(area, kWindowTop, kWindowBottom));

    const int titleBottom = WindowButtonRect(WindowButtonId::Close).bottom + 8;
    const QRect title(0, 0, area.width(), titleBottom);
    p.fillRect(title, Vertical(title, kTitleTop, kTitleBottom));
    p.setPen(QPen(kSeparator, 1));
    p.drawLine(QPointF(0, titleBottom + 0.5), QPointF(area.width(), titleBottom + 0.5));
    FadingLine(p, -200, 420, titleBottom + 0.5, kAccent);
    Logo(p, QPointF(20, titleBottom / 2.0), 8);
    // Three rising bars beside the mark.
    for (int i = 0; i < 3; ++i) {
        const qreal height = 4 + 3 * i;
        p.fillRect(QRectF(36 + 5 * i, titleBottom / 2.0 + 6 - height, 3, height),
                   WithAlpha(kAccent, 110 + 50 * i));
    }

    const QRect footer(0, FooterTop(), area.width(), area.height() - FooterTop());
    p.fillRect(footer, kFooter);
    p.setPen(QPen(kSeparator, 1));
    p.drawLine(QPointF(0, footer.top() + 0.5), QPointF(area.width(), footer.top() + 0.5));
    FadingLine(p, area.width() - 460, area.width() + 200, footer.top() + 0.5, WithAlpha(kAccent, 150));

    p.setPen(QPen(kFrameEdge, 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(Outline(area));
    return image;
}

// A panel of a page; `separator` is the y of the line under its heading (0:
// no heading) and `heading` the heading's rectangle, whose centre gets an
// accent mark.
void Panel(QPainter& p, const QRect& rect, int separator = 0, Rect heading = {}) {
    const QRectF r = Outline(rect);
    RoundedBox(p, r, 4, Vertical(r, kPanelTop, kPanelBottom), kPanelEdge);
    p.setPen(QPen(WithAlpha(Qt::white, 14), 1));
    p.drawLine(QPointF(rect.left() + 4, rect.top() + 1.5), QPointF(rect.right() - 3, rect.top() + 1.5));
    if (separator == 0) {
        FadingLine(p, rect.left(), rect.left() + 160, rect.top() + 0.5, kAccent);
        return;
    }
    QPainterPath header;
    header.addRoundedRect(
        QRectF(rect.left() + 1, rect.top() + 1, rect.width() - 2, separator - rect.top() + 3), 3, 3);
    p.save();
    p.setClipRect(QRect(rect.left(), rect.top(), rect.width(), separator - rect.top()));
    p.fillPath(header, kPanelHeader);
    p.restore();
    p.setPen(QPen(kSeparator, 1));
    p.drawLine(QPointF(rect.left() + 1, separator + 0.5), QPointF(rect.right(), separator + 0.5));
    const qreal centre = (heading.left + heading.right) / 2.0;
    p.setPen(QPen(kAccent, 2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(centre - 22, separator), QPointF(centre + 22, separator));
    FadingLine(p, centre - 80, centre + 80, separator + 0.5, WithAlpha(kAccent, 120));
}

// A well around a child control (edit, list, colour swatch).
void Well(QPainter& p, const QRect& rect, const QColor& fill) {
    RoundedBox(p, Outline(rect), 2.5, fill, kFieldEdge);
}

void Separator(QPainter& p, int left, int right, int y) {
    p.setPen(QPen(kSeparator, 1));
    p.drawLine(QPointF(left, y + 0.5), QPointF(right, y + 0.5));
}

// Small rising bars under a report-rate segment: one bar for 125 Hz up to
// four for 1000 Hz.
void RateBars(QPainter& p, Rect segment, int bars) {
    const qreal width = 4 * 4 + 3 * 3;
    const qreal left = (segment.left + segment.right) / 2.0 - width / 2.0;
    for (int i = 0; i < 4; ++i) {
        const qreal height = 3 + 2.5 * i;
        const QRectF bar(left + 7 * i, segment.bottom + 17 - height, 4, height);
        p.fillRect(bar, i < bars ? WithAlpha(kAccent, 170) : kUnlitEdge);
    }
}

// Dots under a control telling its number (1-4).
void Pips(QPainter& p, Rect above, int count) {
    const qreal centre = (above.left + above.right) / 2.0;
    const qreal left = centre - (count - 1) * 2.5;
    p.setPen(Qt::NoPen);
    p.setBrush(WithAlpha(kGlyph, 150));
    for (int i = 0; i < count; ++i) {
        p.drawEllipse(QPointF(left + 5 * i, above.bottom + 5.5), 1.3, 1.3);
    }
}

// --- Pages ---------------------------------------------------------------------

QImage MainBackground() {
    QImage image = WindowFrame();
    Painter p(&image);
    const QRect area = ToQt(kMainWindowClientArea);
    const qreal w = 200;
    const qreal h = 330;
    MouseDrawing(p, QRectF(area.width() / 2.0 - w / 2, (FooterTop() + 40) / 2.0 - h / 2 + 10, w, h), 90);
    return image;
}

// Where the title of a page stands, underlined with an accent stroke.
void PageHeader(QPainter& p) {
    p.setPen(QPen(kAccent, 2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(kPageTitle.left + 1, kPageTitle.bottom + 2),
               QPointF(kPageTitle.left + 36, kPageTitle.bottom + 2));
    FadingLine(p, kPageTitle.left - 40, 860, kPageTitle.bottom + 2.5, WithAlpha(kAccent, 70));
}

QImage BasicBackground(const QImage& tickBox, const QImage& dpiUnlit, const QImage& rateUnlit) {
    const BasicPageLayout& b = kBasicPage;
    QImage image = WindowFrame();
    Painter p(&image);
    PageHeader(p);

    const int panelsBottom = FooterTop() - 4;
    const int rightEdge = kMainWindowClientArea.right - 6;
    const int upperTop = b.keySettingHeading.top - 10;
    const int lowerTop = b.dpiHeading.top - 10;
    const int dpiLeft = b.dpiLabel(0, 8).left - 8;
    const int lightingLeft = b.lightingModeCaption().left - 8;

    // The mouse, beside the list of its buttons.
    MouseDrawing(p, QRectF(40, 190, 170, 300), 230);

    // Key setting: the button list, the key configurations and Default.
    const QRect keyPanel(b.rowBox(1).left - 12, upperTop, b.rowBox(1).width() + 24, panelsBottom - upperTop);
    Panel(p, keyPanel, b.rowBox(1).top - 3, b.keySettingHeading);
    Separator(p, b.modeA.rect.left, b.modeB.rect.right, b.modeA.rect.top - 10);
    // The room the row lists open into carries a faint mark.
    p.setOpacity(0.18);
    Logo(p,
         QPointF(keyPanel.center().x() + 0.5,
                 (b.rowBox(BasicPageLayout::kRowCount).bottom + b.modeA.rect.top) / 2.0),
         34);
    p.setOpacity(1);

    // Report rate: four segments with their rate bars.
    const QRect ratePanel(dpiLeft, upperTop, rightEdge - dpiLeft, lowerTop - 13 - upperTop);
    Panel(p, ratePanel, b.reportRateHeading.bottom + 3, b.reportRateHeading);
    for (int i = 0; i < BasicPageLayout::kReportRateSegmentCount; ++i) {
        DrawImage(p, b.reportRateSegment(i), rateUnlit);
        RateBars(p, b.reportRateSegment(i), i + 1);
    }

    // DPI: a rail behind each column, the tick boxes with their stage dots.
    const QRect dpiPanel(dpiLeft, lowerTop, lightingLeft - 8 - dpiLeft, panelsBottom - lowerTop);
    Panel(p, dpiPanel, b.dpiHeading.bottom + 3, b.dpiHeading);
    for (int stage = 0; stage < BasicPageLayout::kDpiColumnCount; ++stage) {
        const QRect rail =
            ToQt(b.dpiCell(stage, BasicPageLayout::kMaxDpiCells)).united(ToQt(b.dpiCell(stage, 1)));
        Well(p, rail.adjusted(-3, -3, 3, 3), QColor(0x10, 0x13, 0x17));
        DrawImage(p, b.dpiStageTickBox(stage), tickBox);
        Pips(p, b.dpiStageTickBox(stage), stage + 1);
    }
    // Guide lines from the labels to the first column.
    for (int cell = 1; cell <= BasicPageLayout::kMaxDpiCells; ++cell) {
        const Rect c = b.dpiCell(0, cell);
        p.setPen(QPen(WithAlpha(kGlyph, 40), 1));
        p.drawLine(QPointF(c.left - 8, (c.top + c.bottom) / 2.0 - 0.5),
                   QPointF(c.left - 5, (c.top + c.bottom) / 2.0 - 0.5));
    }

    // Lighting: effect, loop colours, DPI stage colours.
    const QRect lightingPanel(lightingLeft, lowerTop, rightEdge - lightingLeft, panelsBottom - lowerTop);
    Panel(p, lightingPanel, b.rgbEffectHeading.bottom + 3, b.rgbEffectHeading);
    Separator(p, lightingLeft + 8, rightEdge - 8, b.loopColourHeading.top - 5);
    Separator(p, lightingLeft + 8, rightEdge - 8, b.dpiColourHeading.top - 5);
    for (int slot = 0; slot < kLoopColourCount; ++slot) {
        Well(p, Inflated(b.loopColourSwatch(slot).rect, 1, 1), kField);
        DrawImage(p, b.loopColourTickBox(slot), tickBox);
    }
    DropField(p, ToQt(b.dpiStageChooser), 14, false, kField);
    for (int i = 0; i < kDpiStageCount; ++i) {
        DrawImage(p, b.dpiColourSwitch(i), dpiUnlit);
        Pips(p, b.dpiColourSwitch(i), i + 1);
    }
    return image;
}

// A round image button of the recorder: a dot to record, a square to stop.
void RecorderButton(QPainter& p, Rect rect, bool record) {
    const QRectF r = Outline(ToQt(rect));
    p.setPen(QPen(kControlEdge, 1));
    p.setBrush(Vertical(r, kControlTop, kControlBottom));
    p.drawEllipse(r);
    const QPointF centre = r.center();
    p.setPen(Qt::NoPen);
    if (record) {
        QRadialGradient glow(centre, 8);
        glow.setColorAt(0, WithAlpha(kAccentBright, 255));
        glow.setColorAt(0.6, kAccent);
        glow.setColorAt(1, WithAlpha(kAccent, 0));
        p.setBrush(glow);
        p.drawEllipse(centre, 8, 8);
        p.setBrush(kAccent);
        p.drawEllipse(centre, 4.5, 4.5);
    } else {
        p.setBrush(kGlyph);
        p.drawRoundedRect(QRectF(centre.x() - 5, centre.y() - 5, 10, 10), 1.5, 1.5);
    }
}

void PlusMinus(QPainter& p, QPointF centre, bool plus) {
    p.setPen(QPen(WithAlpha(kGlyph, 170), 1.4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(centre + QPointF(-3, 0), centre + QPointF(3, 0));
    if (plus) {
        p.drawLine(centre + QPointF(0, -3), centre + QPointF(0, 3));
    }
}

QImage AdvancedBackground(const QImage& tickBox, const QImage& cellUnlit) {
    const AdvancedPageLayout& a = kAdvancedPage;
    QImage image = WindowFrame();
    Painter p(&image);
    PageHeader(p);

    const int panelsBottom = FooterTop() - 4;
    const int top = a.macroSettingCaption.top - 10;
    const int rightEdge = kMainWindowClientArea.right - 6;

    // Pointer settings: three sliders, each in a groove between "-" and "+".
    const int left = a.tracks[0].caption.left - 12;
    const int right = a.checkBoxLabel(a.scrollOneScreenBox).right + 12;
    const QRect pointerPanel(left, top, right - left, panelsBottom - top);
    Panel(p, pointerPanel);
    for (int track = 0; track < 3; ++track) {
        const QRect groove = ToQt(a.sliderCell(track, 1))
                                 .united(ToQt(a.sliderCell(track, AdvancedPageLayout::kSliderCellCount)));
        Well(p, groove.adjusted(-3, -3, 2, 3), QColor(0x0C, 0x0E, 0x12));
        for (int cell = 1; cell <= AdvancedPageLayout::kSliderCellCount; ++cell) {
            DrawImage(p, a.sliderCell(track, cell), cellUnlit);
        }
        const qreal middle = groove.top() + groove.height() / 2.0;
        PlusMinus(p, QPointF(groove.left() - 11, middle), false);
        PlusMinus(p, QPointF(groove.right() + 11, middle), true);
        if (track > 0) {
            Separator(p, left + 12, right - 12, a.tracks[static_cast<std::size_t>(track)].caption.top - 16);
        }
    }
    DrawImage(p, a.enhancePointerPrecisionBox, tickBox);
    DrawImage(p, a.scrollOneScreenBox, tickBox);

    // Macro panel: the two lists side by side, the recorder column.
    const int macroLeft = a.selectMacroCaption.left - 9;
    const QRect macroPanel(macroLeft, top, rightEdge - macroLeft, panelsBottom - top);
    Panel(p, macroPanel, a.macroSettingCaption.bottom + 4, a.macroSettingCaption);
    const QRect columns(macroLeft + 1, a.selectMacroCaption.top, rightEdge - macroLeft - 2,
                        a.selectMacroCaption.height());
    p.fillRect(columns, QColor(0x1B, 0x20, 0x28));
    Separator(p, columns.left(), columns.right(), columns.bottom());
    const QRect lists = ToQt(a.macroList.rect).united(ToQt(a.eventList.rect)).adjusted(-1, -1, 1, 1);
    Well(p, lists, kField);
    p.setPen(QPen(kFieldEdge, 1));
    p.drawLine(QPointF(a.eventList.rect.left - 0.5, lists.top()),
               QPointF(a.eventList.rect.left - 0.5, lists.bottom()));
    const qreal recordColumn = a.startRecording.left - 5.5;
    p.setPen(QPen(kSeparator, 1));
    p.drawLine(QPointF(recordColumn, columns.top()), QPointF(recordColumn, lists.bottom()));

    RecorderButton(p, a.startRecording, true);
    RecorderButton(p, a.stopRecording, false);
    Well(p, Inflated(a.macroNameBox.rect, 2, 2), kField);
    Well(p, Inflated(a.loopTimesBox.rect, 2, 2), kField);
    DropField(p, ToQt(a.insertBox), a.insertBox.right - a.insertBoxText().rect.right, false, kField);
    return image;
}

// --- Sub-dialogs -------------------------------------------------------------------

// A small mark in a dialog's title strip telling what the dialog asks for.
using DialogMark = std::function<void(QPainter&, QPointF centre)>;

void KeycapMark(QPainter& p, QPointF c) {
    p.setPen(QPen(kAccent, 1.4));
    p.setBrush(WithAlpha(kAccent, 40));
    p.drawRoundedRect(QRectF(c.x() - 6.5, c.y() - 6.5, 13, 13), 2.5, 2.5);
    p.drawLine(c + QPointF(-3, 3), c + QPointF(3, 3));
}

void ComboMark(QPainter& p, QPointF c) {
    p.setPen(QPen(kAccent, 1.3));
    p.setBrush(WithAlpha(kAccent, 40));
    p.drawRoundedRect(QRectF(c.x() - 8, c.y() - 4, 7, 9), 1.5, 1.5);
    p.drawRoundedRect(QRectF(c.x() + 1, c.y() - 4, 7, 9), 1.5, 1.5);
    p.setPen(QPen(kAccentBright, 1.2));
    p.drawLine(c + QPointF(-4.5, -7.5), c + QPointF(4.5, -7.5));
}

void PlusMark(QPainter& p, QPointF c) {
    p.setPen(QPen(kAccent, 2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(c + QPointF(-5, 0), c + QPointF(5, 0));
    p.drawLine(c + QPointF(0, -5), c + QPointF(0, 5));
}

void BoltMark(QPainter& p, QPointF c) {
    const QPointF bolt[] = {c + QPointF(1.5, -8), c + QPointF(-5, 1), c + QPointF(-0.5, 1),
                            c + QPointF(-2, 8),   c + QPointF(5, -1), c + QPointF(0.5, -1)};
    p.setPen(QPen(kAccentBright, 1, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(kAccent);
    p.drawPolygon(bolt, 6);
}

void MediaMark(QPainter& p, QPointF c) {
    const QPointF play[] = {c + QPointF(-7, -6), c + QPointF(2, 0), c + QPointF(-7, 6)};
    p.setPen(Qt::NoPen);
    p.setBrush(kAccent);
    p.drawPolygon(play, 3);
    p.fillRect(QRectF(c.x() + 3, c.y() - 6, 2, 12), kAccent);
    p.fillRect(QRectF(c.x() + 6, c.y() - 6, 2, 12), kAccent);
}

void WindowsMark(QPainter& p, QPointF c) {
    for (int i = 0; i < 4; ++i) {
        const QRectF tile(c.x() - 7 + 7.5 * (i % 2), c.y() - 7 + 7.5 * (i / 2), 6.5, 6.5);
        p.fillRect(tile, i == 0 ? kAccentBright : kAccent);
    }
}

void MacroMark(QPainter& p, QPointF c) {
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 3; ++i) {
        p.setBrush(kAccentBright);
        p.drawEllipse(c + QPointF(-6, -5 + 5 * i), 1.5, 1.5);
        p.fillRect(QRectF(c.x() - 3, c.y() - 6 + 5 * i, 10 - 2 * i, 2), kAccent);
    }
}

void ClockMark(QPainter& p, QPointF c) {
    p.setPen(QPen(kAccent, 1.4));
    p.setBrush(WithAlpha(kAccent, 40));
    p.drawEllipse(c, 7, 7);
    p.setPen(QPen(kAccentBright, 1.4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(c, c + QPointF(0, -4.5));
    p.drawLine(c, c + QPointF(3.5, 0));
}

void PaletteMark(QPainter& p, QPointF c) {
    PaletteGlyph(p, kAccent, QColor(0x1A, 0x1E, 0x25), c, 7.5);
}

// A sub-dialog's background: title strip with its mark, the room for the
// skeleton's buttons, and a well under each of the dialog's child controls.
// The image reaches 12 px past the farthest thing the dialog places.
QImage DialogBackground(std::initializer_list<Rect> places, const DialogMark& mark,
                        const std::function<void(QPainter&)>& controls) {
    const DialogSkeleton& s = kDialogSkeleton;
    QRect bounds = Bounds({s.close.rect, s.ok.rect, s.cancel.rect});
    for (const Rect& r : places) {
        bounds = bounds.united(ToQt(r));
    }
    QImage image = Opaque(QSize(bounds.right() + 1 + 12, bounds.bottom() + 1 + 12));
    Painter p(&image);
    const QRect area = QRect(QPoint(0, 0), Logical(image));
    p.fillRect(area, Vertical(area, QColor(0x17, 0x1B, 0x21), QColor(0x0F, 0x11, 0x15)));

    const int titleBottom = s.close.rect.bottom + 6;
    const QRect title(0, 0, area.width(), titleBottom);
    p.fillRect(title, Vertical(title, kTitleTop, kTitleBottom));
    Separator(p, 0, area.width(), titleBottom);
    FadingLine(p, -120, area.width() * 0.7, titleBottom + 0.5, kAccent);
    mark(p, QPointF(18, titleBottom / 2.0));

    Separator(p, 10, area.width() - 10, s.ok.rect.top - 9);
    controls(p);

    p.setPen(QPen(QColor(0x36, 0x3E, 0x4A), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(Outline(area));
    return image;
}

// A well under a child control of a dialog, in the grey the control paints.
void DialogWell(QPainter& p, Rect control) {
    Well(p, Inflated(control, 3, 2), kDialogField);
}

void Selector(QPainter& p, const DropDownSelector& selector) {
    const QRect field = Inflated(selector.clickArea, 3, 2);
    DropField(p, field, selector.clickArea.right - selector.display.rect.right + 3, false, kDialogField);
}

QImage SingleKeyBackground() {
    const SingleKeyDialogLayout& d = kSingleKeyDialog;
    return DialogBackground({d.keyName.rect, d.prompt}, KeycapMark, [&](QPainter& p) {
        // The captured key shows on a keycap.
        const QRectF cap = Outline(Inflated(d.keyName.rect, 6, 5));
        RoundedBox(p, cap, 4, kDialogField, kControlEdge);
        p.setPen(QPen(kAccent, 2, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(cap.left() + 6, cap.bottom() - 0.5), QPointF(cap.right() - 6, cap.bottom() - 0.5));
    });
}

QImage ComboKeyBackground() {
    const ComboKeyDialogLayout& d = kComboKeyDialog;
    return DialogBackground(
        {d.modifier.list.rect, d.modifier.clickArea, d.firstKey.rect, d.secondKey.rect}, ComboMark,
        [&](QPainter& p) {
            Selector(p, d.modifier);
            DialogWell(p, d.firstKey.rect);
            DialogWell(p, d.secondKey.rect);
            // "+" between the modifier and the keys it combines.
            const qreal x = (d.firstKey.rect.left + d.firstKey.rect.right) / 2.0;
            PlusMark(p, QPointF(x, (d.modifier.clickArea.bottom + d.firstKey.rect.top) / 2.0));
            PlusMark(p, QPointF(x, (d.firstKey.rect.bottom + d.secondKey.rect.top) / 2.0));
        });
}

QImage FireKeyBackground() {
    const FireKeyDialogLayout& d = kFireKeyDialog;
    return DialogBackground(
        {d.key.list.rect, d.key.clickArea, d.speed.rect, d.times.rect, d.illustrationRow(2)}, BoltMark,
        [&](QPainter& p) {
            Selector(p, d.key);
            DialogWell(p, d.speed.rect);
            DialogWell(p, d.times.rect);
            // An accent bar beside the illustration.
            const Rect first = d.illustrationRow(0);
            const Rect last = d.illustrationRow(2);
            p.setPen(QPen(kAccent, 2, Qt::SolidLine, Qt::RoundCap));
            p.drawLine(QPointF(first.left - 8, first.top + 3), QPointF(first.left - 8, last.bottom - 3));
        });
}

QImage MediaKeyBackground() {
    const MediaKeyDialogLayout& d = kMediaKeyDialog;
    return DialogBackground({d.key.list.rect, d.key.clickArea}, MediaMark,
                            [&](QPainter& p) { Selector(p, d.key); });
}

QImage WindowsKeyBackground() {
    const WindowsKeyDialogLayout& d = kWindowsKeyDialog;
    return DialogBackground({d.key.list.rect, d.key.clickArea}, WindowsMark,
                            [&](QPainter& p) { Selector(p, d.key); });
}

QImage MacroKeyBackground(const QImage& tickBox) {
    const MacroKeyDialogLayout& d = kMacroKeyDialog;
    return DialogBackground({d.macro.list.rect, d.macro.clickArea, d.prompt(), d.modeText(3)}, MacroMark,
                            [&](QPainter& p) {
                                Selector(p, d.macro);
                                // The dialog draws only the chosen mode's box, so the
                                // others must already show an empty one.
                                for (int mode = 1; mode <= 3; ++mode) {
                                    DrawImage(p, d.modeBox(mode), tickBox);
                                }
                                p.setPen(QPen(kSeparator, 1));
                                const qreal x = d.modeBox(1).left - 12.5;
                                p.drawLine(QPointF(x, d.modeText(1).top), QPointF(x, d.modeText(3).bottom));
                            });
}

QImage DelayTimeBackground() {
    const DelayTimeDialogLayout& d = kDelayTimeDialog;
    return DialogBackground({d.delay.rect, d.prompt, d.rangeNote}, ClockMark,
                            [&](QPainter& p) { DialogWell(p, d.delay.rect); });
}

QImage SkinsBackground() {
    const SkinsDialogLayout& d = kSkinsDialog;
    return DialogBackground({d.skin.list.rect, d.skin.clickArea, d.colourSample.rect, d.prompt}, PaletteMark,
                            [&](QPainter& p) {
                                Selector(p, d.skin);
                                DialogWell(p, d.colourSample.rect);
                            });
}

// Images with transparency are handed out with straight alpha, as a PNG
// holds them.
QImage Finished(const QImage& image) {
    return image.hasAlphaChannel() ? image.convertToFormat(QImage::Format_ARGB32) : image;
}

// The Default skin's images at the current scale.
std::vector<SkinImage> PaintDefault() {
    const QImage tickEmpty = TickBox(false);
    const QImage dpiUnlit = MeterCell(SizeOf(kBasicPage.dpiCell(0, 1)), false, 0);
    const QImage rateUnlit = MeterCell(SizeOf(kBasicPage.reportRateSegment(0)), false, 0);
    // Slider cells touch one another: each leaves its last column clear.
    const QImage sliderUnlit = MeterCell(SizeOf(kAdvancedPage.sliderCell(0, 1)), false, 1);

    std::vector<SkinImage> images{
        {kMainBackground, MainBackground()},
        {kBasicPageBackground, BasicBackground(tickEmpty, dpiUnlit, rateUnlit)},
        {kAdvancedPageBackground, AdvancedBackground(tickEmpty, sliderUnlit)},
        {kButtonNormal, PlainButton(false)},
        {kButtonOver, PlainButton(true)},
        {kCloseNormal, TitleButton(false, CloseGlyph)},
        {kCloseOver, TitleButton(true, CloseGlyph)},
        {kMinimiseNormal, TitleButton(false, MinimiseGlyph)},
        {kMinimiseOver, TitleButton(true, MinimiseGlyph)},
        {kSkinsNormal, TitleButton(false, SkinsGlyph)},
        {kSkinsOver, TitleButton(true, SkinsGlyph)},
        {kBasicPageNormal, PageButton(false, false)},
        {kBasicPageOver, PageButton(true, false)},
        {kAdvancedPageNormal, PageButton(false, true)},
        {kAdvancedPageOver, PageButton(true, true)},
        {kRowBoxNormal, RowBox(false)},
        {kRowBoxOver, RowBox(true)},
        {kDropdownField, LightingField()},
        {kTickBoxEmpty, tickEmpty},
        {kTickBoxTicked, TickBox(true)},
        {kDpiCellLit, MeterCell(SizeOf(kBasicPage.dpiCell(0, 1)), true, 0)},
        {kDpiCellUnlit, dpiUnlit},
        {kReportRateLit, MeterCell(SizeOf(kBasicPage.reportRateSegment(0)), true, 0)},
        {kReportRateUnlit, rateUnlit},
        {kSliderCellLit, MeterCell(SizeOf(kAdvancedPage.sliderCell(0, 1)), true, 1)},
        {kSliderCellUnlit, sliderUnlit},
        {kSingleKeyBackground, SingleKeyBackground()},
        {kComboKeyBackground, ComboKeyBackground()},
        {kFireKeyBackground, FireKeyBackground()},
        {kMediaKeyBackground, MediaKeyBackground()},
        {kWindowsKeyBackground, WindowsKeyBackground()},
        {kMacroKeyBackground, MacroKeyBackground(tickEmpty)},
        {kDelayTimeBackground, DelayTimeBackground()},
        {kSkinsBackground, SkinsBackground()},
    };
    for (SkinImage& image : images) {
        image.image = Finished(image.image);
    }
    return images;
}

// Ember: the Default skin's drawing in warm tones. Every pixel that has a
// hue takes the amber one, keeping its saturation, value and alpha, so the
// graphite greys turn to warm greys and the cyan accent to amber.
void Warm(QImage& image) {
    constexpr int kAmberHue = 30;
    for (int y = 0; y < image.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            QColor colour = QColor::fromRgba(row[x]);
            if (colour.hsvHue() >= 0) {
                colour.setHsv(kAmberHue, colour.hsvSaturation(), colour.value(), colour.alpha());
                row[x] = colour.rgba();
            }
        }
    }
}

} // namespace

const std::vector<SkinName>& SkinNames() {
    static const std::vector<SkinName> names{{"Default", Skin::Default}, {"Ember", Skin::Ember}};
    return names;
}

std::vector<SkinImage> PaintSkin(Skin skin, int imageScale) {
    scale = imageScale;
    std::vector<SkinImage> images = PaintDefault();
    scale = 1;
    if (skin == Skin::Ember) {
        for (SkinImage& image : images) {
            Warm(image.image);
        }
    }
    return images;
}

std::vector<SkinImage> PaintDefaultSkin() {
    return PaintSkin(Skin::Default, 1);
}

} // namespace quorvel::skin
