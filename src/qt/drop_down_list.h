#pragma once

#include <QFont>
#include <QListWidget>
#include <string>
#include <vector>

#include "ports/geometry.h"

namespace quorvel {

// A drop-down list box of the main window or of a dialog, white on dark grey,
// at `box` of `parent`. Its entries take `font`, made smaller where the
// widest would not fit the width. When they all fit the height, they share
// it; otherwise the list shows a scroll bar and scrolls with the wheel, so
// no entry is ever out of reach unseen, in any language.
QListWidget* NewDropDownList(QWidget& parent, Rect box, const std::vector<std::string>& items,
                             const QFont& font);

} // namespace quorvel
