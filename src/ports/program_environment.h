#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace quorvel {

// What the data folder rule reads of the running program's surroundings.
struct DataFolderEnvironment {
    std::filesystem::path program; // full path of the running executable
    std::string xdgConfigHome;     // empty when unset
    std::string home;              // empty when unset
    bool windows = false;
    // The shared data folders, in the order they are searched: the one the
    // program was installed with, then those of XDG_DATA_DIRS. <bindir>/../share
    // is always searched last.
    std::vector<std::filesystem::path> dataDirs;
    // Windows: the user's roaming application data folder (%APPDATA%), where
    // an installed copy keeps its files; empty where the system names none.
    std::filesystem::path appData{};
};

} // namespace quorvel
