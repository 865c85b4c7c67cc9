#include <gtest/gtest.h>

#include "config/data_folder.h"
#include "support/memory_file_system.h"

namespace quorvel {
namespace {

using testing::MemoryFileSystem;

TEST(DataFolder, PortableWhenConfigBinLiesBesideTheProgram) {
    MemoryFileSystem files;
    files.files["/opt/q/config.bin"] = "x";
    const DataPaths paths = ResolveDataPaths({"/opt/q/quorvel", "/xdg", "/home/u", false}, files);
    EXPECT_TRUE(paths.portable);
    EXPECT_EQ(paths.configBin, "/opt/q/config.bin");
    EXPECT_EQ(paths.strIni, "/opt/q/str.ini");
    EXPECT_EQ(paths.recordIni, "/opt/q/record.ini");
    EXPECT_EQ(paths.skinRoots, std::vector<std::filesystem::path>{"/opt/q/Skins"});
    EXPECT_EQ(paths.program, "/opt/q/quorvel");
}

TEST(DataFolder, WindowsAlwaysUsesTheProgramFolder) {
    MemoryFileSystem files;
    const DataPaths paths = ResolveDataPaths({"C:/Q/quorvel.exe", "", "", true}, files);
    EXPECT_TRUE(paths.portable);
    EXPECT_EQ(paths.configBin, "C:/Q/config.bin");
}

TEST(DataFolder, InstalledUsesTheUsersConfigFolder) {
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
        const DataPaths paths = ResolveDataPaths({"/usr/bin/quorvel", row.xdg, row.home, false}, files);
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
    const DataPaths paths = ResolveDataPaths({"/usr/bin/quorvel", "", "/home/u", false}, files);
    EXPECT_TRUE(SeedDataFolder(files, paths));
    EXPECT_EQ(files.files["/home/u/.config/quorvel/config.bin"], "factory config");
    EXPECT_EQ(files.files["/home/u/.config/quorvel/str.ini"], "mine");
    EXPECT_FALSE(files.exists("/home/u/.config/quorvel/record.ini")) << "no factory file, nothing made up";

    MemoryFileSystem full = files;
    full.files.erase("/home/u/.config/quorvel/config.bin");
    full.writeError = ENOSPC;
    EXPECT_FALSE(SeedDataFolder(full, paths));
}

TEST(DataFolder, SkinFolderIsTheFirstRootThatHoldsTheSkin) {
    MemoryFileSystem files;
    files.files["/usr/share/quorvel/Skins/Default/main.png"] = "png";
    files.files["/home/u/.config/quorvel/Skins/Mine/main.png"] = "png";
    const DataPaths paths = ResolveDataPaths({"/usr/bin/quorvel", "", "/home/u", false}, files);
    EXPECT_EQ(SkinFolder(paths, "Default", files), "/usr/share/quorvel/Skins/Default");
    EXPECT_EQ(SkinFolder(paths, "Mine", files), "/home/u/.config/quorvel/Skins/Mine");
    EXPECT_EQ(SkinFolder(paths, "Gone", files), "/home/u/.config/quorvel/Skins/Gone");
    EXPECT_EQ(SkinFolder(paths, "", files), "/home/u/.config/quorvel/Skins");
}

} // namespace
} // namespace quorvel
