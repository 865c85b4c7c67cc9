#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <memory>
#include <thread>
#include <windows.h>

#include "config/data_folder.h"
#include "system/windows/program_environment.h"
#include "system/windows/system_info.h"
#include "system/windows/windows_file_system.h"

namespace quorvel {
namespace {

namespace fs = std::filesystem;

struct WindowsFileSystemTest : ::testing::Test {
    fs::path folder;
    WindowsFileSystem files;
    void SetUp() override {
        folder =
            fs::temp_directory_path() / ("quorvel-fs-" + std::to_string(::GetCurrentProcessId()) + "-" +
                                         ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(folder);
        ASSERT_TRUE(fs::create_directories(folder));
    }
    void TearDown() override { fs::remove_all(folder); }
    static std::span<const std::uint8_t> Bytes(const std::string& s) {
        return {reinterpret_cast<const std::uint8_t*>(s.data()), s.size()};
    }
};

TEST_F(WindowsFileSystemTest, AtomicWriteReplacesTheFileAndLeavesNoTemporaryFile) {
    const fs::path file = folder / "config.bin";
    EXPECT_FALSE(files.exists(file));
    EXPECT_FALSE(files.stamp(file));
    ASSERT_FALSE(files.writeAtomically(file, Bytes("first")));
    const auto first = files.stamp(file);
    ASSERT_TRUE(first);
    EXPECT_EQ(first->size, 5u);
    const std::string big(100000, '\x7f'); // more than one read of readAll
    ASSERT_FALSE(files.writeAtomically(file, Bytes(big)));
    EXPECT_EQ(files.readAll(file).value_or(""), big);
    EXPECT_EQ(files.stamp(file)->size, big.size());
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator{}), 1);
    EXPECT_FALSE(files.exists(folder)) << "a folder is not a file";
}

// The folder lock keeps a second holder waiting until the first lets go.
TEST_F(WindowsFileSystemTest, TheFolderLockWaitsForItsHolder) {
    std::unique_ptr<FolderLock> first = files.lockFolder(folder);
    ASSERT_TRUE(first);
    std::atomic<bool> taken = false;
    std::thread second([&] {
        WindowsFileSystem other;
        const std::unique_ptr<FolderLock> lock = other.lockFolder(folder);
        taken = lock != nullptr;
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_FALSE(taken) << "taken while the first held it";
    first.reset();
    second.join();
    EXPECT_TRUE(taken);
    EXPECT_FALSE(files.lockFolder(folder / "missing"));
}

TEST_F(WindowsFileSystemTest, OnlyTheProgramsOwnStaleTemporaryFilesAreRemoved) {
    for (const char* name : {"config.bin.12.345.tmp", "config.bin", "config.bin.keep", "config.bin.12.tmp",
                             "config.bin.1x.2.tmp", "record.ini.12.345.tmp"}) {
        ASSERT_FALSE(files.writeAtomically(folder / name, Bytes("x")));
    }
    fs::create_directory(folder / "config.bin.7.8.tmp");
    files.removeStaleTemporaries(folder / "config.bin");
    std::vector<std::string> left;
    for (const auto& entry : fs::directory_iterator(folder)) {
        left.push_back(entry.path().filename().string());
    }
    std::sort(left.begin(), left.end());
    EXPECT_EQ(left, (std::vector<std::string>{"config.bin", "config.bin.12.tmp", "config.bin.1x.2.tmp",
                                              "config.bin.7.8.tmp", "config.bin.keep", "record.ini.12.345.tmp"}));
}

TEST_F(WindowsFileSystemTest, WriteIntoAMissingFolderFailsWithItsErrorCode) {
    const auto failed = files.writeAtomically(folder / "no" / "config.bin", Bytes("x"));
    ASSERT_TRUE(failed);
    EXPECT_EQ(failed->kind, FileError::Kind::WriteFailed);
    EXPECT_EQ(failed->code, ENOENT);
    EXPECT_FALSE(files.readAll(folder / "no" / "config.bin"));
}

TEST_F(WindowsFileSystemTest, WriteOverAFolderFailsAndKeepsIt) {
    fs::create_directory(folder / "config.bin");
    EXPECT_TRUE(files.writeAtomically(folder / "config.bin", Bytes("x")));
    EXPECT_EQ(files.readAll(folder / "config.bin").error().kind, FileError::Kind::NotAFile);
    EXPECT_TRUE(fs::is_directory(folder / "config.bin"));
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator{}), 1)
        << "the temporary file is removed";
}

TEST_F(WindowsFileSystemTest, CopyIfMissingKeepsAnExistingTarget) {
    ASSERT_FALSE(files.writeAtomically(folder / "factory", Bytes("factory")));
    ASSERT_FALSE(files.copyIfMissing(folder / "factory", folder / "user" / "str.ini"));
    EXPECT_EQ(files.readAll(folder / "user" / "str.ini").value_or(""), "factory");
    ASSERT_FALSE(files.writeAtomically(folder / "user" / "str.ini", Bytes("mine")));
    ASSERT_FALSE(files.copyIfMissing(folder / "factory", folder / "user" / "str.ini"));
    EXPECT_EQ(files.readAll(folder / "user" / "str.ini").value_or(""), "mine");
    const auto missing = files.copyIfMissing(folder / "absent", folder / "other");
    ASSERT_TRUE(missing);
    EXPECT_EQ(missing->kind, FileError::Kind::Missing);
}

TEST_F(WindowsFileSystemTest, NonAsciiNamesSurviveTheWideCalls) {
    const fs::path file = folder / fs::path(L"\u9f20\u6807") / "str.ini";
    fs::create_directories(file.parent_path());
    ASSERT_FALSE(files.writeAtomically(file, Bytes("x")));
    EXPECT_TRUE(fs::exists(file));
    EXPECT_EQ(files.readAll(file).value_or(""), "x");
}

// A skin folder named outside ASCII is offered and found by the name str.ini
// keeps for it, in UTF-8, through the real file system.
TEST_F(WindowsFileSystemTest, ASkinNamedOutsideAsciiIsListedAndFound) {
    const fs::path skins = folder / fs::path(L"Zo\u00eb") / "Skins";
    for (const wchar_t* skin : {L"Default", L"Bl\u00e5", L"\u76ae\u80a4"}) {
        fs::create_directories(skins / skin);
        ASSERT_FALSE(files.writeAtomically(skins / skin / "main.png", Bytes("png")));
    }
    const SkinCheck any = [](const fs::path&) { return true; };
    const std::vector<SkinFolder> listed = ListSkinFolders({skins}, files, any);
    EXPECT_EQ(listed, (std::vector<SkinFolder>{{"Bl\xC3\xA5", skins / L"Bl\u00e5"},
                                               {"Default", skins / L"Default"},
                                               {"\xE7\x9A\xAE\xE8\x82\xA4", skins / L"\u76ae\u80a4"}}));
    const SkinLookup found = FindSkinFolder(DataPathsIn(skins.parent_path()), "Bl\xC3\xA5", files, any);
    EXPECT_EQ(found.folder, skins / L"Bl\u00e5");
    EXPECT_EQ(found.unusable, std::nullopt);
}

TEST(WindowsErrors, MapToTheErrnoValuesCallersTell) {
    const struct {
        unsigned long windows;
        int expected;
    } cases[] = {{ERROR_SUCCESS, 0},
                 {ERROR_DISK_FULL, ENOSPC},
                 {ERROR_HANDLE_DISK_FULL, ENOSPC},
                 {ERROR_ACCESS_DENIED, EACCES},
                 {ERROR_PATH_NOT_FOUND, ENOENT},
                 {ERROR_INVALID_FUNCTION, EIO}};
    for (const auto& c : cases) {
        EXPECT_EQ(ErrnoFromWindowsError(c.windows), c.expected) << c.windows;
    }
}

TEST(DataFolderOnWindows, TheFilesLieBesideTheExecutable) {
    const fs::path program = ExecutablePath();
    ASSERT_TRUE(fs::exists(program)) << program;
    EXPECT_EQ(program.filename(), "test_system_windows.exe");
    WindowsFileSystem files;
    const DataPaths paths = ResolveDataPaths(ThisProgramEnvironment(), files);
    EXPECT_TRUE(paths.portable);
    EXPECT_EQ(paths.configBin, program.parent_path() / "config.bin");
    EXPECT_EQ(paths.recordIni, program.parent_path() / "record.ini");
}

} // namespace
} // namespace quorvel
