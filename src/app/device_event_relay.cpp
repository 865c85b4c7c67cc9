#include "app/device_event_relay.h"

namespace quorvel {

DeviceEventRelay::DeviceEventRelay(Post post)
    : post_(std::move(post)), interfaceThread_(std::this_thread::get_id()) {
}

void DeviceEventRelay::deliver(DeviceEventCode code, int value) {
    if (std::this_thread::get_id() == interfaceThread_) {
        if (target_ != nullptr) {
            target_->deliver(code, value);
        }
        return;
    }
    std::unique_lock lock(mutex_);
    if (stopped_) {
        return;
    }
    const unsigned long long ticket = ++posted_;
    lock.unlock();
    post_([this, code, value] {
        bool stopped;
        {
            std::lock_guard guard(mutex_);
            stopped = stopped_;
        }
        if (!stopped && target_ != nullptr) {
            target_->deliver(code, value);
        }
        std::lock_guard guard(mutex_);
        ++done_;
        handled_.notify_all();
    });
    lock.lock();
    handled_.wait(lock, [&] { return stopped_ || done_ >= ticket; });
}

void DeviceEventRelay::hideWindow() {
    if (target_ != nullptr) {
        target_->hideWindow();
    }
}

void DeviceEventRelay::stop() {
    std::lock_guard guard(mutex_);
    stopped_ = true;
    handled_.notify_all();
}

} // namespace quorvel
