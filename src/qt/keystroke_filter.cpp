#include "qt/keystroke_filter.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>
#include <cstdint>

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
    Keystroke keystroke{std::string(KeyNameOf(*key)), virtualKey, event->type() == QEvent::KeyRelease,
                        key->isAutoRepeat()};
    // On X11 the server's time of the key event: a repeat that Qt did not
    // mark is a release and a press of one time. 0 is no time at all.
    if (key->timestamp() != 0) {
        keystroke.time = static_cast<std::uint32_t>(key->timestamp());
    }
    return controller_->OnKeystroke(keystroke, receiver->window() == window_);
}

} // namespace quorvel
