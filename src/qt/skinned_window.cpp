#include "qt/skinned_window.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWindow>

#include "app/main_window.h"

namespace quorvel {

namespace {

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

const QString kListStyle = "QListWidget { background: #282828; color: white; border: 1px solid #505050; }"
                           "QListWidget::item:selected { background: #3a7bd5; color: white; }";

} // namespace

QFont FontFor(const FontSpec& spec) {
    QFont font;
    font.setFamilies(FamiliesFor(spec.face));
    font.setPixelSize(spec.height);
    font.setWeight(spec.weight >= 700 ? QFont::Bold : QFont::Normal);
    font.setStyleHint(QFont::SansSerif);
    return font;
}

SkinnedWindow::SkinnedWindow(QWidget* parent) : QWidget(parent, Qt::FramelessWindowHint | Qt::Tool) {
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setWindowTitle(QString::fromUtf8(kApplicationTitle.data(), static_cast<int>(kApplicationTitle.size())));
    picture_ = QImage(1, 1, QImage::Format_ARGB32_Premultiplied);
    picture_.fill(Qt::black);
}

void SkinnedWindow::setFonts(const FontSpec& text, const FontSpec& title) {
    textFont_ = FontFor(text);
    titleFont_ = FontFor(title);
}

void SkinnedWindow::setClientSize(int width, int height) {
    QImage resized(width, height, QImage::Format_ARGB32_Premultiplied);
    resized.fill(Qt::black);
    QPainter painter(&resized);
    painter.drawImage(0, 0, picture_);
    painter.end();
    picture_ = resized;
    setFixedSize(width, height);
}

void SkinnedWindow::show() {
    QWidget::show();
    raise();
    activateWindow();
}

void SkinnedWindow::hide() { QWidget::hide(); }

void SkinnedWindow::startMove(Point at) {
    // A window manager moves the window itself; without one, follow the pointer.
    if (windowHandle() != nullptr && windowHandle()->startSystemMove()) {
        return;
    }
    dragging_ = true;
    dragOffset_ = QPoint(at.x, at.y);
}

void SkinnedWindow::createList(int id, Rect box, const std::vector<std::string>& items) {
    destroyList(id);
    auto* list = new QListWidget(this);
    list->setGeometry(box.left, box.top, box.width(), box.height());
    list->setFont(textFont_);
    list->setStyleSheet(kListStyle);
    list->setMouseTracking(true);
    for (const std::string& item : items) {
        list->addItem(QString::fromStdString(item));
    }
    list->show();
    lists_[id] = list;
}

void SkinnedWindow::destroyList(int id) {
    const auto it = lists_.find(id);
    if (it == lists_.end()) {
        return;
    }
    it->second->deleteLater();
    it->second->hide();
    lists_.erase(it);
}

void SkinnedWindow::highlightListItem(int id, int index) {
    const auto it = lists_.find(id);
    if (it != lists_.end()) {
        const QSignalBlocker quiet(it->second);
        it->second->setCurrentRow(index);
    }
}

void SkinnedWindow::drawImage(const SkinImage& image, Point at) {
    if (image.width <= 0 || image.height <= 0) {
        return;
    }
    // The pixels are 0xAARRGGBB with premultiplied colour, as Qt's format is.
    const QImage source(reinterpret_cast<const uchar*>(image.pixels.data()), image.width, image.height,
                        image.width * 4, QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&picture_);
    painter.setCompositionMode(image.hasAlpha ? QPainter::CompositionMode_SourceOver
                                              : QPainter::CompositionMode_Source);
    painter.drawImage(at.x, at.y, source);
}

void SkinnedWindow::drawText(std::string_view text, Rect box, FontRole font, Colour colour, TextAlign align) {
    QPainter painter(&picture_);
    painter.setFont(font == FontRole::Title ? titleFont_ : textFont_);
    painter.setPen(QColor(colour.red, colour.green, colour.blue));
    int flags = Qt::AlignVCenter | Qt::TextSingleLine;
    flags |= align == TextAlign::Centre ? Qt::AlignHCenter : align == TextAlign::Right ? Qt::AlignRight : Qt::AlignLeft;
    painter.drawText(QRect(box.left, box.top, box.width(), box.height()), flags,
                     QString::fromUtf8(text.data(), static_cast<int>(text.size())));
}

void SkinnedWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(0, 0, picture_);
}

void SkinnedWindow::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && controller_ != nullptr) {
        const QPoint p = event->position().toPoint();
        controller_->OnLeftButtonDown({p.x(), p.y()});
    }
}

void SkinnedWindow::mouseMoveEvent(QMouseEvent* event) {
    if (dragging_ && (event->buttons() & Qt::LeftButton)) {
        move(event->globalPosition().toPoint() - dragOffset_);
        return;
    }
    dragging_ = false;
    if (controller_ != nullptr) {
        const QPoint p = event->position().toPoint();
        controller_->OnMouseMove({p.x(), p.y()});
    }
}

void SkinnedWindow::mouseReleaseEvent(QMouseEvent*) { dragging_ = false; }

void SkinnedWindow::keyPressEvent(QKeyEvent* event) {
    int key = 0;
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        key = kEnterKey;
    } else if (event->key() == Qt::Key_Escape) {
        key = kEscapeKey;
    }
    if (controller_ != nullptr && key != 0 && controller_->OnKeyDown(key)) {
        return;
    }
    QWidget::keyPressEvent(event);
}

void SkinnedWindow::closeEvent(QCloseEvent* event) {
    // Closing only hides: the program lives on in the tray.
    event->ignore();
    if (controller_ != nullptr) {
        controller_->OnCloseRequest();
    }
}

} // namespace quorvel
