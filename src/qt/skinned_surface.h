#pragma once

#include <QColor>
#include <QListWidget>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QWidget>
#include <string>
#include <vector>

#include "ports/ui_port.h"
#include "qt/qt_picture.h"

namespace quorvel {

// A skinned window on screen, the main window (on a QWidget) or a dialog (on
// a QDialog): frameless, painted from an off-screen picture its controller
// draws into, with left presses and pointer moves handed to the controller
// (OnLeftButtonDown, OnMouseMove) in client pixels.
template <typename Widget, typename Controller> class SkinnedSurface : public Widget {
public:
    const QImage& picture() const { return picture_.image(); }

protected:
    SkinnedSurface(QWidget* parent, Qt::WindowFlags flags, QColor blank)
        : Widget(parent, flags | Qt::FramelessWindowHint), picture_(*this, blank) {
        this->setMouseTracking(true);
    }

    // The picture and the window take the size of the skin's background.
    void sizeTo(int width, int height) {
        picture_.resize(width, height);
        this->setFixedSize(width, height);
    }
    // A move of the pointer the window takes itself (a drag); true when it
    // did, and the controller then hears nothing of it.
    virtual bool takeMove(QMouseEvent*) { return false; }

    void paintEvent(QPaintEvent*) override { picture_.paintOnto(*this); }
    void mousePressEvent(QMouseEvent* event) override {
        if (event->button() == Qt::LeftButton && controller_ != nullptr) {
            const QPoint p = event->position().toPoint();
            controller_->OnLeftButtonDown({p.x(), p.y()});
        }
    }
    void mouseMoveEvent(QMouseEvent* event) override {
        if (takeMove(event) || controller_ == nullptr) {
            return;
        }
        const QPoint p = event->position().toPoint();
        controller_->OnMouseMove({p.x(), p.y()});
    }
    // The pointer left the window (or went onto one of its child controls):
    // nothing of the picture is under it any more, so no hover image stays.
    void leaveEvent(QEvent* event) override {
        Widget::leaveEvent(event);
        if (controller_ != nullptr) {
            controller_->OnMouseMove({-1, -1});
        }
    }

    Controller* controller_ = nullptr;
    QtPicture picture_;
};

} // namespace quorvel
