#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ports/file_system.h"
#include "ports/program_environment.h"

namespace quorvel {

// Where the program keeps its files. This is the one place that builds
// these paths.
//
// Portable: on Windows unless installed, and elsewhere wherever config.bin,
// str.ini or the Default skin lies beside the executable (a build folder, an
// unpacked archive), the three files and Skins/ are there; a portable copy
// that lost its config.bin stays portable. Installed on Windows: the
// installer's marker (kInstalledMarker) lies beside the programs; the three
// files live in %APPDATA%\Quorvel, first copied from factory\ beside the
// programs; skins are looked for in the user's own Skins folder there, then
// in Skins beside the programs. Installed on Linux: the three files live in
// $XDG_CONFIG_HOME/quorvel (default ~/.config/quorvel), first copied from the
// factory files of the install's data folder (quorvel/factory under the first
// of the shared data folders that has them); skins are looked for in the
// user's own Skins folder there, then in quorvel/Skins of each shared data
// folder.
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

// The file the Windows installer writes beside the programs it installs. Only
// the installer makes it, so every other copy (an unpacked archive, a build
// folder, one unpacked before installers existed) stays portable.
inline constexpr const char* kInstalledMarker = "installed.txt";

// The program's data folder for `--data DIR` and the like: everything in DIR.
DataPaths DataPathsIn(const std::filesystem::path& folder, const std::filesystem::path& program = {});

DataPaths ResolveDataPaths(const DataFolderEnvironment& environment, const FileSystem& files);

// The demo's own folder beside the program's (`quorvel-demo` in place of
// `quorvel`, or a `demo` folder inside a portable copy), seeded from
// the same factory files (a portable copy keeps them in `factory/`), with its
// own skins folder searched before the program's. Nothing of the program's
// own files is ever written through these paths.
DataPaths DemoDataPaths(const DataPaths& program);

// The running program's data folder by the rules above (the demo's own when
// `demo`), its factory files copied in where missing. The shell makes the
// folder itself when it is not portable and still missing.
DataPaths ProgramDataPaths(const DataFolderEnvironment& environment, FileSystem& files, bool demo);

// The data folder's advisory lock, held for one whole read, change and write
// of its files, by the window and by quorvelctl alike, so that two writers
// never lose each other's change. Taking it clears the temporary files that
// a writer killed in mid-save left behind. Nothing when the folder cannot
// hold a lock file (then it cannot be written either).
std::unique_ptr<FolderLock> LockDataFolder(FileSystem& files, const DataPaths& paths);

// Copies the factory config.bin, str.ini and record.ini into the user's folder
// where they are missing; the user's own files are never replaced. The first
// copy that failed, when one did; the others are still tried.
FileStatus SeedDataFolder(FileSystem& files, const DataPaths& paths);

// The data folder as a start finds it: SeedDataFolder, and where each file
// is read from. Where a factory file could not be copied in (a read-only
// folder: a copy on a share or in Program Files, a folder that cannot be
// made, a full disk), each file still missing from the folder is read from
// the factory folder in its place, so the window starts on the factory
// settings rather than an empty record, and `cannotSave` says why nothing
// can be kept. Nothing is ever written through `read`.
struct DataFolderStart {
    DataPaths read;
    FileStatus cannotSave;
};
DataFolderStart StartDataFolder(FileSystem& files, const DataPaths& paths);

// Whether a folder that holds a main.png is a skin the program can draw;
// the window tells by decoding the skin's own images.
using SkinCheck = std::function<bool(const std::filesystem::path& folder)>;

struct SkinLookup {
    std::filesystem::path folder;   // where the skin images are taken from
    std::string name;               // the skin drawn: the one asked for, or the Default skin
    std::filesystem::path fallback; // the Default skin, for the images a skin lacks
    // The folder the skin name points at (the first that has a main.png),
    // when it holds no skin the program can draw: the Default skin is used
    // instead.
    std::optional<std::filesystem::path> unusable;
    // The name is no skin name (see IsSkinName): nothing was looked up for
    // it, and the Default skin is used.
    bool unusableName = false;
};

// Whether `name` can name a skin: the name of one folder inside the skins
// folders, so that no str.ini can point the window at images elsewhere. Not
// empty, not "." or "..", and no "/", "\\" or ":" (a drive or a stream on
// Windows), nor a NUL, which the system would cut the path at.
bool IsSkinName(std::string_view name);

// The folder of the named skin: the first skin root that holds it in a form
// `drawable` accepts (an empty name: a skin root itself). When no root does,
// or the name is no skin name, the Default skin.
SkinLookup FindSkinFolder(const DataPaths& paths, std::string_view skinName, const FileSystem& files,
                          const SkinCheck& drawable);

struct SkinFolder {
    std::string name; // the folder's own name, as str.ini keeps it
    std::filesystem::path folder;
    bool operator==(const SkinFolder&) const = default;
};

// The skins the user can choose: every folder of the skin roots that holds a
// skin `drawable` accepts, sorted by name. A skin of an earlier root (the
// user's own) hides one of the same name, in any case, of a later root (the
// system's), as it wins in FindSkinFolder.
std::vector<SkinFolder> ListSkinFolders(const std::vector<std::filesystem::path>& skinRoots,
                                        const FileSystem& files, const SkinCheck& drawable);

} // namespace quorvel
