#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "hid/sim/simulated_mouse.h"
#include "uhid_device.h"

namespace quorvel::uhid_mouse {

// The hidraw nodes the kernel made for the two interfaces.
struct MouseNodes {
    std::string event;
    std::string feature;
};

// The simulated mouse behind /dev/uhid: two kernel HID devices, the mouse's
// two USB interfaces, whose requests go to the simulated firmware and whose
// answers, data chunks and event reports come back from it.
// - A feature report set or got by the program is the firmware's setFeature
//   or getFeature, report number 0 first both ways: the kernel passes the
//   number in front of a set, and hands the reply of a get to hidraw as it is,
//   so the program finds the number where usbhid leaves it.
// - A chunk the program writes is the firmware's write, 0 first as written.
// - Chunks and event reports the firmware sends are read from its handles on
//   threads of their own and given to the kernel as input reports: a chunk
//   without its report number (the interface numbers none), an event report
//   with its ID 6.
// Faults that concern the link itself live here; those of the firmware stay
// in the simulated mouse.
class UhidMouse {
public:
    // `notice` receives what happens on its own: "pulled" when the mouse
    // pulls itself out, "silenced" when it falls silent. Called from the
    // devices' threads.
    explicit UhidMouse(std::function<void(std::string_view)> notice);
    ~UhidMouse();
    UhidMouse(const UhidMouse&) = delete;
    UhidMouse& operator=(const UhidMouse&) = delete;

    SimulatedMouse& firmware() { return sim_; }

    // Plugs the mouse in (a fresh link: it waits for a handshake) and waits
    // until the kernel, and udev where it runs, have its two hidraw nodes.
    std::optional<MouseNodes> plug(std::string& error);
    // Pulls the mouse out: both devices go; returns once udev, where it runs,
    // has seen them go.
    void unplug();
    bool plugged() const { return link_ != nullptr; }

    // Takes reports and answers none, at once or after `after` more requests
    // of the program on the feature interface; the kernel waits out its own
    // time-out on each.
    void silent(std::optional<int> after);
    // Pulled out after `after` more requests on the feature interface: that
    // one is answered, the next finds no mouse.
    void unplugAfter(int after);
    // Back to a mouse that answers everything (the kind it is stays).
    void healthy();

    // Readable when the mouse pulled itself out; the owner then calls
    // followPull() on its own thread, which makes the devices go.
    int pullWakeup() const { return pullWakeup_; }
    bool followPull();

private:
    struct Link;
    // The feature interface's requests, taken by the firmware's end of it.
    UhidRequests featureRequests(HidDevice& firmwareSide);
    bool silentNow();
    // A request of the program on the feature interface has been answered (or not).
    void countRequest();

    SimulatedMouse sim_;
    std::function<void(std::string_view)> notice_;
    std::unique_ptr<Link> link_;
    int pullWakeup_;

    std::mutex faultMutex_;
    bool silent_ = false;
    std::optional<int> silentAfter_;
    std::optional<int> unplugAfter_;
};

} // namespace quorvel::uhid_mouse
