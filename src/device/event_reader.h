#pragma once

#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <thread>

#include "ports/device_event_port.h"
#include "ports/hid_port.h"

namespace quorvel {

// The reader thread of the mouse's event reports, and what it reads by: the
// event collection's handle and report length, and whether the link is up.
// Only this class touches them, always under its lock; every change moves
// the generation on and wakes the reader, which waits while the link is down
// and passes the mouse's events on to `events` while it is up.
class EventReader {
public:
    explicit EventReader(DeviceEventPort& events) : events_(events) {}
    ~EventReader() { stop(); }
    EventReader(const EventReader&) = delete;
    EventReader& operator=(const EventReader&) = delete;

    // False when the thread could not be started. Starting a running reader does nothing.
    bool start();
    // Ends the thread (it never hangs on a blocked read), closes the handle
    // and leaves the link down.
    void stop();

    bool connected() const;
    void setConnected(bool connected);

    // A reader blocked on the previous handle comes back and takes this one.
    void setInput(std::shared_ptr<HidDevice> input, std::uint16_t reportLength);
    std::uint16_t eventReportLength() const;

private:
    void run();

    DeviceEventPort& events_;
    mutable std::mutex mutex_;
    std::condition_variable wake_;
    std::uint64_t generation_ = 0;
    bool stopping_ = false;
    bool connected_ = false;
    std::shared_ptr<HidDevice> input_;
    std::uint16_t eventReportLength_ = 0;
    std::thread thread_;
};

} // namespace quorvel
