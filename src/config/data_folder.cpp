#include "config/data_folder.h"

#include <algorithm>
#include <cctype>

namespace quorvel {

namespace {

constexpr const char* kConfigBin = "config.bin";
constexpr const char* kStrIni = "str.ini";
constexpr const char* kRecordIni = "record.ini";
constexpr const char* kSkins = "Skins";
constexpr const char* kDefaultSkin = "Default";
// Every skin has its main window background; a folder without it is no skin.
constexpr const char* kSkinMarker = "main.png";
constexpr const char* kFactory = "factory";
constexpr const char* kDemoFolder = "quorvel-demo";
// Inside a portable copy, where quorvel-demo is the program's own file name.
constexpr const char* kPortableDemoFolder = "demo";
// Inside %APPDATA%, for an installed Windows copy.
constexpr const char* kWindowsFolder = "Quorvel";

// A folder that holds the program's files or skins is a portable copy, even
// when one of the files has gone missing.
bool IsPortableFolder(const std::filesystem::path& folder, const FileSystem& files) {
    return files.exists(folder / kConfigBin) || files.exists(folder / kStrIni) ||
           files.exists(folder / kSkins / kDefaultSkin / kSkinMarker);
}

// A Windows copy is portable unless the installer's marker lies beside the
// programs. An installed one keeps the user's files in %APPDATA%\Quorvel and
// takes the factory files and skins from beside the programs; without an
// %APPDATA% it keeps them beside the programs after all.
DataPaths WindowsDataPaths(const DataFolderEnvironment& environment, const FileSystem& files) {
    const std::filesystem::path programFolder = environment.program.parent_path();
    if (environment.appData.empty() || !files.exists(programFolder / kInstalledMarker)) {
        return DataPathsIn(programFolder, environment.program);
    }
    DataPaths paths = DataPathsIn(environment.appData / kWindowsFolder, environment.program);
    paths.portable = false;
    paths.factoryFolder = programFolder / kFactory;
    paths.skinRoots.push_back(programFolder / kSkins);
    return paths;
}

} // namespace

DataPaths DataPathsIn(const std::filesystem::path& folder, const std::filesystem::path& program) {
    DataPaths paths;
    paths.program = program;
    paths.folder = folder;
    paths.configBin = folder / kConfigBin;
    paths.strIni = folder / kStrIni;
    paths.recordIni = folder / kRecordIni;
    paths.skinRoots = {folder / kSkins};
    paths.portable = true;
    return paths;
}

DataPaths ResolveDataPaths(const DataFolderEnvironment& environment, const FileSystem& files) {
    const std::filesystem::path programFolder = environment.program.parent_path();
    if (environment.windows) {
        return WindowsDataPaths(environment, files);
    }
    if (IsPortableFolder(programFolder, files)) {
        return DataPathsIn(programFolder, environment.program);
    }
    std::filesystem::path configHome;
    if (!environment.xdgConfigHome.empty() && PathFromUtf8(environment.xdgConfigHome).is_absolute()) {
        configHome = PathFromUtf8(environment.xdgConfigHome);
    } else if (!environment.home.empty()) {
        configHome = PathFromUtf8(environment.home) / ".config";
    } else {
        // No home at all: keep the files beside the program, as a portable copy does.
        return DataPathsIn(programFolder, environment.program);
    }
    std::vector<std::filesystem::path> shared;
    for (const std::filesystem::path& dataDir : environment.dataDirs) {
        if (dataDir.is_absolute()) {
            shared.push_back((dataDir / "quorvel").lexically_normal());
        }
    }
    shared.push_back((programFolder / ".." / "share" / "quorvel").lexically_normal());
    DataPaths paths = DataPathsIn(configHome / "quorvel", environment.program);
    paths.portable = false;
    for (const std::filesystem::path& folder : shared) {
        if (paths.factoryFolder.empty() && files.exists(folder / kFactory / kConfigBin)) {
            paths.factoryFolder = folder / kFactory;
        }
        if (std::find(paths.skinRoots.begin(), paths.skinRoots.end(), folder / kSkins) ==
            paths.skinRoots.end()) {
            paths.skinRoots.push_back(folder / kSkins);
        }
    }
    if (paths.factoryFolder.empty()) {
        paths.factoryFolder = shared.front() / kFactory;
    }
    return paths;
}

DataPaths DemoDataPaths(const DataPaths& program) {
    const std::filesystem::path folder =
        program.portable ? program.folder / kPortableDemoFolder : program.folder.parent_path() / kDemoFolder;
    DataPaths paths = DataPathsIn(folder, program.program);
    paths.portable = false;
    paths.factoryFolder = program.portable ? program.folder / kFactory : program.factoryFolder;
    paths.skinRoots.insert(paths.skinRoots.end(), program.skinRoots.begin(), program.skinRoots.end());
    return paths;
}

DataPaths ProgramDataPaths(const DataFolderEnvironment& environment, FileSystem& files, bool demo) {
    DataPaths paths = ResolveDataPaths(environment, files);
    if (demo) {
        paths = DemoDataPaths(paths);
    }
    SeedDataFolder(files, paths);
    return paths;
}

std::unique_ptr<FolderLock> LockDataFolder(FileSystem& files, const DataPaths& paths) {
    std::unique_ptr<FolderLock> lock = files.lockFolder(paths.folder);
    if (lock) {
        for (const std::filesystem::path* file : {&paths.configBin, &paths.strIni, &paths.recordIni}) {
            files.removeStaleTemporaries(*file);
        }
    }
    return lock;
}

FileStatus SeedDataFolder(FileSystem& files, const DataPaths& paths) {
    if (paths.portable || paths.factoryFolder.empty()) {
        return std::nullopt;
    }
    FileStatus failure;
    for (const auto& [name, target] :
         {std::pair{kConfigBin, paths.configBin}, std::pair{kStrIni, paths.strIni},
          std::pair{kRecordIni, paths.recordIni}}) {
        const std::filesystem::path factory = paths.factoryFolder / name;
        if (!files.exists(target) && files.exists(factory)) {
            if (auto error = files.copyIfMissing(factory, target); error && !failure) {
                failure = std::move(error);
            }
        }
    }
    return failure;
}

DataFolderStart StartDataFolder(FileSystem& files, const DataPaths& paths) {
    DataFolderStart start{paths, SeedDataFolder(files, paths)};
    if (!start.cannotSave) {
        return start;
    }
    for (const auto& [name, file] :
         {std::pair{kConfigBin, &start.read.configBin}, std::pair{kStrIni, &start.read.strIni},
          std::pair{kRecordIni, &start.read.recordIni}}) {
        const std::filesystem::path factory = paths.factoryFolder / name;
        if (!files.exists(*file) && files.exists(factory)) {
            *file = factory;
        }
    }
    return start;
}

namespace {

// A folder that holds a main.png, and whether it is a skin the program can draw.
bool HoldsSkin(const std::filesystem::path& folder, const FileSystem& files, const SkinCheck& drawable) {
    return files.exists(folder / kSkinMarker) && drawable(folder);
}

// Where each skin root would hold the named skin, in search order (an empty
// name: the roots themselves); never empty.
std::vector<std::filesystem::path> FoldersNamed(const DataPaths& paths, std::string_view skinName) {
    std::vector<std::filesystem::path> roots = paths.skinRoots;
    if (roots.empty()) {
        roots.push_back(paths.folder / kSkins);
    }
    for (std::filesystem::path& root : roots) {
        if (!skinName.empty()) {
            root /= PathFromUtf8(skinName);
        }
    }
    return roots;
}

std::optional<std::filesystem::path> FolderHolding(const DataPaths& paths, std::string_view skinName,
                                                   const FileSystem& files, const SkinCheck& drawable) {
    for (std::filesystem::path& folder : FoldersNamed(paths, skinName)) {
        if (HoldsSkin(folder, files, drawable)) {
            return std::move(folder);
        }
    }
    return std::nullopt;
}

} // namespace

bool IsSkinName(std::string_view name) {
    return !name.empty() && name != "." && name != ".." &&
           name.find_first_of(std::string_view("/\\:\0", 4)) == std::string_view::npos;
}

SkinLookup FindSkinFolder(const DataPaths& paths, std::string_view skinName, const FileSystem& files,
                          const SkinCheck& drawable) {
    const std::filesystem::path fallback = FolderHolding(paths, kDefaultSkin, files, drawable)
                                               .value_or(FoldersNamed(paths, kDefaultSkin).front());
    // An empty name stands for the skins folder itself, which is inside too.
    if (!skinName.empty() && !IsSkinName(skinName)) {
        return {fallback, kDefaultSkin, fallback, std::nullopt, true};
    }
    if (auto folder = FolderHolding(paths, skinName, files, drawable)) {
        return {std::move(*folder), std::string(skinName), fallback, std::nullopt};
    }
    // The folder that stood in the way: the first of that name with a
    // main.png, else the one among the user's own skins.
    const std::vector<std::filesystem::path> named = FoldersNamed(paths, skinName);
    const auto withImage = std::find_if(named.begin(), named.end(), [&](const std::filesystem::path& folder) {
        return files.exists(folder / kSkinMarker);
    });
    return {fallback, kDefaultSkin, fallback, withImage != named.end() ? *withImage : named.front()};
}

namespace {

std::string Folded(std::string_view text) {
    std::string folded(text);
    std::transform(folded.begin(), folded.end(), folded.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return folded;
}

} // namespace

std::vector<SkinFolder> ListSkinFolders(const std::vector<std::filesystem::path>& skinRoots,
                                        const FileSystem& files, const SkinCheck& drawable) {
    std::vector<SkinFolder> skins;
    for (const std::filesystem::path& root : skinRoots) {
        std::vector<std::string> names = files.subfolders(root);
        std::sort(names.begin(), names.end());
        for (const std::string& name : names) {
            const bool hidden = std::any_of(skins.begin(), skins.end(), [&](const SkinFolder& skin) {
                return Folded(skin.name) == Folded(name);
            });
            // A skin the program cannot draw would leave the window blank;
            // a name str.ini could not take back is not offered.
            if (!hidden && IsSkinName(name) && HoldsSkin(root / PathFromUtf8(name), files, drawable)) {
                skins.push_back({name, root / PathFromUtf8(name)});
            }
        }
    }
    std::stable_sort(skins.begin(), skins.end(), [](const SkinFolder& a, const SkinFolder& b) {
        return Folded(a.name) < Folded(b.name);
    });
    return skins;
}

} // namespace quorvel
