#pragma once

#include <string_view>
#include <vector>

#include "ports/program_environment.h"

namespace quorvel {

// Before any thread starts: one heap for all of this process's threads.
// They are few and mostly wait (the mouse's input, D-Bus, decoding the first
// pictures), and glibc would otherwise keep an arena for each thread that
// ever allocated, for as long as the program sits in the tray.
void ShareOneHeap();

// The full path of the running executable.
std::filesystem::path ThisExecutable();

// The folders an XDG search path (XDG_DATA_DIRS, XDG_CONFIG_DIRS) lists, in
// its order, or those of `fallback` where it is unset or empty. Relative
// entries are not folders of the search.
std::vector<std::filesystem::path> XdgSearchPath(const char* variable, std::string_view fallback);

// This process's executable, XDG_CONFIG_HOME, HOME, and the shared data
// folders: the install's own (fixed when the program was built), then those
// of XDG_DATA_DIRS (default /usr/local/share:/usr/share).
DataFolderEnvironment ThisProgramEnvironment();

} // namespace quorvel
