#pragma once

#include "ports/program_environment.h"

namespace quorvel {

// The full path of the running executable.
std::filesystem::path ThisExecutable();

// This process's executable, XDG_CONFIG_HOME, HOME, and the shared data
// folders: the install's own (fixed when the program was built), then those
// of XDG_DATA_DIRS (default /usr/local/share:/usr/share).
DataFolderEnvironment ThisProgramEnvironment();

} // namespace quorvel
