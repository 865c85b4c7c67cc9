#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <future>
#include <mutex>
#include <span>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "device/device_controller.h"
#include "device/feature_channel.h"
#include "device/mouse_identity.h"
#include "hid/sim/simulated_mouse.h"

namespace quorvel::test {

using namespace std::chrono_literals;

// Short enough that a silent mouse costs the tests little.
inline constexpr std::chrono::milliseconds kTestTimeout{20};

inline std::string Hex(std::span<const Byte> bytes) {
    std::string text;
    char digits[4];
    for (Byte b : bytes) {
        std::snprintf(digits, sizeof digits, "%02x", b);
        text += text.empty() ? "" : " ";
        text += digits;
    }
    return text;
}

struct DeviceEvent {
    DeviceEventCode code;
    int value;
    friend bool operator==(const DeviceEvent&, const DeviceEvent&) = default;
};

inline void PrintTo(const DeviceEvent& event, std::ostream* out) {
    *out << "{" << static_cast<int>(event.code) << ", " << event.value << "}";
}

// The main window as the device link sees it; events may come from the reader thread.
class RecordingEvents final : public DeviceEventPort {
public:
    void deliver(DeviceEventCode code, int value) override {
        std::lock_guard lock(mutex_);
        events_.push_back({code, value});
        arrived_.notify_all();
    }
    void hideWindow() override {
        std::lock_guard lock(mutex_);
        ++hides_;
    }

    std::vector<DeviceEvent> events() const {
        std::lock_guard lock(mutex_);
        return events_;
    }
    int hides() const {
        std::lock_guard lock(mutex_);
        return hides_;
    }
    void clear() {
        std::lock_guard lock(mutex_);
        events_.clear();
        hides_ = 0;
    }
    // Waits (a few seconds at most) until `count` events have come.
    std::vector<DeviceEvent> waitFor(std::size_t count) {
        std::unique_lock lock(mutex_);
        arrived_.wait_for(lock, 5s, [&] { return events_.size() >= count; });
        return events_;
    }

private:
    mutable std::mutex mutex_;
    std::condition_variable arrived_;
    std::vector<DeviceEvent> events_;
    int hides_ = 0;
};

// The simulated mouse, and the device link wired to it with the recording clock.
struct DeviceFixture : ::testing::Test {
    SimulatedMouse mouse;
    RecordingEvents events;
    DeviceController controller{mouse, mouse.clock(), events};

    DeviceFixture() { controller.setTransferTimeout(kTestTimeout); }

    // Opened and handshaken, with the transfers so far forgotten.
    void Connect() {
        ASSERT_EQ(controller.OpenDevice(), OpenResult::Opened);
        controller.Handshake();
        ASSERT_TRUE(controller.connected());
        mouse.clearTransfers();
        events.clear();
    }
};

// A channel of its own to the mouse's feature collection, linked in scrambled mode.
inline FeatureChannel LinkTo(SimulatedMouse& mouse) {
    FeatureChannel link;
    for (const HidInterface& interface : mouse.enumerate()) {
        if (IsFeatureCollection(interface)) {
            link.attach(mouse.open(interface.path, HidAccess::ReadWrite).device, interface);
        }
    }
    link.setTransferTimeout(kTestTimeout);
    link.setLinkKey(MakeLinkKey());
    link.setScrambled(true);
    CommandReport probe = MakeProbe();
    link.FeatureTransaction(probe);
    mouse.clearTransfers();
    return link;
}

inline bool Started(const DeviceLinkStart& start) {
    return start.failure == DeviceLinkStart::Failure::None;
}

inline std::vector<SimTransfer> OfKind(const std::vector<SimTransfer>& transfers, SimTransfer::Kind kind) {
    std::vector<SimTransfer> picked;
    for (const auto& transfer : transfers) {
        if (transfer.kind == kind) {
            picked.push_back(transfer);
        }
    }
    return picked;
}

// Fails loudly instead of hanging when `action` does not come back.
inline void ExpectFinishes(std::function<void()> action) {
    std::packaged_task<void()> task(std::move(action));
    auto done = task.get_future();
    std::thread worker(std::move(task));
    if (done.wait_for(10s) != std::future_status::ready) {
        std::fprintf(stderr, "the action did not come back within 10 s\n");
        std::abort();
    }
    worker.join();
    done.get();
}

} // namespace quorvel::test
