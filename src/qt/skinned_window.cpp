#include "qt/skinned_window.h"

#include <QBackingStore>
#include <QCloseEvent>
#include <QHideEvent>
#include <QCursor>
#include <QFileDialog>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>
#include <QWindow>
#include <algorithm>
#if defined(__GLIBC__)
#include <malloc.h>
#endif

#include "app/main_window.h"
#include "qt/child_controls.h"
#include "qt/drop_down_list.h"

namespace quorvel {

namespace {

// The child controls of the macro panel: white on dark grey, as the dialogs'.
const QString kControlStyle =
    "QLabel, QLineEdit, QListWidget { color: white; background: #282828; border: none; }"
    "QLineEdit:focus { background: #323a46; }"
    "QListWidget::item:selected { background: #3a7bd5; color: white; }";

} // namespace

SkinnedWindow::SkinnedWindow(QWidget* parent) : SkinnedSurface(parent, Qt::Tool, Qt::black) {
    InstallControlAccessibility();
    setFocusPolicy(Qt::StrongFocus);
    setWindowTitle(FromUtf8(kApplicationTitle));
}

void SkinnedWindow::setController(MainWindow* controller) {
    if (controller_ != nullptr) {
        controller_->setAccessibility(nullptr);
    }
    controller_ = controller;
    if (controller_ != nullptr) {
        controller_->setAccessibility(&accessibility_);
    }
}

QWidget* SkinnedWindow::accessibleChild(int id) const {
    QWidget* child = control(id);
    return child != nullptr ? child : list(id);
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

void SkinnedWindow::releasePicture() {
    picture_.release();
    // The window system's copy of the picture too: the next paint sizes it
    // to the window again.
    if (QBackingStore* store = backingStore(); store != nullptr && !isVisible()) {
        store->resize(QSize());
    }
#if defined(__GLIBC__)
    // The freed pictures go back to the system, not only to the heap.
    ::malloc_trim(0);
#endif
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
    AddList(id, NewDropDownList(*this, box, items, textFont_));
}

void SkinnedWindow::createListBox(int id, Rect box) {
    destroyList(id);
    auto* list = new QListWidget(this);
    list->setGeometry(box.left, box.top, box.width(), box.height());
    list->setStyleSheet(kControlStyle);
    list->setFont(textFont_);
    list->setFrameShape(QFrame::NoFrame);
    list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // One line of one font an entry: the list does not measure every entry
    // again each time one is added (a recording of thousands of lines).
    list->setUniformItemSizes(true);
    list->setFocusPolicy(Qt::NoFocus);
    list->setMouseTracking(true);
    list->viewport()->setMouseTracking(true);
    connect(list, &QListWidget::itemDoubleClicked, this, [this, id, list](QListWidgetItem* item) {
        if (controller_ != nullptr && item != nullptr) {
            controller_->OnListDoubleClick(id, list->row(item));
        }
    });
    AddList(id, list);
}

void SkinnedWindow::setListItems(int id, const std::vector<std::string>& items) {
    QListWidget* list = this->list(id);
    if (list == nullptr) {
        return;
    }
    // The entries are changed in place: the list may be handing on one of
    // them (a double click that edits it).
    const QSignalBlocker quiet(list);
    while (list->count() > static_cast<int>(items.size())) {
        delete list->takeItem(list->count() - 1);
    }
    for (std::size_t i = 0; i < items.size(); ++i) {
        const QString text = FromUtf8(items[i]);
        if (static_cast<int>(i) < list->count()) {
            list->item(static_cast<int>(i))->setText(text);
        } else {
            list->addItem(text);
        }
    }
}

void SkinnedWindow::replaceListItems(int id, std::size_t first, std::size_t count,
                                     std::span<const std::string> items) {
    QListWidget* list = this->list(id);
    if (list == nullptr) {
        return;
    }
    const QSignalBlocker quiet(list);
    const auto size = static_cast<std::size_t>(list->count());
    const std::size_t start = std::min(first, size);
    std::size_t end = start + std::min(count, size - start);
    std::size_t row = start;
    // Entries replaced keep their place (and a selection on them) ...
    for (; row < end && row - start < items.size(); ++row) {
        list->item(static_cast<int>(row))->setText(FromUtf8(items[row - start]));
    }
    // ... those left over go, and the rest of `items` comes in.
    for (; end > row; --end) {
        delete list->takeItem(static_cast<int>(row));
    }
    for (; row - start < items.size(); ++row) {
        list->insertItem(static_cast<int>(row), FromUtf8(items[row - start]));
    }
}

void SkinnedWindow::AddList(int id, QListWidget* list) {
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
    const bool move = event->type() == QEvent::MouseMove;
    const bool press = event->type() == QEvent::MouseButtonPress;
    if (!move && !press) {
        return QWidget::eventFilter(watched, event);
    }
    const auto* mouse = static_cast<QMouseEvent*>(event);
    for (const auto& [id, list] : lists_) {
        if (list->viewport() != watched) {
            continue;
        }
        const QPoint at = mouse->position().toPoint();
        if (move) {
            ReportPointer(id, at);
        } else if (mouse->button() == Qt::RightButton && controller_ != nullptr) {
            const QPoint inWindow = list->viewport()->mapTo(this, at);
            controller_->OnListRightClick(id, {inWindow.x(), inWindow.y()});
            return true;
        }
        break;
    }
    return QWidget::eventFilter(watched, event);
}

std::optional<Colour> SkinnedWindow::chooseColour(Colour initial) {
    return ChooseColour(*this, initial);
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
        if (index < 0) {
            it->second->clearSelection();
        }
    }
}

void SkinnedWindow::setTitle(std::string_view title) {
    setWindowTitle(FromUtf8(title));
}

std::optional<std::filesystem::path> SkinnedWindow::chooseProfileFile(bool save, std::string_view title) {
    const QString caption = FromUtf8(std::string(title));
    const QString filter = QStringLiteral("Quorvel profiles (*.profile *.txt);;All files (*)");
    const QString file =
        save ? QFileDialog::getSaveFileName(this, caption, QStringLiteral("quorvel.profile"), filter)
             : QFileDialog::getOpenFileName(this, caption, QString(), filter);
    if (file.isEmpty()) {
        return std::nullopt;
    }
    return std::filesystem::path(file.toStdString());
}

std::optional<int> SkinnedWindow::popupMenu(const std::vector<std::string>& items, Point at) {
    QMenu menu(this);
    for (const std::string& item : items) {
        menu.addAction(FromUtf8(item));
    }
    const QAction* chosen = menu.exec(mapToGlobal(QPoint(at.x, at.y)));
    const int index = static_cast<int>(menu.actions().indexOf(chosen));
    return chosen != nullptr && index >= 0 ? std::optional<int>(index) : std::nullopt;
}

QWidget* SkinnedWindow::control(int id) const {
    const auto it = controls_.find(id);
    return it == controls_.end() ? nullptr : it->second;
}

void SkinnedWindow::createStatic(int id, Rect box, std::string_view text, TextAlign align) {
    destroyControl(id);
    auto* label = new QLabel(FromUtf8(text), this);
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(AlignmentOf(align));
    label->setStyleSheet(kControlStyle);
    label->setFont(textFont_);
    label->setGeometry(box.left, box.top, box.width(), box.height());
    label->show();
    controls_[id] = label;
}

void SkinnedWindow::createEdit(int id, Rect box, std::string_view text, EditKind kind, TextAlign align) {
    destroyControl(id);
    QLineEdit* edit = NewLineEdit(*this, kind, align);
    edit->setText(FromUtf8(text));
    edit->setObjectName(QString("edit-%1").arg(id));
    edit->setStyleSheet(kControlStyle);
    edit->setFont(textFont_);
    connect(edit, &QLineEdit::textEdited, this, [this, id](const QString& now) {
        if (controller_ != nullptr) {
            controller_->OnEditChanged(id, now.toStdString());
        }
    });
    edit->setGeometry(box.left, box.top, box.width(), box.height());
    edit->show();
    controls_[id] = edit;
}

void SkinnedWindow::destroyControl(int id) {
    DestroyChildControl(controls_, id);
}

void SkinnedWindow::setControlText(int id, std::string_view text) {
    const QString now = FromUtf8(text);
    if (auto* label = qobject_cast<QLabel*>(control(id))) {
        label->setText(now);
    } else if (auto* edit = qobject_cast<QLineEdit*>(control(id)); edit != nullptr && edit->text() != now) {
        // Put back where the user types, as the box corrects a count.
        const int cursor = edit->cursorPosition();
        edit->setText(now);
        edit->setCursorPosition(std::min(cursor, static_cast<int>(now.size())));
    }
}

std::string SkinnedWindow::controlText(int id) const {
    if (auto* label = qobject_cast<QLabel*>(control(id))) {
        return label->text().toStdString();
    }
    if (auto* edit = qobject_cast<QLineEdit*>(control(id))) {
        return edit->text().toStdString();
    }
    return {};
}

bool SkinnedWindow::takeMove(QMouseEvent* event) {
    if (dragging_ && (event->buttons() & Qt::LeftButton)) {
        move(event->globalPosition().toPoint() - dragOffset_);
        return true;
    }
    dragging_ = false;
    return false;
}

void SkinnedWindow::mouseReleaseEvent(QMouseEvent* event) {
    dragging_ = false;
    if (event->button() == Qt::RightButton && controller_ != nullptr) {
        const QPoint p = event->position().toPoint();
        controller_->OnRightButtonUp({p.x(), p.y()});
    }
}

// The second press of a double click is no new left-button press: a double
// click on a list entry closes the list with its first click, and its second
// must not act on the control that was under the list.
void SkinnedWindow::mouseDoubleClickEvent(QMouseEvent*) {
}

void SkinnedWindow::focusControl(int id) {
    QWidget* child = id < 0 ? nullptr : control(id) != nullptr ? control(id) : list(id);
    if (child != nullptr) {
        FocusChildFromKeys(*child);
    } else {
        setFocus(Qt::TabFocusReason);
    }
}

std::optional<Colour> SkinnedWindow::highContrastHighlight() const {
    return HighContrastHighlight(*this);
}

bool SkinnedWindow::focusNextPrevChild(bool next) {
    if (controller_ == nullptr) {
        return QWidget::focusNextPrevChild(next);
    }
    controller_->OnNavigationKey(next ? NavigationKey::Tab : NavigationKey::BackTab);
    return true;
}

void SkinnedWindow::keyPressEvent(QKeyEvent* event) {
    if (const std::optional<NavigationKey> navigation = NavigationKeyOf(*event);
        navigation && controller_ != nullptr && controller_->OnNavigationKey(*navigation)) {
        return;
    }
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

void SkinnedWindow::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    // Told once what hid the window is done: a Cancel draws its page after
    // the window went away.
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (controller_ != nullptr && !isVisible()) {
                controller_->OnWindowHidden();
            }
        },
        Qt::QueuedConnection);
}

void SkinnedWindow::closeEvent(QCloseEvent* event) {
    // Closing only hides: the program lives on in the tray.
    event->ignore();
    if (controller_ != nullptr) {
        controller_->OnCloseRequest();
    }
}

} // namespace quorvel
