#include "qt/child_controls.h"

#include <QIcon>
#include <QPalette>

#include <QRegularExpressionValidator>

#include "qt/qt_picture.h"

namespace quorvel {

QLineEdit* NewLineEdit(QWidget& parent, EditKind kind, TextAlign align) {
    auto* edit = new QLineEdit(&parent);
    edit->setAlignment(AlignmentOf(align));
    edit->setFrame(false);
    if (kind == EditKind::Digits) {
        edit->setValidator(new QRegularExpressionValidator(QRegularExpression("[0-9]*"), edit));
    }
    // A key-name edit shows what the capture puts in; typing adds nothing.
    edit->setReadOnly(kind == EditKind::KeyName);
    return edit;
}

void DestroyChildControl(std::map<int, QWidget*>& controls, int id) {
    const auto it = controls.find(id);
    if (it == controls.end()) {
        return;
    }
    QWidget* control = it->second;
    controls.erase(it);
    control->hide();
    control->deleteLater();
}

std::optional<NavigationKey> NavigationKeyOf(const QKeyEvent& event) {
    if ((event.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) != 0) {
        return std::nullopt;
    }
    switch (event.key()) {
    case Qt::Key_Tab:
        return (event.modifiers() & Qt::ShiftModifier) != 0 ? NavigationKey::BackTab : NavigationKey::Tab;
    case Qt::Key_Backtab:
        return NavigationKey::BackTab;
    case Qt::Key_Space:
        return NavigationKey::Space;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return NavigationKey::Enter;
    case Qt::Key_Escape:
        return NavigationKey::Escape;
    case Qt::Key_Left:
        return NavigationKey::Left;
    case Qt::Key_Right:
        return NavigationKey::Right;
    case Qt::Key_Up:
        return NavigationKey::Up;
    case Qt::Key_Down:
        return NavigationKey::Down;
    case Qt::Key_Home:
        return NavigationKey::Home;
    case Qt::Key_End:
        return NavigationKey::End;
    default:
        return std::nullopt;
    }
}

std::optional<Colour> HighContrastHighlight(const QWidget& widget) {
    const QString gtkTheme = qEnvironmentVariable("GTK_THEME");
    const bool asked = gtkTheme.contains(QStringLiteral("HighContrast"), Qt::CaseInsensitive) ||
                       QIcon::themeName().contains(QStringLiteral("HighContrast"), Qt::CaseInsensitive);
    if (!asked) {
        return std::nullopt;
    }
    const QColor highlight = widget.palette().color(QPalette::Highlight);
    return Colour{static_cast<std::uint8_t>(highlight.red()), static_cast<std::uint8_t>(highlight.green()),
                  static_cast<std::uint8_t>(highlight.blue())};
}

void FocusChildFromKeys(QWidget& widget) {
    if (widget.focusPolicy() == Qt::NoFocus) {
        widget.setFocusPolicy(Qt::TabFocus);
    }
    widget.setFocus(Qt::TabFocusReason);
}

} // namespace quorvel
