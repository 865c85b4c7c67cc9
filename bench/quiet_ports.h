#pragma once

#include "ports/device_event_port.h"
#include "ports/message_port.h"

// A window and message boxes that nobody looks at, for the benchmarks of
// the device link alone.
class NoWindow final : public quorvel::DeviceEventPort {
public:
    void deliver(quorvel::DeviceEventCode, int) override {}
    void hideWindow() override {}
};

class NoMessages final : public quorvel::MessagePort {
public:
    void showMessage(std::string_view, std::string_view) override {}
};
