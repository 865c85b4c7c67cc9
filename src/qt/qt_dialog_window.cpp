#include "qt/qt_dialog_window.h"

#include <algorithm>
#include <cmath>

#include <QApplication>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>

#include "qt/child_controls.h"
#include "qt/drop_down_list.h"
#include "qt/qt_key_names.h"
#include "qt/skinned_window.h"

namespace quorvel {

namespace {

// The child controls paint white on the grey of the dialogs' wells.
const QString kControlStyle = "QLabel { color: white; background: #282828; }"
                              "QLineEdit { color: white; background: #282828; border: none; padding: 0; }"
                              "QLineEdit:focus { background: #323a46; }";

const QColor kBlank(0x12, 0x15, 0x1A); // the picture of a dialog whose background did not load

} // namespace

QtDialogWindow::QtDialogWindow(QWidget* owner) : SkinnedSurface(owner, Qt::Dialog, kBlank) {
    setModal(true);
    // A click on the dialog itself leaves the focus where it is, in a key edit
    // for instance; keys reach the dialog when no control has the focus.
    setFocusPolicy(Qt::NoFocus);
    setStyleSheet(kControlStyle);
    setWindowTitle(FromUtf8(kApplicationTitle));
}

bool QtDialogWindow::run(SubDialog& controller) {
    controller_ = &controller;
    if (parentWidget() != nullptr) {
        move(parentWidget()->mapToGlobal(QPoint(0, 0)));
    }
    // The keys reach the focused control first; the application's filter
    // sees them before any control does.
    qApp->installEventFilter(this);
    const int result = exec();
    qApp->removeEventFilter(this);
    controller_ = nullptr;
    return result == QDialog::Accepted;
}

QWidget* QtDialogWindow::control(int id) const {
    const auto it = controls_.find(id);
    return it == controls_.end() ? nullptr : it->second;
}

void QtDialogWindow::setFont(const FontSpec& font) {
    font_ = FontFor(font);
    QWidget::setFont(font_);
    picture_.setFonts(font_, font_);
}

void QtDialogWindow::setClientSize(int width, int height) {
    sizeTo(width, height);
}

void QtDialogWindow::end(bool ok) {
    done(ok ? QDialog::Accepted : QDialog::Rejected);
}

void QtDialogWindow::place(int id, QWidget* control, Rect box) {
    destroyControl(id);
    control->setGeometry(box.left, box.top, box.width(), box.height());
    control->show();
    controls_[id] = control;
}

namespace {

// The dialog's own property on a label: the whole text, which the label may
// show shortened.
constexpr const char* kWholeText = "wholeText";

// A one-line control's text padding: the edits' inner margins.
constexpr int kControlPadding = 4;

void ShowFitted(QLabel& label, const QFont& font, const QString& text) {
    const FittedLine line = FitLine(font, text, label.width() - kControlPadding);
    label.setProperty(kWholeText, text);
    label.setFont(line.font);
    label.setText(line.text);
}

void ShowFitted(QLineEdit& edit, const QFont& font, const QString& text) {
    // An edit's text is what the dialog reads back: only the font shrinks,
    // and the text shows from its start.
    edit.setFont(FitLine(font, text, edit.width() - kControlPadding).font);
    edit.setText(text);
    edit.setCursorPosition(0);
}

} // namespace

void QtDialogWindow::createStatic(int id, Rect box, std::string_view text, TextAlign align) {
    auto* label = new QLabel(this);
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(AlignmentOf(align));
    place(id, label, box);
    ShowFitted(*label, font_, FromUtf8(text));
}

void QtDialogWindow::createEdit(int id, Rect box, std::string_view text, EditKind kind, TextAlign align) {
    QLineEdit* edit = NewLineEdit(*this, kind, align);
    connect(edit, &QLineEdit::textEdited, this, [this, id] {
        if (controller_ != nullptr) {
            controller_->OnEditChanged(id);
        }
    });
    place(id, edit, box);
    ShowFitted(*edit, font_, FromUtf8(text));
}

void QtDialogWindow::createList(int id, Rect box, const std::vector<std::string>& items) {
    QListWidget* list = NewDropDownList(*this, box, items, font_);
    connect(list, &QListWidget::itemEntered, this, [this, id, list](QListWidgetItem* item) {
        if (controller_ != nullptr) {
            controller_->OnListHover(id, list->row(item));
        }
    });
    connect(list, &QListWidget::itemPressed, this, [this, id, list](QListWidgetItem* item) {
        if (controller_ != nullptr) {
            controller_->OnListChosen(id, list->row(item));
        }
    });
    place(id, list, box);
}

void QtDialogWindow::destroyControl(int id) {
    DestroyChildControl(controls_, id);
}

void QtDialogWindow::setControlText(int id, std::string_view text) {
    QWidget* widget = control(id);
    if (auto* label = qobject_cast<QLabel*>(widget)) {
        ShowFitted(*label, font_, FromUtf8(text));
    } else if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
        ShowFitted(*edit, font_, FromUtf8(text));
    }
}

std::string QtDialogWindow::controlText(int id) const {
    QWidget* widget = control(id);
    if (auto* label = qobject_cast<QLabel*>(widget)) {
        return label->property(kWholeText).toString().toStdString();
    }
    if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
        return edit->text().toStdString();
    }
    return {};
}

void QtDialogWindow::showControl(int id, bool shown) {
    if (QWidget* widget = control(id)) {
        widget->setVisible(shown);
    }
}

void QtDialogWindow::focusControl(int id) {
    if (QWidget* widget = control(id)) {
        widget->setFocus(Qt::OtherFocusReason);
    } else if (QWidget* focus = QApplication::focusWidget(); id < 0 && focus != nullptr && focus->window() == this) {
        // The keys' focus is on a control of the picture: keys reach the dialog.
        focus->clearFocus();
    }
}

std::optional<Colour> QtDialogWindow::highContrastHighlight() const {
    return HighContrastHighlight(*this);
}

std::optional<int> QtDialogWindow::focusedControl() const {
    return idOf(QApplication::focusWidget());
}

std::optional<int> QtDialogWindow::idOf(const QObject* control) const {
    for (const auto& [id, widget] : controls_) {
        if (widget == control) {
            return id;
        }
    }
    return std::nullopt;
}

void QtDialogWindow::highlightListItem(int id, int index) {
    if (auto* list = qobject_cast<QListWidget*>(control(id))) {
        const QSignalBlocker quiet(list);
        list->setCurrentRow(index);
    }
}

void QtDialogWindow::scrollList(int id, int lines) {
    if (auto* list = qobject_cast<QListWidget*>(control(id))) {
        QScrollBar* bar = list->verticalScrollBar();
        // A list scrolled by entries moves its bar one step an entry.
        bar->setValue(bar->value() + lines * (list->verticalScrollMode() == QAbstractItemView::ScrollPerItem
                                                  ? 1
                                                  : std::max(list->sizeHintForRow(0), 1)));
    }
}

std::optional<Colour> QtDialogWindow::chooseColour(Colour initial) {
    return ChooseColour(*this, initial);
}

void QtDialogWindow::wheelEvent(QWheelEvent* event) {
    if (controller_ != nullptr && event->angleDelta().y() != 0) {
        controller_->OnWheel(event->angleDelta().y());
    }
}

bool QtDialogWindow::eventFilter(QObject* watched, QEvent* event) {
    if (controller_ == nullptr) {
        return false;
    }
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
        return takeKey(qobject_cast<QWidget*>(watched), static_cast<QKeyEvent*>(event));
    case QEvent::FocusOut:
        if (const std::optional<int> id = idOf(watched); id && qobject_cast<QLineEdit*>(watched) != nullptr) {
            controller_->OnEditFocusLost(*id);
        }
        return false;
    default:
        return false;
    }
}

bool QtDialogWindow::takeKey(QWidget* receiver, QKeyEvent* event) {
    if (receiver == nullptr || receiver->window() != this) {
        return false;
    }
    // A key the focused control does not take travels on to its parents;
    // it counts once, where it starts.
    QWidget* focus = QApplication::focusWidget();
    const QWidget* first = focus != nullptr && focus->window() == this ? focus : this;
    if (receiver != first) {
        return false;
    }
    // A key that moves the focus is no key to capture, down or up.
    if (const std::optional<NavigationKey> navigation = NavigationKeyOf(*event)) {
        if (event->type() == QEvent::KeyPress && controller_->OnNavigationKey(*navigation)) {
            navigationKeysDown_.insert(event->key());
            return true;
        }
        if (event->type() == QEvent::KeyRelease && navigationKeysDown_.erase(event->key()) != 0) {
            return true;
        }
    }
    controller_->OnKey(KeyNameOf(*event));
    if (event->type() != QEvent::KeyPress) {
        return false;
    }
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return controller_->OnStandardKey(StandardKey::Enter);
    case Qt::Key_Escape:
        return controller_->OnStandardKey(StandardKey::Escape);
    default:
        return false;
    }
}

} // namespace quorvel
