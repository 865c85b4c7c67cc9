#pragma once

namespace quorvel {

// What the device link tells the main window. The values are the codes the
// window knows the events by.
enum class DeviceEventCode : int {
    ReportRate = 5,       // value 1, 2, 4, 8: 1000, 500, 250, 125 Hz
    DpiStage = 7,         // value 1-4
    KeyConfiguration = 8, // value 1, 2
    MacroMode = 9,        // value: the macro key
    LinkUp = 14,          // the mouse answered the scrambled probe
    LinkDown = 15,        // the mouse is not detected
};

// The main window's side of the device link.
class DeviceEventPort {
public:
    virtual ~DeviceEventPort() = default;

    // One event, handled before the call returns. Link up and link down come
    // from the thread that runs the device link (the interface thread); the
    // mouse's own events (report rate, DPI stage, key configuration, macro
    // mode) come from the reader thread, and an implementation hands those to
    // the interface thread and waits for them. Such a wait must end when the
    // interface thread stops taking events: closing the device link waits for
    // the reader thread, so a reader stuck here would hold the program open.
    virtual void deliver(DeviceEventCode code, int value) = 0;

    // The mouse was lost through a removal or a failed reopen: the window
    // hides itself (after the link-down event).
    virtual void hideWindow() = 0;
};

} // namespace quorvel
