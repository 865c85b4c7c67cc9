#include "system/linux/program_environment.h"

#include <cstdlib>
#include <string_view>

namespace quorvel {

namespace {

std::string EnvironmentValue(const char* name) {
    const char* value = std::getenv(name);
    return value == nullptr ? std::string() : std::string(value);
}

} // namespace

std::filesystem::path ThisExecutable() {
    std::error_code error;
    return std::filesystem::read_symlink("/proc/self/exe", error);
}

DataFolderEnvironment ThisProgramEnvironment() {
    DataFolderEnvironment environment;
    environment.program = ThisExecutable();
    environment.xdgConfigHome = EnvironmentValue("XDG_CONFIG_HOME");
    environment.home = EnvironmentValue("HOME");
#ifdef QUORVEL_INSTALL_DATADIR
    environment.dataDirs.emplace_back(QUORVEL_INSTALL_DATADIR);
#endif
    std::string dataDirs = EnvironmentValue("XDG_DATA_DIRS");
    if (dataDirs.empty()) {
        dataDirs = "/usr/local/share:/usr/share";
    }
    std::string_view rest = dataDirs;
    while (!rest.empty()) {
        const std::size_t colon = rest.find(':');
        const std::string_view entry = rest.substr(0, colon);
        if (!entry.empty()) {
            environment.dataDirs.emplace_back(entry);
        }
        rest = colon == std::string_view::npos ? std::string_view() : rest.substr(colon + 1);
    }
    return environment;
}

} // namespace quorvel
