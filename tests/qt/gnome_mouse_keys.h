#pragma once

#include <string>

namespace quorvel::testing {

// GNOME's mouse settings as GSettings holds them, read past the program's
// adapter (the tests run GSettings in memory).
double GnomeMouseSpeed();
std::string GnomeAccelProfile();

} // namespace quorvel::testing
