#include <gtest/gtest.h>

#include <cerrno>
#include <set>

#include "config/config_file.h"
#include "support/memory_file_system.h"

namespace quorvel {
namespace {

using testing::MemoryFileSystem;

const std::filesystem::path kPath = "/data/config.bin";
const std::filesystem::path kProgram = "/data/quorvel";

std::string FileWith(Byte flag, Byte fill, std::size_t size = kConfigFileSize) {
    std::string bytes(size, static_cast<char>(fill));
    bytes[0] = static_cast<char>(flag);
    return bytes;
}

struct ConfigFileTest : ::testing::Test {
    MemoryFileSystem files;
    ConfigFile file{files, kPath, kProgram};
    DeviceConfig config = zeroDeviceConfig();
};

TEST_F(ConfigFileTest, LoadsFlagAndRecord) {
    files.files[kPath] = FileWith(0, 0x5A);
    EXPECT_EQ(file.LoadConfig(config), std::nullopt);
    EXPECT_EQ(file.firstRunFlag(), 0);
    EXPECT_EQ(config.bytes()[0], 0x5A);
    EXPECT_EQ(config.bytes()[2020], 0x5A);
}

// A file that is there but cannot be used says what is wrong with it, is
// kept as it is, and is no first run: the user's labels must not be replaced.
TEST_F(ConfigFileTest, LoadFailuresLeaveTheRecordAndTheFileAsTheyWere) {
    using Kind = FileError::Kind;
    const struct {
        const char* name;
        std::optional<std::string> content;
        std::set<std::filesystem::path> MemoryFileSystem::*trouble;
        FileError error;
        Byte firstRunFlag;
    } cases[] = {
        {"missing", std::nullopt, nullptr, {Kind::Missing, kPath, ENOENT}, 0},
        {"empty", std::string(), nullptr, {Kind::WrongSize, kPath, 0, 0}, 1},
        {"1 byte", FileWith(1, 0x11, 1), nullptr, {Kind::WrongSize, kPath, 0, 1}, 1},
        {"2020 bytes", FileWith(1, 0x11, 2020), nullptr, {Kind::WrongSize, kPath, 0, 2020}, 1},
        {"2021 bytes", FileWith(0, 0x11, 2021), nullptr, {Kind::WrongSize, kPath, 0, 2021}, 1},
        {"2023 bytes", FileWith(0, 0x11, 2023), nullptr, {Kind::WrongSize, kPath, 0, 2023}, 1},
        {"5000 bytes", FileWith(0, 0x11, 5000), nullptr, {Kind::WrongSize, kPath, 0, 5000}, 1},
        {"unreadable",
         FileWith(0, 0x11),
         &MemoryFileSystem::unreadable,
         {Kind::ReadFailed, kPath, EACCES},
         1},
        {"a folder", std::nullopt, &MemoryFileSystem::notFiles, {Kind::NotAFile, kPath}, 1},
        {"5 MB", FileWith(0, 0x11, 5 << 20), nullptr, {Kind::TooLarge, kPath, 0, 5 << 20}, 1},
    };
    for (const auto& row : cases) {
        MemoryFileSystem files;
        if (row.content) {
            files.files[kPath] = *row.content;
        }
        if (row.trouble != nullptr) {
            (files.*row.trouble).insert(kPath);
        }
        ConfigFile file(files, kPath, kProgram);
        DeviceConfig config = zeroDeviceConfig();
        config.reportRate = 4;
        EXPECT_EQ(file.LoadConfig(config), row.error) << row.name;
        EXPECT_EQ(config.reportRate, 4) << row.name;
        EXPECT_EQ(config.bytes()[0], 0) << row.name;
        EXPECT_EQ(file.firstRunFlag(), row.firstRunFlag) << row.name;
        EXPECT_EQ(files.writes, 0) << row.name;
        if (row.content) {
            EXPECT_EQ(files.files[kPath], *row.content) << row.name;
        }
    }
}

TEST_F(ConfigFileTest, SaveWritesFlagOneAndTheRecord) {
    files.files[kPath] = FileWith(0, 0);
    ASSERT_EQ(file.LoadConfig(config), std::nullopt);
    config.reportRate = 8;
    EXPECT_EQ(file.SaveConfig(config), std::nullopt);
    const std::string& saved = files.files[kPath];
    ASSERT_EQ(saved.size(), 2022u);
    EXPECT_EQ(saved[0], 1);
    EXPECT_EQ(saved[1 + 1925], 8);
    EXPECT_EQ(file.firstRunFlag(), 1);
}

TEST_F(ConfigFileTest, ADamagedFileIsReplacedByTheNextSave) {
    files.files[kPath] = FileWith(0, 0x11, 2020);
    ASSERT_TRUE(file.LoadConfig(config));
    EXPECT_EQ(file.SaveConfig(config), std::nullopt);
    EXPECT_EQ(files.files[kPath].size(), kConfigFileSize);
}

TEST_F(ConfigFileTest, SaveNeverCreatesTheFile) {
    EXPECT_EQ(file.SaveConfig(config), (FileError{FileError::Kind::Missing, kPath}));
    EXPECT_FALSE(files.exists(kPath));
}

TEST_F(ConfigFileTest, FailedSaveReturnsTheErrorAndKeepsTheOldFile) {
    for (const int error : {EACCES, ENOSPC, EROFS}) {
        MemoryFileSystem files;
        files.files[kPath] = FileWith(0, 0x33);
        files.writeError = error;
        ConfigFile file(files, kPath, kProgram);
        DeviceConfig config = zeroDeviceConfig();
        EXPECT_EQ(file.SaveConfig(config), (FileError{FileError::Kind::WriteFailed, kPath, error}));
        EXPECT_EQ(files.files[kPath], FileWith(0, 0x33)) << "the old file stays whole";
        EXPECT_EQ(file.firstRunFlag(), 0);
    }
}

TEST_F(ConfigFileTest, NeverWritesTheProgramItself) {
    files.files[kProgram] = "\x7f"
                            "ELF program";
    ConfigFile pointingAtProgram(files, kProgram, kProgram);
    EXPECT_EQ(pointingAtProgram.SaveConfig(config), (FileError{FileError::Kind::Refused, kProgram}));
    EXPECT_EQ(files.files[kProgram], "\x7f"
                                     "ELF program");
    EXPECT_EQ(files.writes, 0);
}

} // namespace
} // namespace quorvel
