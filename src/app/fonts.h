#pragma once

#include <cstdint>

#include "ports/ui_port.h"

namespace quorvel {

struct InterfaceFonts {
    FontSpec text;
    FontSpec title;
};

// The main window's fonts by the system's default language identifier and
// the system version (major, minor). The sub-dialogs use the text font.
InterfaceFonts FontsFor(std::uint16_t langId, int majorVersion = 0, int minorVersion = 0);

} // namespace quorvel
