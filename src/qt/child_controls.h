#pragma once

#include <QKeyEvent>
#include <QLineEdit>
#include <QWidget>
#include <map>
#include <optional>

#include "ports/ui_port.h"
#include "ui/controls.h"

namespace quorvel {

// The one-line edit of a window or dialog, without a frame: digits only, or
// read-only for a key name, as `kind` says.
QLineEdit* NewLineEdit(QWidget& parent, EditKind kind, TextAlign align);

// Hides the control `id` of `controls` and deletes it once the event loop
// returns (it may be the one whose signal is being handled), and forgets it.
void DestroyChildControl(std::map<int, QWidget*>& controls, int id);

// The navigation key a key press is (Tab, Shift+Tab, Space, Enter, Escape,
// the arrows, Home, End, without Ctrl or Alt); nothing for any other key.
std::optional<NavigationKey> NavigationKeyOf(const QKeyEvent& event);

// The palette's highlight colour while the desktop asks for high contrast:
// a GTK theme (GTK_THEME) or an icon theme (which Qt takes from the
// desktop's settings) whose name says "HighContrast"; nothing otherwise.
std::optional<Colour> HighContrastHighlight(const QWidget& widget);

// Gives the focus to child control `widget` from the keys: a list box that
// the pointer does not focus takes it from Tab too.
void FocusChildFromKeys(QWidget& widget);

} // namespace quorvel
