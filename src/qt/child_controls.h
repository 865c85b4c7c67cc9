#pragma once

#include <QLineEdit>
#include <QWidget>
#include <map>

#include "ports/ui_port.h"

namespace quorvel {

// The one-line edit of a window or dialog, without a frame: digits only, or
// read-only for a key name, as `kind` says.
QLineEdit* NewLineEdit(QWidget& parent, EditKind kind, TextAlign align);

// Hides the control `id` of `controls` and deletes it once the event loop
// returns (it may be the one whose signal is being handled), and forgets it.
void DestroyChildControl(std::map<int, QWidget*>& controls, int id);

} // namespace quorvel
