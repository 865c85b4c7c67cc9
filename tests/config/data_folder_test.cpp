#include <gtest/gtest.h>

#include <cerrno>

#include "config/data_folder.h"
#include "support/memory_file_system.h"

// The installed layout exists on Linux only; its folders ("/usr/share",
// "/home/u") are no absolute paths on Windows.
#ifdef _WIN32
#define SKIP_THE_LINUX_INSTALLED_LAYOUT_ON_WINDOWS() GTEST_SKIP() << "the installed layout is Linux's"
#else
#define SKIP_THE_LINUX_INSTALLED_LAYOUT_ON_WINDOWS() static_cast<void>(0)
#endif

namespace quorvel {
namespace {

using testing::MemoryFileSystem;

// Every folder with a main.png is a skin the window can draw.
const SkinCheck kAnySkin = [](const std::filesystem::path&) { return true; };

TEST(DataFolder, PortableWhenConfigBinLiesBesideTheProgram) {
    MemoryFileSystem files;
    files.files["/opt/q/config.bin"] = "x";
    const DataPaths paths = ResolveDataPaths({"/opt/q/quorvel", "/xdg", "/home/u", false, {}}, files);
    EXPECT_TRUE(paths.portable);
    EXPECT_EQ(paths.configBin, "/opt/q/config.bin");
    EXPECT_EQ(paths.strIni, "/opt/q/str.ini");
    EXPECT_EQ(paths.recordIni, "/opt/q/record.ini");
    EXPECT_EQ(paths.skinRoots, std::vector<std::filesystem::path>{"/opt/q/Skins"});
    EXPECT_EQ(paths.program, "/opt/q/quorvel");
}

TEST(DataFolder, APortableCopyThatLostItsConfigBinStaysPortable) {
    for (const char* remaining : {"/opt/q/str.ini", "/opt/q/Skins/Default/main.png"}) {
        MemoryFileSystem files;
        files.files[remaining] = "x";
        const DataPaths paths = ResolveDataPaths({"/opt/q/quorvel", "/xdg", "/home/u", false, {}}, files);
        EXPECT_TRUE(paths.portable) << remaining;
        EXPECT_EQ(paths.configBin, "/opt/q/config.bin") << remaining;
        EXPECT_EQ(paths.skinRoots, std::vector<std::filesystem::path>{"/opt/q/Skins"}) << remaining;
    }
}

TEST(DataFolder, FactoryFilesComeFromTheFirstSharedFolderThatHasThem) {
    SKIP_THE_LINUX_INSTALLED_LAYOUT_ON_WINDOWS();
    MemoryFileSystem files;
    files.files["/xdg2/quorvel/factory/config.bin"] = "x";
    files.files["/usr/share/quorvel/factory/config.bin"] = "x";
    DataFolderEnvironment environment{"/opt/app/bin/quorvel", "", "/home/u", false, {}};
    environment.dataDirs = {"/usr/share", "/xdg1", "relative", "/xdg2/", "/opt/app/share"};
    const DataPaths paths = ResolveDataPaths(environment, files);
    EXPECT_EQ(paths.factoryFolder, "/usr/share/quorvel/factory");
    EXPECT_EQ(paths.skinRoots,
              (std::vector<std::filesystem::path>{"/home/u/.config/quorvel/Skins", "/usr/share/quorvel/Skins",
                                                  "/xdg1/quorvel/Skins", "/xdg2/quorvel/Skins",
                                                  "/opt/app/share/quorvel/Skins"}))
        << "relative folders are left out, and <bindir>/../share is searched once";

    files.files.erase("/usr/share/quorvel/factory/config.bin");
    EXPECT_EQ(ResolveDataPaths(environment, files).factoryFolder, "/xdg2/quorvel/factory");
}

TEST(DataFolder, TheDemoKeepsItsOwnFolderBesideTheProgramsOwn) {
    MemoryFileSystem files;
    const DataPaths installed = ResolveDataPaths({"/usr/bin/quorvel-demo", "", "/home/u", false, {}}, files);
    const DataPaths demo = DemoDataPaths(installed);
    EXPECT_FALSE(demo.portable);
    EXPECT_EQ(demo.configBin, "/home/u/.config/quorvel-demo/config.bin");
    EXPECT_EQ(demo.strIni, "/home/u/.config/quorvel-demo/str.ini");
    EXPECT_EQ(demo.recordIni, "/home/u/.config/quorvel-demo/record.ini");
    EXPECT_EQ(demo.factoryFolder, "/usr/share/quorvel/factory");
    EXPECT_EQ(demo.skinRoots, (std::vector<std::filesystem::path>{"/home/u/.config/quorvel-demo/Skins",
                                                                  "/home/u/.config/quorvel/Skins",
                                                                  "/usr/share/quorvel/Skins"}));

    files.files["/b/bin/config.bin"] = "the program's own";
    files.files["/b/bin/factory/config.bin"] = "factory";
    const DataPaths portable =
        DemoDataPaths(ResolveDataPaths({"/b/bin/quorvel-demo", "", "/home/u", false, {}}, files));
    EXPECT_EQ(portable.configBin, "/b/bin/demo/config.bin");
    EXPECT_EQ(SeedDataFolder(files, portable), std::nullopt);
    EXPECT_EQ(files.files["/b/bin/demo/config.bin"], "factory");
    EXPECT_EQ(files.files["/b/bin/config.bin"], "the program's own");
}

// Only the installer's marker makes a Windows copy an installed one; any
// other copy keeps its files beside the programs, as it always did.
TEST(DataFolder, AWindowsCopyIsInstalledOnlyByTheInstallersMarker) {
    const struct {
        const char* name;
        std::vector<const char*> beside; // files beside C:/Q/quorvel.exe
        const char* appData;
        const char* folder;
    } cases[] = {
        {"an unpacked archive", {"C:/Q/config.bin", "C:/Q/factory/config.bin"}, "C:/U/Roaming", "C:/Q"},
        {"a folder of programs alone", {}, "C:/U/Roaming", "C:/Q"},
        {"installed", {"C:/Q/installed.txt", "C:/Q/factory/config.bin"}, "C:/U/Roaming", "C:/U/Roaming/Quorvel"},
        {"installed, with a stray config.bin", {"C:/Q/installed.txt", "C:/Q/config.bin"}, "C:/U/Roaming",
         "C:/U/Roaming/Quorvel"},
        {"installed, without %APPDATA%", {"C:/Q/installed.txt"}, "", "C:/Q"},
    };
    for (const auto& c : cases) {
        MemoryFileSystem files;
        for (const char* file : c.beside) {
            files.files[file] = "x";
        }
        DataFolderEnvironment environment{"C:/Q/quorvel.exe", "", "", true, {}};
        environment.appData = c.appData;
        const DataPaths paths = ResolveDataPaths(environment, files);
        EXPECT_EQ(paths.folder, c.folder) << c.name;
        EXPECT_EQ(paths.configBin, std::filesystem::path(c.folder) / "config.bin") << c.name;
        EXPECT_EQ(paths.portable, paths.folder == "C:/Q") << c.name;
        if (paths.portable) {
            EXPECT_EQ(paths.skinRoots, std::vector<std::filesystem::path>{"C:/Q/Skins"}) << c.name;
        } else {
            EXPECT_EQ(paths.factoryFolder, "C:/Q/factory") << c.name;
            EXPECT_EQ(paths.skinRoots,
                      (std::vector<std::filesystem::path>{"C:/U/Roaming/Quorvel/Skins", "C:/Q/Skins"}))
                << c.name;
        }
    }
}

// An installed copy's first start fills %APPDATA%\Quorvel from the factory
// files it brings; a reinstall, which brings them anew, leaves the user's own
// files alone. The demo keeps its files in a folder of its own there.
TEST(DataFolder, AnInstalledWindowsCopySeedsTheUsersFolderOnce) {
    MemoryFileSystem files;
    files.files["C:/Q/installed.txt"] = "x";
    for (const char* name : {"config.bin", "str.ini", "record.ini"}) {
        files.files[std::string("C:/Q/factory/") + name] = std::string("factory ") + name;
    }
    DataFolderEnvironment environment{"C:/Q/quorvel.exe", "", "", true, {}};
    environment.appData = "C:/U/Roaming";
    ProgramDataPaths(environment, files, /*demo=*/false);
    EXPECT_EQ(files.files["C:/U/Roaming/Quorvel/config.bin"], "factory config.bin");
    EXPECT_EQ(files.files["C:/U/Roaming/Quorvel/str.ini"], "factory str.ini");
    EXPECT_EQ(files.files["C:/U/Roaming/Quorvel/record.ini"], "factory record.ini");
    EXPECT_FALSE(files.exists("C:/Q/config.bin")) << "nothing is written beside the installed programs";

    files.files["C:/U/Roaming/Quorvel/str.ini"] = "the user's own";
    files.files["C:/Q/factory/str.ini"] = "a newer version's factory str.ini";
    ProgramDataPaths(environment, files, /*demo=*/false);
    EXPECT_EQ(files.files["C:/U/Roaming/Quorvel/str.ini"], "the user's own");

    environment.program = "C:/Q/quorvel-demo.exe";
    const DataPaths demo = ProgramDataPaths(environment, files, /*demo=*/true);
    EXPECT_EQ(demo.folder, "C:/U/Roaming/quorvel-demo");
    EXPECT_EQ(files.files["C:/U/Roaming/quorvel-demo/config.bin"], "factory config.bin");
    EXPECT_EQ(files.files["C:/U/Roaming/Quorvel/str.ini"], "the user's own");
}

// A Windows copy keeps the demo's files in demo/ beside the program's own,
// seeded from the factory/ folder the copy brings.
TEST(DataFolder, TheWindowsDemoSeedsItsOwnFolderInsideTheCopy) {
    MemoryFileSystem files;
    files.files["C:/Q/config.bin"] = "the program's own";
    files.files["C:/Q/factory/config.bin"] = "factory";
    const DataPaths paths =
        ProgramDataPaths({"C:/Q/quorvel-demo.exe", "", "", true, {}}, files, /*demo=*/true);
    EXPECT_EQ(paths.folder, "C:/Q/demo");
    EXPECT_EQ(files.files["C:/Q/demo/config.bin"], "factory");
    EXPECT_EQ(files.files["C:/Q/config.bin"], "the program's own");
    EXPECT_EQ(paths.skinRoots, (std::vector<std::filesystem::path>{"C:/Q/demo/Skins", "C:/Q/Skins"}));

    const DataPaths program = ProgramDataPaths({"C:/Q/quorvel.exe", "", "", true, {}}, files, /*demo=*/false);
    EXPECT_EQ(program.configBin, "C:/Q/config.bin");
    EXPECT_FALSE(files.exists("C:/Q/str.ini")) << "a portable copy is never seeded";
}

TEST(DataFolder, InstalledUsesTheUsersConfigFolder) {
    SKIP_THE_LINUX_INSTALLED_LAYOUT_ON_WINDOWS();
    MemoryFileSystem files;
    const struct {
        const char* xdg;
        const char* home;
        const char* folder;
    } cases[] = {
        {"/xdg", "/home/u", "/xdg/quorvel"},
        {"", "/home/u", "/home/u/.config/quorvel"},
        {"relative/xdg", "/home/u", "/home/u/.config/quorvel"}, // a relative XDG path is to be ignored
    };
    for (const auto& row : cases) {
        const DataPaths paths = ResolveDataPaths({"/usr/bin/quorvel", row.xdg, row.home, false, {}}, files);
        EXPECT_FALSE(paths.portable);
        EXPECT_EQ(paths.folder, row.folder);
        EXPECT_EQ(paths.configBin, std::filesystem::path(row.folder) / "config.bin");
        EXPECT_EQ(paths.factoryFolder, "/usr/share/quorvel/factory");
        EXPECT_EQ(paths.skinRoots,
                  (std::vector<std::filesystem::path>{std::filesystem::path(row.folder) / "Skins",
                                                      "/usr/share/quorvel/Skins"}));
    }
}

TEST(DataFolder, SeedingCopiesMissingFactoryFilesAndKeepsTheUsersOwn) {
    MemoryFileSystem files;
    files.files["/usr/share/quorvel/factory/config.bin"] = "factory config";
    files.files["/usr/share/quorvel/factory/str.ini"] = "factory str";
    files.files["/home/u/.config/quorvel/str.ini"] = "mine";
    const DataPaths paths = ResolveDataPaths({"/usr/bin/quorvel", "", "/home/u", false, {}}, files);
    EXPECT_EQ(SeedDataFolder(files, paths), std::nullopt);
    EXPECT_EQ(files.files["/home/u/.config/quorvel/config.bin"], "factory config");
    EXPECT_EQ(files.files["/home/u/.config/quorvel/str.ini"], "mine");
    EXPECT_FALSE(files.exists("/home/u/.config/quorvel/record.ini")) << "no factory file, nothing made up";
}

// A first-run copy that fails is told as itself, with the file and the
// reason, instead of surfacing later as a missing file.
TEST(DataFolder, AFailedSeedingSaysWhichFileAndWhy) {
    MemoryFileSystem files;
    files.files["/usr/share/quorvel/factory/config.bin"] = "factory config";
    files.files["/usr/share/quorvel/factory/str.ini"] = "factory str";
    const DataPaths paths = ResolveDataPaths({"/usr/bin/quorvel", "", "/home/u", false, {}}, files);

    MemoryFileSystem full = files;
    full.writeError = ENOSPC;
    EXPECT_EQ(SeedDataFolder(full, paths),
              (FileError{FileError::Kind::WriteFailed, "/home/u/.config/quorvel/config.bin", ENOSPC}));

    MemoryFileSystem unreadable = files;
    unreadable.unreadable.insert("/usr/share/quorvel/factory/str.ini");
    EXPECT_EQ(SeedDataFolder(unreadable, paths),
              (FileError{FileError::Kind::ReadFailed, "/usr/share/quorvel/factory/str.ini", EACCES}));
    EXPECT_TRUE(unreadable.exists("/home/u/.config/quorvel/config.bin"))
        << "the other files are still copied";
}

// A copy the user may not write (on a share, in Program Files) or a full
// disk: the start reads what it could not copy from the factory files rather
// than run on an empty record, learns once why nothing can be kept, and
// leaves every file as it was. A writable folder reads its own copies.
TEST(DataFolder, WhatCannotBeCopiedInIsReadFromTheFactoryFiles) {
    const struct {
        const char* name;
        int writeError;
        const char* own;        // the user's config.bin already in the folder
        const char* readConfig; // where config.bin is read from
        const char* readStr;
    } cases[] = {
        {"writable", 0, nullptr, "C:/Q/demo/config.bin", "C:/Q/demo/str.ini"},
        {"read-only", EACCES, nullptr, "C:/Q/factory/config.bin", "C:/Q/factory/str.ini"},
        {"read-only, the user's own config.bin", EROFS, "mine", "C:/Q/demo/config.bin",
         "C:/Q/factory/str.ini"},
        {"full disk", ENOSPC, nullptr, "C:/Q/factory/config.bin", "C:/Q/factory/str.ini"},
    };
    for (const auto& row : cases) {
        SCOPED_TRACE(row.name);
        MemoryFileSystem files;
        files.files["C:/Q/config.bin"] = "the program's own";
        files.files["C:/Q/factory/config.bin"] = "factory config";
        files.files["C:/Q/factory/str.ini"] = "factory str";
        if (row.own != nullptr) {
            files.files["C:/Q/demo/config.bin"] = row.own;
        }
        files.writeError = row.writeError;
        const auto before = files.files;
        const DataPaths paths = DemoDataPaths(DataPathsIn("C:/Q", "C:/Q/quorvel-demo.exe"));

        const DataFolderStart start = StartDataFolder(files, paths);
        EXPECT_EQ(start.read.configBin, row.readConfig);
        EXPECT_EQ(start.read.strIni, row.readStr);
        EXPECT_EQ(start.read.recordIni, "C:/Q/demo/record.ini") << "the factory has none to read";
        EXPECT_EQ(start.read.folder, paths.folder);
        if (row.writeError == 0) {
            EXPECT_EQ(start.cannotSave, std::nullopt);
            EXPECT_EQ(files.files["C:/Q/demo/str.ini"], "factory str");
            continue;
        }
        ASSERT_TRUE(start.cannotSave);
        EXPECT_EQ(start.cannotSave->kind, FileError::Kind::WriteFailed);
        EXPECT_EQ(start.cannotSave->code, row.writeError);
        EXPECT_EQ(files.files, before) << "nothing written, nothing lost";
    }
}

TEST(DataFolder, SkinFolderIsTheFirstRootThatHoldsTheSkin) {
    MemoryFileSystem files;
    files.files["/usr/share/quorvel/Skins/Default/main.png"] = "png";
    files.files["/home/u/.config/quorvel/Skins/Mine/main.png"] = "png";
    const DataPaths paths = ResolveDataPaths({"/usr/bin/quorvel", "", "/home/u", false, {}}, files);
    EXPECT_EQ(FindSkinFolder(paths, "Default", files, kAnySkin).folder, "/usr/share/quorvel/Skins/Default");
    EXPECT_EQ(FindSkinFolder(paths, "Mine", files, kAnySkin).folder, "/home/u/.config/quorvel/Skins/Mine");
    EXPECT_EQ(FindSkinFolder(paths, "Mine", files, kAnySkin).unusable, std::nullopt);
}

// A missing or junk str.ini names no skin, or one that is not there: the
// window falls back to the Default skin instead of drawing nothing.
TEST(DataFolder, ASkinNameThatHoldsNoSkinFallsBackToDefault) {
    MemoryFileSystem files;
    files.files["/usr/share/quorvel/Skins/Default/main.png"] = "png";
    files.files["/home/u/.config/quorvel/Skins/Empty/readme.txt"] = "no skin here";
    const DataPaths paths = ResolveDataPaths({"/usr/bin/quorvel", "", "/home/u", false, {}}, files);
    const struct {
        const char* name;
        const char* unusable;
    } cases[] = {
        {"", "/home/u/.config/quorvel/Skins"},
        {"Gone", "/home/u/.config/quorvel/Skins/Gone"},
        {"Empty", "/home/u/.config/quorvel/Skins/Empty"},
    };
    for (const auto& row : cases) {
        const SkinLookup skin = FindSkinFolder(paths, row.name, files, kAnySkin);
        EXPECT_EQ(skin.folder, "/usr/share/quorvel/Skins/Default") << row.name;
        EXPECT_EQ(skin.unusable, std::filesystem::path(row.unusable)) << row.name;
    }
    // A skin placed straight in the Skins folder is still used.
    files.files["/home/u/.config/quorvel/Skins/main.png"] = "png";
    EXPECT_EQ(FindSkinFolder(paths, "", files, kAnySkin).folder, "/home/u/.config/quorvel/Skins");
}

// The Skins dialog offers the user's skins and the system's together; a
// user's skin hides the system's of the same name, as it wins when drawing.
TEST(DataFolder, TheSkinsToChooseFromAreEveryRootsSkinsByName) {
    MemoryFileSystem files;
    for (const char* skin : {"/usr/share/quorvel/Skins/Default", "/usr/share/quorvel/Skins/Ember",
                             "/home/u/.config/quorvel/Skins/mine", "/home/u/.config/quorvel/Skins/default"}) {
        files.files[std::filesystem::path(skin) / "main.png"] = "png";
    }
    files.files["/home/u/.config/quorvel/Skins/Empty/readme.txt"] = "no skin here";
    files.files["/home/u/.config/quorvel/Skins/loose.png"] = "a file, not a folder";
    const DataPaths paths = ResolveDataPaths({"/usr/bin/quorvel", "", "/home/u", false, {}}, files);
    EXPECT_EQ(ListSkinFolders(paths.skinRoots, files, kAnySkin),
              (std::vector<SkinFolder>{{"default", "/home/u/.config/quorvel/Skins/default"},
                                       {"Ember", "/usr/share/quorvel/Skins/Ember"},
                                       {"mine", "/home/u/.config/quorvel/Skins/mine"}}));
    EXPECT_TRUE(ListSkinFolders({"/nowhere/Skins"}, files, kAnySkin).empty());
}

// str.ini's Path names one folder inside the skins folders, and nothing
// else: a name that leads anywhere else is not looked up, even where a skin
// waits at its end, and the Default skin is drawn instead.
TEST(DataFolder, ASkinNameIsOneFolderInsideTheSkinsFolders) {
    MemoryFileSystem files;
    files.files["/opt/q/config.bin"] = "x";
    const DataPaths paths = ResolveDataPaths({"/opt/q/quorvel", "", "/home/u", false, {}}, files);
    const std::filesystem::path root = paths.skinRoots.front();
    files.files[root / "Default" / "main.png"] = "png";
    const struct {
        std::string name;
        bool isSkinName;
    } cases[] = {
        {"Ember", true},
        {"Bl\xC3\xA5", true},
        {"\xE7\x9A\xAE\xE8\x82\xA4", true},
        {"My skin", true},
        {"v1.2", true},
        {"..Ember", true},
        {"../../evil", false},
        {"/abs/evil", false},
        {"Ember/../../../evil", false},
        {"Ember/", false},
        {"/", false},
        {"..", false},
        {".", false},
        {"..\\..\\evil", false},
        {"Ember\\..\\..\\evil", false},
        {"\\\\server\\share\\evil", false},
        {"C:evil", false},
        {"C:\\evil", false},
        {std::string("Ember\0/../../evil", 17), false},
    };
    for (const auto& row : cases) {
        // A skin where the name leads, so that only the rule keeps it out.
        files.files[root / PathFromUtf8(row.name) / "main.png"] = "png";
        const SkinLookup skin = FindSkinFolder(paths, row.name, files, kAnySkin);
        EXPECT_EQ(IsSkinName(row.name), row.isSkinName) << row.name;
        EXPECT_EQ(skin.unusableName, !row.isSkinName) << row.name;
        if (row.isSkinName) {
            EXPECT_EQ(skin.folder, root / PathFromUtf8(row.name)) << row.name;
            EXPECT_EQ(skin.name, row.name);
        } else {
            EXPECT_EQ(skin.folder, root / "Default") << row.name;
            EXPECT_EQ(skin.name, "Default") << row.name;
            EXPECT_EQ(skin.unusable, std::nullopt) << row.name << ": no folder of that name was looked at";
        }
    }
    EXPECT_FALSE(IsSkinName("")) << "an empty Path stands for the skins folder itself, no skin name";

    // Nor does the Skins dialog offer, and so write, a folder whose name is
    // none (a "\\" or ":" is a plain character in a Linux folder's name).
    std::vector<std::string> offered;
    for (const SkinFolder& skin : ListSkinFolders(paths.skinRoots, files, kAnySkin)) {
        offered.push_back(skin.name);
    }
    EXPECT_EQ(offered, (std::vector<std::string>{"..Ember", "Bl\xC3\xA5", "Default", "Ember", "My skin",
                                                 "v1.2", "\xE7\x9A\xAE\xE8\x82\xA4"}));
}

// A folder whose images the window cannot draw is no skin: the name finds
// the next root's skin of that name, else the Default skin, and the list
// neither offers it nor lets it hide the system's skin of its name.
TEST(DataFolder, AFolderTheWindowCannotDrawHoldsNoSkin) {
    MemoryFileSystem files;
    for (const char* skin : {"/usr/share/quorvel/Skins/Default", "/usr/share/quorvel/Skins/Ember"}) {
        files.files[std::filesystem::path(skin) / "main.png"] = "png";
    }
    for (const char* broken : {"/home/u/.config/quorvel/Skins/Ember", "/home/u/.config/quorvel/Skins/Odd",
                               "/home/u/.config/quorvel/Skins/Default"}) {
        files.files[std::filesystem::path(broken) / "main.png"] = "broken";
    }
    const SkinCheck drawable = [&](const std::filesystem::path& folder) {
        return *files.readAll(folder / "main.png") != "broken";
    };
    const DataPaths paths = ResolveDataPaths({"/usr/bin/quorvel", "", "/home/u", false, {}}, files);

    const SkinLookup ember = FindSkinFolder(paths, "Ember", files, drawable);
    EXPECT_EQ(ember.folder, "/usr/share/quorvel/Skins/Ember");
    EXPECT_EQ(ember.name, "Ember");
    EXPECT_EQ(ember.fallback, "/usr/share/quorvel/Skins/Default");
    EXPECT_EQ(ember.unusable, std::nullopt);

    const SkinLookup odd = FindSkinFolder(paths, "Odd", files, drawable);
    EXPECT_EQ(odd.folder, "/usr/share/quorvel/Skins/Default");
    EXPECT_EQ(odd.name, "Default");
    EXPECT_EQ(odd.unusable, std::filesystem::path("/home/u/.config/quorvel/Skins/Odd"));

    EXPECT_EQ(ListSkinFolders(paths.skinRoots, files, drawable),
              (std::vector<SkinFolder>{{"Default", "/usr/share/quorvel/Skins/Default"},
                                       {"Ember", "/usr/share/quorvel/Skins/Ember"}}));
}

} // namespace
} // namespace quorvel
