#include "system/linux/program_environment.h"

#include <malloc.h>

#include <cstdlib>
#include <string_view>

namespace quorvel {

namespace {

std::string EnvironmentValue(const char* name) {
    const char* value = std::getenv(name);
    return value == nullptr ? std::string() : std::string(value);
}

} // namespace

void ShareOneHeap() {
    ::mallopt(M_ARENA_MAX, 1);
}

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
    for (std::filesystem::path& folder : XdgSearchPath("XDG_DATA_DIRS", "/usr/local/share:/usr/share")) {
        environment.dataDirs.push_back(std::move(folder));
    }
    return environment;
}

std::vector<std::filesystem::path> XdgSearchPath(const char* variable, std::string_view fallback) {
    const std::string value = EnvironmentValue(variable);
    std::string_view rest = value.empty() ? fallback : std::string_view(value);
    std::vector<std::filesystem::path> folders;
    while (!rest.empty()) {
        const std::size_t colon = rest.find(':');
        const std::filesystem::path folder(rest.substr(0, colon));
        if (folder.is_absolute()) {
            folders.push_back(folder);
        }
        rest = colon == std::string_view::npos ? std::string_view() : rest.substr(colon + 1);
    }
    return folders;
}

} // namespace quorvel
