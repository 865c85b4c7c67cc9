#include "qt/keystroke_filter.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

#include "qt/qt_key_names.h"

namespace quorvel {

KeystrokeFilter::KeystrokeFilter(MainWindow& controller, QWidget& window)
    : controller_(&controller), window_(&window) {
    qApp->installEventFilter(this);
}

KeystrokeFilter::~KeystrokeFilter() {
    qApp->removeEventFilter(this);
}

bool KeystrokeFilter::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease) {
        return false;
    }
    auto* receiver = qobject_cast<QWidget*>(watched);
    if (receiver == nullptr) {
        return false;
    }
    // A key the focused control does not take travels on to its parents;
    // it counts once, where it starts.
    QWidget* focus = QApplication::focusWidget();
    const QWidget* first = focus != nullptr ? focus : receiver->window();
    if (receiver != first) {
        return false;
    }
    const auto* key = static_cast<QKeyEvent*>(event);
    const unsigned virtualKey =
        key->nativeVirtualKey() != 0 ? key->nativeVirtualKey() : static_cast<unsigned>(key->key());
    const Keystroke keystroke{std::string(KeyNameOf(*key)), virtualKey, event->type() == QEvent::KeyRelease,
                              key->isAutoRepeat()};
    return controller_->OnKeystroke(keystroke, receiver->window() == window_);
}

} // namespace quorvel
