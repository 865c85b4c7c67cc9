#include "qt/child_controls.h"

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

} // namespace quorvel
