#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cerrno>
#include <fstream>
#include <memory>
#include <thread>
#include <sys/stat.h>
#include <unistd.h>

#include "system/linux/local_file_system.h"

namespace quorvel {
namespace {

namespace fs = std::filesystem;

struct LocalFileSystemTest : ::testing::Test {
    fs::path folder;
    LocalFileSystem files;
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "quorvel-fs-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        folder = pattern;
    }
    void TearDown() override { fs::remove_all(folder); }
    static std::span<const std::uint8_t> Bytes(const std::string& s) {
        return {reinterpret_cast<const std::uint8_t*>(s.data()), s.size()};
    }
    std::string Read(const fs::path& path) const { return files.readAll(path).value_or("<error>"); }
};

TEST_F(LocalFileSystemTest, AtomicWriteReplacesTheFileAndLeavesNoTemporaryFile) {
    const fs::path file = folder / "config.bin";
    EXPECT_FALSE(files.exists(file));
    ASSERT_EQ(files.writeAtomically(file, Bytes("first")), std::nullopt);
    ASSERT_EQ(::chmod(file.c_str(), 0600), 0);
    ASSERT_EQ(files.writeAtomically(file, Bytes("second")), std::nullopt);
    EXPECT_EQ(Read(file), "second");
    EXPECT_EQ(fs::status(file).permissions() & fs::perms::all, fs::perms::owner_read | fs::perms::owner_write)
        << "the replaced file keeps its permissions";
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator{}), 1);
}

TEST_F(LocalFileSystemTest, WriteIntoAMissingFolderFailsWithItsErrorCode) {
    const fs::path file = folder / "no" / "config.bin";
    EXPECT_EQ(files.writeAtomically(file, Bytes("x")),
              (FileError{FileError::Kind::WriteFailed, file, ENOENT}));
    EXPECT_EQ(files.readAll(file).error(), (FileError{FileError::Kind::Missing, file, ENOENT}));
}

TEST_F(LocalFileSystemTest, CopyIfMissingKeepsAnExistingTarget) {
    ASSERT_EQ(files.writeAtomically(folder / "factory", Bytes("factory")), std::nullopt);
    ASSERT_EQ(files.copyIfMissing(folder / "factory", folder / "user" / "str.ini"), std::nullopt);
    EXPECT_EQ(Read(folder / "user" / "str.ini"), "factory");
    ASSERT_EQ(files.writeAtomically(folder / "user" / "str.ini", Bytes("mine")), std::nullopt);
    ASSERT_EQ(files.copyIfMissing(folder / "factory", folder / "user" / "str.ini"), std::nullopt);
    EXPECT_EQ(Read(folder / "user" / "str.ini"), "mine");
    EXPECT_EQ(files.copyIfMissing(folder / "absent", folder / "other"),
              (FileError{FileError::Kind::Missing, folder / "absent", ENOENT}));
}

// What people end up with in place of a data file: each is refused with
// what it is, at once, without reading it (a FIFO would hang the start, a
// link to /dev/zero would eat the memory).
TEST_F(LocalFileSystemTest, OnlyRegularFilesUpToTheCapAreRead) {
    using Kind = FileError::Kind;
    const fs::path fifo = folder / "fifo";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const fs::path zero = folder / "zero";
    fs::create_symlink("/dev/zero", zero);
    const fs::path subfolder = folder / "folder";
    fs::create_directory(subfolder);
    const fs::path large = folder / "large";
    {
        std::ofstream out(large, std::ios::binary);
        out.seekp(static_cast<std::streamoff>(kLargestDataFile));
        out.put('x');
    }
    const fs::path justFits = folder / "fits";
    {
        std::ofstream out(justFits, std::ios::binary);
        out << std::string(static_cast<std::size_t>(kLargestDataFile), ';');
    }
    const struct {
        fs::path path;
        Kind kind;
    } cases[] = {
        {fifo, Kind::NotAFile}, {zero, Kind::NotAFile}, {subfolder, Kind::NotAFile}, {large, Kind::TooLarge}};
    for (const auto& row : cases) {
        const auto read = files.readAll(row.path);
        ASSERT_FALSE(read) << row.path;
        EXPECT_EQ(read.error().kind, row.kind) << row.path;
        EXPECT_EQ(read.error().path, row.path);
    }
    EXPECT_EQ(files.readAll(large).error().size, kLargestDataFile + 1);
    EXPECT_EQ(files.readAll(justFits)->size(), kLargestDataFile);
}

// A str.ini linked into a dotfiles folder stays a link: the file it points
// at gets the new contents, and the temporary file lies beside that file.
TEST_F(LocalFileSystemTest, SavingThroughASymbolicLinkReplacesItsTarget) {
    fs::create_directory(folder / "dotfiles");
    const fs::path target = folder / "dotfiles" / "str.ini";
    ASSERT_EQ(files.writeAtomically(target, Bytes("old")), std::nullopt);
    fs::create_directory(folder / "data");
    const fs::path link = folder / "data" / "str.ini";
    fs::create_symlink("../dotfiles/str.ini", link);
    const fs::path chained = folder / "data" / "chained.ini";
    fs::create_symlink("str.ini", chained);

    ASSERT_EQ(files.writeAtomically(chained, Bytes("new")), std::nullopt);
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_TRUE(fs::is_symlink(chained));
    EXPECT_EQ(Read(target), "new");
    EXPECT_EQ(Read(link), "new");
    EXPECT_EQ(std::distance(fs::directory_iterator(folder / "data"), fs::directory_iterator{}), 2);
    EXPECT_EQ(std::distance(fs::directory_iterator(folder / "dotfiles"), fs::directory_iterator{}), 1);

    // A link whose target is not there yet creates it.
    const fs::path dangling = folder / "data" / "record.ini";
    fs::create_symlink("../dotfiles/record.ini", dangling);
    ASSERT_EQ(files.writeAtomically(dangling, Bytes("[Copy]\n")), std::nullopt);
    EXPECT_TRUE(fs::is_symlink(dangling));
    EXPECT_EQ(Read(folder / "dotfiles" / "record.ini"), "[Copy]\n");
}

TEST_F(LocalFileSystemTest, SubfoldersAreTheFoldersInsideOnly) {
    fs::create_directories(folder / "Default" / "inner");
    fs::create_directory(folder / "Ember");
    std::ofstream(folder / "loose.png") << "x";
    fs::create_directory_symlink(folder / "Ember", folder / "Linked");
    std::vector<std::string> names = files.subfolders(folder);
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"Default", "Ember", "Linked"}));
    EXPECT_TRUE(files.subfolders(folder / "missing").empty());
    EXPECT_TRUE(files.subfolders(folder / "loose.png").empty());
}

// The folder lock keeps a second holder (another process's open lock file
// behaves the same: flock locks belong to the open file) waiting until the
// first lets go.
TEST_F(LocalFileSystemTest, TheFolderLockWaitsForItsHolder) {
    std::unique_ptr<FolderLock> first = files.lockFolder(folder);
    ASSERT_TRUE(first);
    std::atomic<bool> taken = false;
    std::thread second([&] {
        LocalFileSystem other;
        const std::unique_ptr<FolderLock> lock = other.lockFolder(folder);
        taken = lock != nullptr;
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_FALSE(taken) << "taken while the first held it";
    first.reset();
    second.join();
    EXPECT_TRUE(taken);
    EXPECT_TRUE(fs::is_regular_file(folder / kFolderLockName));

    // A folder that cannot hold a lock file gives none, at once.
    EXPECT_FALSE(files.lockFolder(folder / "missing"));
    fs::remove(folder / kFolderLockName);
    fs::create_symlink(folder / "elsewhere", folder / kFolderLockName);
    EXPECT_FALSE(files.lockFolder(folder)) << "a link in the lock file's place is not followed";
    EXPECT_FALSE(fs::exists(folder / "elsewhere"));
}

TEST_F(LocalFileSystemTest, OnlyTheProgramsOwnStaleTemporaryFilesAreRemoved) {
    const fs::path file = folder / "config.bin";
    for (const char* name : {"config.bin.Ab12Cd", "config.bin.zzzzzz", "config.bin", "config.bin.keep",
                             "config.bin.Ab12Cd7", "config.bin.Ab-2Cd", "record.ini.Ab12Cd"}) {
        std::ofstream(folder / name) << "x";
    }
    fs::create_directory(folder / "config.bin.QWERTY");
    fs::create_symlink(folder / "config.bin.keep", folder / "config.bin.LINKED");
    files.removeStaleTemporaries(file);
    std::vector<std::string> left;
    for (const auto& entry : fs::directory_iterator(folder)) {
        left.push_back(entry.path().filename().string());
    }
    std::sort(left.begin(), left.end());
    EXPECT_EQ(left, (std::vector<std::string>{"config.bin", "config.bin.Ab-2Cd", "config.bin.Ab12Cd7",
                                              "config.bin.LINKED", "config.bin.QWERTY", "config.bin.keep",
                                              "record.ini.Ab12Cd"}));
}

} // namespace
} // namespace quorvel
