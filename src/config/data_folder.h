#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ports/file_system.h"

namespace quorvel {

// Where the program keeps its files. This is the one place that builds
// these paths.
//
// Portable: on Windows, and wherever a config.bin lies beside the executable
// (a build folder, an unpacked archive), the three files and Skins/ are there.
// Installed on Linux: the three files live in $XDG_CONFIG_HOME/quorvel
// (default ~/.config/quorvel), first copied from the factory files installed
// in <prefix>/share/quorvel/factory; skins are looked for in the user's own
// Skins folder there, then in <prefix>/share/quorvel/Skins.
struct DataPaths {
    std::filesystem::path program; // the running executable, never written
    std::filesystem::path folder;  // the folder that holds the three files
    std::filesystem::path configBin;
    std::filesystem::path strIni;
    std::filesystem::path recordIni;
    std::filesystem::path factoryFolder;          // empty when portable
    std::vector<std::filesystem::path> skinRoots; // searched in order
    bool portable = true;
};

struct DataFolderEnvironment {
    std::filesystem::path program; // full path of the running executable
    std::string xdgConfigHome;     // empty when unset
    std::string home;              // empty when unset
    bool windows = false;
};

// The program's data folder for `--data DIR` and the like: everything in DIR.
DataPaths DataPathsIn(const std::filesystem::path& folder, const std::filesystem::path& program = {});

DataPaths ResolveDataPaths(const DataFolderEnvironment& environment, const FileSystem& files);

// Copies the factory config.bin, str.ini and record.ini into the user's folder
// where they are missing; the user's own files are never replaced. The first
// copy that failed, when one did; the others are still tried.
FileStatus SeedDataFolder(FileSystem& files, const DataPaths& paths);

struct SkinLookup {
    std::filesystem::path folder; // where the skin images are taken from
    // The folder the skin name points at, when it holds no skin: the Default
    // skin is used instead.
    std::optional<std::filesystem::path> unusable;
};

// The folder of the named skin: the first skin root that holds it (an empty
// name: a skin root itself). When no root holds it, the Default skin.
SkinLookup FindSkinFolder(const DataPaths& paths, std::string_view skinName, const FileSystem& files);

} // namespace quorvel
