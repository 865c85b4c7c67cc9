#include "system/windows/program_environment.h"

#include "system/windows/system_info.h"

namespace quorvel {

DataFolderEnvironment ThisProgramEnvironment() {
    DataFolderEnvironment environment;
    environment.program = ExecutablePath();
    environment.windows = true;
    return environment;
}

} // namespace quorvel
