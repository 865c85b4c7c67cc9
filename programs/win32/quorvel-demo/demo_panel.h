#pragma once

#include <windows.h>

#include "hid/sim/simulated_mouse.h"
#include "win32/gdi_object.h"

namespace quorvel {

class Win32Program;

// A small window that works the simulated mouse's own buttons and cable.
class DemoPanel {
public:
    DemoPanel(SimulatedMouse& mouse, Win32Program& program);
    ~DemoPanel();
    DemoPanel(const DemoPanel&) = delete;
    DemoPanel& operator=(const DemoPanel&) = delete;

    // Shows the panel beside the settings window, both on the screen; the
    // settings window moves over where that is the way to make room.
    void showBeside(HWND settings);

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void onCommand(int id);

    SimulatedMouse& mouse_;
    Win32Program& program_;
    HWND window_ = nullptr;
    GdiObject<HFONT> font_;
};

} // namespace quorvel
