#include "system/windows/program_environment.h"

#include <windows.h>

#include <shlobj.h>

#include "system/windows/system_info.h"

namespace quorvel {

namespace {

// The user's roaming application data folder; empty where the system names none.
std::filesystem::path RoamingAppData() {
    PWSTR folder = nullptr;
    std::filesystem::path path;
    if (SUCCEEDED(::SHGetKnownFolderPath(FOLDERID_RoamingAppData, KF_FLAG_DEFAULT, nullptr, &folder))) {
        path = folder;
    }
    ::CoTaskMemFree(folder);
    return path;
}

} // namespace

DataFolderEnvironment ThisProgramEnvironment() {
    DataFolderEnvironment environment;
    environment.program = ExecutablePath();
    environment.windows = true;
    environment.appData = RoamingAppData();
    return environment;
}

} // namespace quorvel
