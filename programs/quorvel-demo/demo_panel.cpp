#include "demo_panel.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

#include "qt/program.h"

namespace quorvel {

namespace {

struct MouseEvent {
    const char* label;
    Byte code;
    Byte value;
};

constexpr MouseEvent kReportRates[] = {{"1000 Hz", 5, 1}, {"500 Hz", 5, 2}, {"250 Hz", 5, 4}, {"125 Hz", 5, 8}};
constexpr MouseEvent kDpiStages[] = {{"Stage 1", 7, 1}, {"Stage 2", 7, 2}, {"Stage 3", 7, 3}, {"Stage 4", 7, 4}};
constexpr MouseEvent kKeyMatrices[] = {{"Key matrix 1", 8, 1}, {"Key matrix 2", 8, 2}};
constexpr MouseEvent kMacroModes[] = {{"Macro key", 9, 1}};

} // namespace

DemoPanel::DemoPanel(SimulatedMouse& mouse, Program& program) {
    setWindowTitle("Quorvel demo mouse");
    auto* layout = new QGridLayout(this);
    int row = 0;
    const auto addGroup = [&](const char* title, std::span<const MouseEvent> events) {
        auto* group = new QGroupBox(title, this);
        auto* buttons = new QHBoxLayout(group);
        for (const MouseEvent& event : events) {
            auto* button = new QPushButton(event.label, group);
            connect(button, &QPushButton::clicked, this, [&mouse, event] { mouse.sendEvent(event.code, event.value); });
            buttons->addWidget(button);
        }
        layout->addWidget(group, row++, 0);
    };
    addGroup("Report rate button", kReportRates);
    addGroup("DPI button", kDpiStages);
    addGroup("Key configuration button", kKeyMatrices);
    addGroup("Macro button", kMacroModes);

    auto* cable = new QGroupBox("Cable", this);
    auto* cableButtons = new QHBoxLayout(cable);
    auto* unplug = new QPushButton("Unplug", cable);
    auto* plugIn = new QPushButton("Plug in", cable);
    connect(unplug, &QPushButton::clicked, this, [&mouse] { mouse.unplug(); });
    connect(plugIn, &QPushButton::clicked, this, [&mouse] { mouse.plugIn(); });
    cableButtons->addWidget(unplug);
    cableButtons->addWidget(plugIn);
    layout->addWidget(cable, row++, 0);

    auto* open = new QPushButton("Open the settings window (as a click on the tray icon)", this);
    connect(open, &QPushButton::clicked, this, [&program] { program.controller().OnTray(TrayAction::LeftUp); });
    layout->addWidget(open, row++, 0);
}

} // namespace quorvel
