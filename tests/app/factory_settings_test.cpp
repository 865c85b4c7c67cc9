#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "app/factory_settings.h"
#include "assign/key_matrices.h"
#include "config/ini_file.h"
#include "config/str_ini.h"
#include "support/memory_file_system.h"

namespace quorvel {
namespace {

std::string Committed(const char* name) {
    std::ifstream in(std::string(QUORVEL_SOURCE_DIR) + "/res/factory/" + name, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

TEST(FactorySettings, CommittedFilesAreWhatTheToolMakes) {
    EXPECT_EQ(Committed("config.bin"), FactoryConfigBin()) << "run make_factory_files res/factory";
    EXPECT_EQ(Committed("str.ini"), FactoryStrIni()) << "run make_factory_files res/factory";
}

TEST(FactorySettings, ConfigBinIsANeverWrittenFileOfSensibleDefaults) {
    const std::string file = FactoryConfigBin();
    ASSERT_EQ(file.size(), 2022u);
    EXPECT_EQ(file[0], 0) << "first-run flag";

    const DeviceConfig c = FactoryDeviceConfig();
    EXPECT_EQ(c.reportRate, 1);
    for (int stage = 0; stage < 4; ++stage) {
        EXPECT_EQ(c.dpiStageEnabled[static_cast<std::size_t>(stage)], 1);
        if (stage > 0) {
            EXPECT_GT(c.dpiValueIndex[static_cast<std::size_t>(stage)],
                      c.dpiValueIndex[static_cast<std::size_t>(stage - 1)]);
        }
        EXPECT_LT(c.dpiValueIndex[static_cast<std::size_t>(stage)], 8) << "inside every sensor's list";
    }
    EXPECT_EQ(c.lightingMode, 1);
    EXPECT_EQ(c.standardBrightness, 9);
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(c.loopColourEnabled[static_cast<std::size_t>(i)], 1);
        for (int j = 0; j < i; ++j) {
            const Rgb a = c.loopColours[static_cast<std::size_t>(i)];
            const Rgb b = c.loopColours[static_cast<std::size_t>(j)];
            EXPECT_FALSE(a.red == b.red && a.green == b.green && a.blue == b.blue)
                << "colours " << i << ", " << j;
        }
    }
    EXPECT_EQ(c.mouseSpeed, 6);
    EXPECT_EQ(c.wheelScrollLines, 3);
    EXPECT_EQ(c.doubleClickSpeed, 6);
    // Both modes send the default buttons.
    const KeyMatrices matrices = BuildKeyMatrices(c);
    EXPECT_EQ(matrices[0], matrices[2]);
    EXPECT_EQ(std::vector<Byte>(matrices[0].begin(), matrices[0].begin() + 4),
              (std::vector<Byte>{0x01, 0x00, 0xF0, 0x00}));
}

TEST(FactorySettings, StrIniNamesTheDefaultSkinAndALightTextColour) {
    testing::MemoryFileSystem files;
    files.files["/f/str.ini"] = FactoryStrIni();
    const InterfaceSettings settings = StrIni(files, "/f/str.ini", "Setting-EN").ReadAll().value();
    EXPECT_EQ(settings.skin.path, "Default");
    EXPECT_GT(settings.skin.textColour.red + settings.skin.textColour.green + settings.skin.textColour.blue,
              600);
}

} // namespace
} // namespace quorvel
