#pragma once

#include <QWidget>

#include "hid/sim/simulated_mouse.h"

namespace quorvel {

class Program;

// A small window that works the simulated mouse's own buttons and cable.
class DemoPanel final : public QWidget {
    Q_OBJECT

public:
    DemoPanel(SimulatedMouse& mouse, Program& program);
};

} // namespace quorvel
