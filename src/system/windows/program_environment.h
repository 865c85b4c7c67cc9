#pragma once

#include "ports/program_environment.h"

namespace quorvel {

// This process's executable and the user's %APPDATA%, which an installed
// copy keeps its files in.
DataFolderEnvironment ThisProgramEnvironment();

} // namespace quorvel
