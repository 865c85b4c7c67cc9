#include <gtest/gtest.h>

#include <cerrno>
#include <fstream>
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
};

TEST_F(LocalFileSystemTest, AtomicWriteReplacesTheFileAndLeavesNoTemporaryFile) {
    const fs::path file = folder / "config.bin";
    EXPECT_FALSE(files.exists(file));
    ASSERT_EQ(files.writeAtomically(file, Bytes("first")), 0);
    ASSERT_EQ(::chmod(file.c_str(), 0600), 0);
    ASSERT_EQ(files.writeAtomically(file, Bytes("second")), 0);
    EXPECT_EQ(files.readAll(file), "second");
    EXPECT_EQ(fs::status(file).permissions() & fs::perms::all, fs::perms::owner_read | fs::perms::owner_write)
        << "the replaced file keeps its permissions";
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator{}), 1);
}

TEST_F(LocalFileSystemTest, WriteIntoAMissingFolderFailsWithItsErrorCode) {
    EXPECT_EQ(files.writeAtomically(folder / "no" / "config.bin", Bytes("x")), ENOENT);
    EXPECT_FALSE(files.readAll(folder / "no" / "config.bin"));
}

TEST_F(LocalFileSystemTest, CopyIfMissingKeepsAnExistingTarget) {
    ASSERT_EQ(files.writeAtomically(folder / "factory", Bytes("factory")), 0);
    ASSERT_TRUE(files.copyIfMissing(folder / "factory", folder / "user" / "str.ini"));
    EXPECT_EQ(files.readAll(folder / "user" / "str.ini"), "factory");
    ASSERT_EQ(files.writeAtomically(folder / "user" / "str.ini", Bytes("mine")), 0);
    ASSERT_TRUE(files.copyIfMissing(folder / "factory", folder / "user" / "str.ini"));
    EXPECT_EQ(files.readAll(folder / "user" / "str.ini"), "mine");
    EXPECT_FALSE(files.copyIfMissing(folder / "absent", folder / "other"));
}

} // namespace
} // namespace quorvel
