#include "qt/skinned_window.h"

#include <QCloseEvent>
#include <QColorDialog>
#include <QCursor>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>
#include <QWindow>
#include <algorithm>

#include "app/main_window.h"
#include "qt/drop_down_list.h"

namespace quorvel {

SkinnedWindow::SkinnedWindow(QWidget* parent) : SkinnedSurface(parent, Qt::Tool, Qt::black) {
    setFocusPolicy(Qt::StrongFocus);
    setWindowTitle(QString::fromUtf8(kApplicationTitle.data(), static_cast<int>(kApplicationTitle.size())));
}

void SkinnedWindow::setFonts(const FontSpec& text, const FontSpec& title) {
    textFont_ = FontFor(text);
    titleFont_ = FontFor(title);
    picture_.setFonts(textFont_, titleFont_);
}

void SkinnedWindow::setClientSize(int width, int height) {
    sizeTo(width, height);
}

void SkinnedWindow::show() {
    // A minimised window comes back as it was.
    setWindowState(windowState() & ~Qt::WindowMinimized);
    QWidget::show();
    raise();
    activateWindow();
}

void SkinnedWindow::hide() {
    QWidget::hide();
}

void SkinnedWindow::minimise() { showMinimized(); }

void SkinnedWindow::setTaskbarEntry(bool shown) {
    // A tool window has no taskbar entry; changing the kind hides the window.
    const bool wasVisible = isVisible();
    setWindowFlags(Qt::FramelessWindowHint | (shown ? Qt::Window : Qt::Tool));
    if (wasVisible) {
        QWidget::show();
    }
}

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
    QListWidget* list = NewDropDownList(*this, box, items, textFont_);
    list->setObjectName(QString("list-%1").arg(id));
    list->viewport()->installEventFilter(this);
    // A click (or Enter) picks an entry; highlighting under the pointer does not.
    const auto chosen = [this, id](QListWidgetItem* item) {
        const auto it = lists_.find(id);
        if (controller_ != nullptr && item != nullptr && it != lists_.end()) {
            controller_->OnListChoice(id, it->second->row(item));
        }
    };
    connect(list, &QListWidget::itemClicked, this, chosen);
    connect(list, &QListWidget::itemActivated, this, chosen);
    // The wheel scrolls the entries under a resting pointer.
    connect(list->verticalScrollBar(), &QScrollBar::valueChanged, this, [this, id] {
        const auto it = lists_.find(id);
        if (it == lists_.end()) {
            return;
        }
        const QPoint at = it->second->viewport()->mapFromGlobal(QCursor::pos());
        if (it->second->viewport()->rect().contains(at)) {
            ReportPointer(id, at);
        }
    });
    list->show();
    lists_[id] = list;
}

QListWidget* SkinnedWindow::list(int id) const {
    const auto it = lists_.find(id);
    return it == lists_.end() ? nullptr : it->second;
}

void SkinnedWindow::ReportPointer(int id, QPoint inViewport) {
    QListWidget* list = this->list(id);
    if (list == nullptr || controller_ == nullptr) {
        return;
    }
    const QModelIndex index = list->indexAt(inViewport);
    // The entry's rectangle in the list's own coordinates, its frame counted.
    const QRect item = list->visualRect(index).translated(list->viewport()->pos());
    controller_->OnListPointer(
        id, index.isValid() ? index.row() : -1,
        {item.left(), item.top(), item.left() + item.width(), item.top() + item.height()});
}

bool SkinnedWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseMove) {
        for (const auto& [id, list] : lists_) {
            if (list->viewport() == watched) {
                ReportPointer(id, static_cast<QMouseEvent*>(event)->position().toPoint());
                break;
            }
        }
    }
    return QWidget::eventFilter(watched, event);
}

std::optional<Colour> SkinnedWindow::chooseColour(Colour initial) {
    const QColor chosen = QColorDialog::getColor(QColor(initial.red, initial.green, initial.blue), this);
    if (!chosen.isValid()) {
        return std::nullopt;
    }
    return Colour{static_cast<std::uint8_t>(chosen.red()), static_cast<std::uint8_t>(chosen.green()),
                  static_cast<std::uint8_t>(chosen.blue())};
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

bool SkinnedWindow::takeMove(QMouseEvent* event) {
    if (dragging_ && (event->buttons() & Qt::LeftButton)) {
        move(event->globalPosition().toPoint() - dragOffset_);
        return true;
    }
    dragging_ = false;
    return false;
}

void SkinnedWindow::mouseReleaseEvent(QMouseEvent*) {
    dragging_ = false;
}

// The second press of a double click is no new left-button press: a double
// click on a list entry closes the list with its first click, and its second
// must not act on the control that was under the list.
void SkinnedWindow::mouseDoubleClickEvent(QMouseEvent*) {
}

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
