#include "qt/drop_down_list.h"

#include <QFontMetrics>
#include <QScrollBar>
#include <QStyle>
#include <algorithm>

#include "qt/qt_picture.h"

namespace quorvel {

namespace {

const QString kListStyle = "QListWidget { background: #282828; color: white; border: 1px solid #505050; }"
                           "QListWidget::item { padding: 0px; }"
                           "QListWidget::item:selected { background: #3a7bd5; color: white; }";

} // namespace

QListWidget* NewDropDownList(QWidget& parent, Rect box, const std::vector<std::string>& items,
                             const QFont& font) {
    auto* list = new QListWidget(&parent);
    list->setGeometry(box.left, box.top, box.width(), box.height());
    list->setStyleSheet(kListStyle);
    list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    list->setFocusPolicy(Qt::NoFocus);
    list->setMouseTracking(true);
    list->viewport()->setMouseTracking(true);
    QStringList texts;
    for (const std::string& item : items) {
        texts.append(FromUtf8(item));
    }
    list->addItems(texts);
    // Entries narrower than the list need no scrolling sideways: the frame
    // and the entries' own margins take part of the width.
    const int entryMargin = list->style()->pixelMetric(QStyle::PM_FocusFrameHMargin) + 1;
    const int frame = 2 * list->frameWidth() + 2 * entryMargin + 4;
    QFont fitting = FittingFont(font, texts, box.width() - frame);
    if (QFontMetrics(fitting).height() * list->count() > box.height() - frame) {
        // The scroll bar takes its width from the entries.
        const int scrollBar = list->verticalScrollBar()->sizeHint().width();
        fitting = FittingFont(fitting, texts, box.width() - frame - scrollBar);
    }
    list->setFont(fitting);
    // Entries that all fit share the list's height, as a list box spaces
    // them; a face with a tall line (the CJK ones) gives up its spare leading
    // rather than hide the last entries.
    const int lineHeight = QFontMetrics(fitting).height();
    const int shared = list->count() > 0 ? (box.height() - 2 * list->frameWidth()) / list->count() : 0;
    if (shared >= fitting.pixelSize() + 3) {
        for (int i = 0; i < list->count(); ++i) {
            list->item(i)->setSizeHint(QSize(0, std::min(shared, 2 * lineHeight)));
        }
    }
    return list;
}

} // namespace quorvel
