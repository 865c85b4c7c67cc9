#pragma once

#include <QObject>

#include "app/main_window.h"

namespace quorvel {

// Hands every key pressed or released in the program's windows to the main
// window's controller (the recorder listens there), once per keystroke, and
// keeps from the main window the presses the controller takes.
class KeystrokeFilter final : public QObject {
    Q_OBJECT

public:
    KeystrokeFilter(MainWindow& controller, QWidget& window);
    ~KeystrokeFilter() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    MainWindow* controller_;
    QWidget* window_;
};

} // namespace quorvel
