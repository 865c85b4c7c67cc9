#pragma once

#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

#include "ports/device_event_port.h"

namespace quorvel {

// Hands device events to the main window on the interface thread. Events
// from the interface thread itself (link up and down) go straight through;
// the reader thread's events are posted to the interface thread and the
// reader waits until the window has handled them, so every change of the
// interface happens on one thread. stop() releases a waiting reader for
// good, so closing the device link never waits on the interface thread.
class DeviceEventRelay final : public DeviceEventPort {
public:
    // `post` runs a task on the interface thread, later.
    using Post = std::function<void(std::function<void()>)>;

    explicit DeviceEventRelay(Post post);
    // The window, once it exists (it needs the device link first).
    void setTarget(DeviceEventPort& target) { target_ = &target; }

    void deliver(DeviceEventCode code, int value) override;
    void hideWindow() override;

    // After this, events from other threads are dropped and no reader waits.
    void stop();

private:
    DeviceEventPort* target_ = nullptr;
    Post post_;
    std::thread::id interfaceThread_;
    std::mutex mutex_;
    std::condition_variable handled_;
    bool stopped_ = false;
    unsigned long long posted_ = 0;
    unsigned long long done_ = 0;
};

} // namespace quorvel
