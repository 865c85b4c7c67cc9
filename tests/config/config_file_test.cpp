#include <gtest/gtest.h>

#include <cerrno>

#include "config/config_file.h"
#include "support/memory_file_system.h"

namespace quorvel {
namespace {

using testing::MemoryFileSystem;
using testing::RecordingMessages;
using testing::ShownMessage;

const std::filesystem::path kPath = "/data/config.bin";
const std::filesystem::path kProgram = "/data/quorvel";

std::string FileWith(Byte flag, Byte fill, std::size_t size = kConfigFileSize) {
    std::string bytes(size, static_cast<char>(fill));
    bytes[0] = static_cast<char>(flag);
    return bytes;
}

struct ConfigFileTest : ::testing::Test {
    MemoryFileSystem files;
    RecordingMessages messages;
    ConfigFile file{files, messages, kPath, kProgram};
    DeviceConfig config = zeroDeviceConfig();
};

TEST_F(ConfigFileTest, LoadsFlagAndRecord) {
    files.files[kPath] = FileWith(0, 0x5A);
    EXPECT_EQ(file.LoadConfig(config), LoadResult::Loaded);
    EXPECT_EQ(file.firstRunFlag(), 0);
    EXPECT_EQ(config.bytes()[0], 0x5A);
    EXPECT_EQ(config.bytes()[2020], 0x5A);
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(ConfigFileTest, LoadFailuresLeaveTheRecordAsItWas) {
    const struct {
        const char* name;
        std::optional<std::string> content;
        bool unreadable;
        LoadResult result;
        std::vector<ShownMessage> shown;
    } cases[] = {
        {"missing",
         std::nullopt,
         false,
         LoadResult::Missing,
         {{"Config file is not exist.", std::string(kApplicationTitle)}}},
        {"2021 bytes", FileWith(1, 0x11, 2021), false, LoadResult::Unusable, {}},
        {"2023 bytes", FileWith(1, 0x11, 2023), false, LoadResult::Unusable, {}},
        {"empty", std::string(), false, LoadResult::Unusable, {}},
        {"unreadable", FileWith(1, 0x11), true, LoadResult::Unusable, {}},
    };
    for (const auto& row : cases) {
        MemoryFileSystem files;
        RecordingMessages messages;
        if (row.content) {
            files.files[kPath] = *row.content;
        }
        if (row.unreadable) {
            files.unreadable.insert(kPath);
        }
        ConfigFile file(files, messages, kPath, kProgram);
        DeviceConfig config = zeroDeviceConfig();
        config.reportRate = 4;
        EXPECT_EQ(file.LoadConfig(config), row.result) << row.name;
        EXPECT_EQ(config.reportRate, 4) << row.name;
        EXPECT_EQ(config.bytes()[0], 0) << row.name;
        EXPECT_EQ(messages.shown, row.shown) << row.name;
    }
}

TEST_F(ConfigFileTest, SaveWritesFlagOneAndTheRecord) {
    files.files[kPath] = FileWith(0, 0);
    ASSERT_EQ(file.LoadConfig(config), LoadResult::Loaded);
    config.reportRate = 8;
    EXPECT_EQ(file.SaveConfig(config), SaveResult::Saved);
    const std::string& saved = files.files[kPath];
    ASSERT_EQ(saved.size(), 2022u);
    EXPECT_EQ(saved[0], 1);
    EXPECT_EQ(saved[1 + 1925], 8);
    EXPECT_EQ(file.firstRunFlag(), 1);
}

TEST_F(ConfigFileTest, SaveNeverCreatesTheFile) {
    EXPECT_EQ(file.SaveConfig(config), SaveResult::Missing);
    EXPECT_FALSE(files.exists(kPath));
    EXPECT_EQ(messages.shown,
              (std::vector<ShownMessage>{{"Config file is not exist.", std::string(kApplicationTitle)}}));
}

TEST_F(ConfigFileTest, FailedSaveShowsTheErrorAndKeepsTheOldFile) {
    for (const int error : {EACCES, ENOSPC, EROFS}) {
        MemoryFileSystem files;
        RecordingMessages messages;
        files.files[kPath] = FileWith(0, 0x33);
        files.writeError = error;
        ConfigFile file(files, messages, kPath, kProgram);
        DeviceConfig config = zeroDeviceConfig();
        EXPECT_EQ(file.SaveConfig(config), SaveResult::WriteFailed);
        EXPECT_EQ(files.files[kPath], FileWith(0, 0x33)) << "the old file stays whole";
        EXPECT_EQ(file.firstRunFlag(), 0);
        EXPECT_EQ(messages.shown, (std::vector<ShownMessage>{
                                      {"Error Code is: " + std::to_string(error) + " \n", "NULL ==fp"}}));
    }
}

TEST_F(ConfigFileTest, NeverWritesTheProgramItself) {
    files.files[kProgram] = "\x7f"
                            "ELF program";
    ConfigFile pointingAtProgram(files, messages, kProgram, kProgram);
    EXPECT_EQ(pointingAtProgram.SaveConfig(config), SaveResult::Refused);
    EXPECT_EQ(files.files[kProgram], "\x7f"
                                     "ELF program");
    EXPECT_EQ(files.writes, 0);
}

} // namespace
} // namespace quorvel
