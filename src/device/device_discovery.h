#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "ports/hid_port.h"

namespace quorvel {

// What the search for the mouse came to.
enum class OpenResult {
    Opened,       // the feature collection is open (the handshake is still to come)
    NoMouse,      // no mouse, or one that went away while it was opened
    NoPermission, // the mouse is there, but the system does not let this user open it
    Unusable,     // the mouse declares report lengths this program cannot work with
};

// The collections the search opened. The event collection is opened only
// when it is listed before the feature collection; a search that failed
// after opening it still hands it over.
struct OpenedMouse {
    OpenResult result = OpenResult::NoMouse;
    std::string devicePath; // the interface examined last
    std::unique_ptr<HidDevice> feature;
    HidInterface featureCollection;
    std::shared_ptr<HidDevice> eventInput;
    std::uint16_t eventReportLength = 0;
    std::unique_ptr<HidDevice> eventWrite; // opened with the event collection, never written
};

// Walks the present interfaces in the system's order up to the mouse's
// feature collection.
OpenedMouse OpenMouse(HidPort& hid);

// Each of the mouse's collections comes and goes with its own notice; of a
// batch, the one that decides: an arrival of the mouse if there is one, else
// its first removal. Nothing when none concerns the mouse.
std::optional<HidNotice> DecidingMouseNotice(std::vector<HidNotice> notices);

} // namespace quorvel
