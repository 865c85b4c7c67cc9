#pragma once

#include "ports/program_environment.h"

namespace quorvel {

// This process's executable; on Windows the data files always lie beside it.
DataFolderEnvironment ThisProgramEnvironment();

} // namespace quorvel
