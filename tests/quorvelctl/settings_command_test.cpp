// quorvelctl's show, get, set, export and import on a data folder in
// memory: what they write, what they print, and that a refused command
// changes no file.
#include <gtest/gtest.h>

#include <sstream>

#include "app/factory_settings.h"
#include "config/config_file.h"
#include "settings_command.h"
#include "support/memory_file_system.h"

namespace quorvel::ctl {
namespace {

const DataPaths kPaths = DataPathsIn("/data");
const DataPaths kOther = DataPathsIn("/other");

struct SettingsCommandTest : ::testing::Test {
    testing::MemoryFileSystem files;
    std::optional<Byte> sensor;
    int asked = 0;
    std::string out, err;

    SettingsCommandTest() {
        // The window has run once: labels in English and Simplified Chinese.
        files.files[kPaths.configBin] = "\x01" + std::string(FactoryConfigBin()).substr(1);
        files.files[kPaths.strIni] =
            "[Skins]\nPath=Default\n[Setting-EN]\nItem1=Left Click\n[Setting-CHS]\nItem1=左键\n";
        files.files[kPaths.recordIni] = "[Copy]\nItemCount=2\nItem0=C   Dn\nItem1=C   Up\n";
    }

    int Run(SettingsCommand command, const DataPaths& paths = kPaths, const std::string& input = {}) {
        std::istringstream in(input);
        std::ostringstream o, e;
        const int status = RunSettingsCommand(
            command, paths, files,
            [this] {
                ++asked;
                return sensor;
            },
            in, o, e);
        out = o.str();
        err = e.str();
        return status;
    }
    int Set(const std::string& name, const std::string& value) {
        return Run({SettingsCommand::Kind::Set, name, value, {}});
    }
    int Get(const std::string& name) { return Run({SettingsCommand::Kind::Get, name, {}, {}}); }
    Byte RecordByte(std::size_t offset) {
        return static_cast<Byte>(files.files[kPaths.configBin].at(1 + offset));
    }
};

TEST_F(SettingsCommandTest, SetStoresTheWindowsByteAndKeepsTheFirstRunFlagAndGetPrintsIt) {
    ASSERT_EQ(Set("report-rate", "500"), 0) << err;
    EXPECT_EQ(RecordByte(1925), 2) << "500 Hz is an interval of 2 ms";
    EXPECT_EQ(files.files[kPaths.configBin][0], '\x01');
    EXPECT_EQ(asked, 0) << "the mouse is asked only for a DPI";
    ASSERT_EQ(Get("report-rate"), 0);
    EXPECT_EQ(out, "500\n");

    ASSERT_EQ(Set("macro.Copy.loops", "300"), 0) << err;
    EXPECT_EQ(RecordByte(384), 0x01);
    EXPECT_EQ(RecordByte(385), 0x2C);
    EXPECT_EQ(files.locksHeld, 0);
    EXPECT_EQ(files.writesUnlocked, 0) << "every write under the folder's lock";
}

TEST_F(SettingsCommandTest, AButtonGetsItsLabelInEachLanguageTheFileKeeps) {
    ASSERT_EQ(Set("button.A.3", "Multimedia-Next"), 0) << err;
    const std::string strIni = files.files[kPaths.strIni];
    EXPECT_NE(strIni.find("[Setting-EN]\nItem1=Left Click\nItem2="), std::string::npos) << strIni;
    EXPECT_NE(strIni.find("Item3=Multimedia-Next\n"), std::string::npos) << strIni;
    EXPECT_NE(strIni.find("Item3=多媒体-下一首\n"), std::string::npos) << strIni;
    EXPECT_EQ(strIni.find("Setting-CHT"), std::string::npos) << strIni;
    ASSERT_EQ(Get("button.A.3"), 0);
    EXPECT_EQ(out, "Multimedia-Next\n");
}

TEST_F(SettingsCommandTest, ADpiIsTheSensorsAndTheMouseIsAskedForIt) {
    EXPECT_EQ(Set("dpi.2", "1600"), 1);
    EXPECT_EQ(err,
              "quorvelctl: dpi.2: the DPI values depend on the mouse's sensor: connect the mouse or give "
              "--sensor-type N\n");
    sensor = 3;
    ASSERT_EQ(Set("dpi.2", "1600"), 0) << err;
    EXPECT_EQ(RecordByte(1928), 3) << "the fourth of 400, 800, 1200, 1600";
    ASSERT_EQ(Get("dpi.2"), 0);
    EXPECT_EQ(out, "1600\n");
}

TEST_F(SettingsCommandTest, ARefusedSetPrintsOneLineExitsOneAndChangesNoFile) {
    const struct {
        std::string name;
        std::string value;
        std::string message;
    } cases[] = {
        {"report-rate", "300", "quorvelctl: report-rate: '300' is no report rate (125, 250, 500 or 1000)\n"},
        {"report_rate", "500", "quorvelctl: 'report_rate' is no setting (see quorvelctl --help)\n"},
        {"button.A.1", "Key Off", "quorvelctl: button.A.1: Left key must be selected!\n"},
        {"button.A.13", "Key Off", "quorvelctl: 'button.A.13' is no setting (see quorvelctl --help)\n"},
        {"macro.Paste.loops", "2", "quorvelctl: 'macro.Paste.loops' is no setting (see quorvelctl --help)\n"},
        {"lighting.colour.9", "#000000",
         "quorvelctl: 'lighting.colour.9' is no setting (see quorvelctl --help)\n"},
    };
    const auto before = files.files;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Set(c.name, c.value), 1);
        EXPECT_EQ(err, c.message);
        EXPECT_EQ(files.files, before);
    }
    files.writeError = ENOSPC;
    EXPECT_EQ(Set("report-rate", "250"), 1);
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
    EXPECT_EQ(files.files, before);
}

TEST_F(SettingsCommandTest, ShowListsEverySettingAndTheLabels) {
    sensor = 1;
    ASSERT_EQ(Run({SettingsCommand::Kind::Show, {}, {}, {}}), 0) << err;
    for (const std::string_view line :
         {"report-rate = 1000\n", "dpi.1 = 800\n", "dpi.4.colour.4 = off\n", "button.B.12 = Key Off\n",
          "lighting.mode = Standard Mode\n", "pointer.scroll-one-screen = off\n", "macro.Copy.loops = ?\n",
          "label.zh-cn.A.1 = 左键\n", "# ?: the bytes hold no value the window shows\n"}) {
        EXPECT_NE(out.find(line), std::string::npos) << line << out;
    }
}

TEST_F(SettingsCommandTest, ExportThenImportIntoAnotherFolderGivesTheSameFiles) {
    sensor = 2;
    ASSERT_EQ(Run({SettingsCommand::Kind::Export, {}, {}, "/profile.txt"}), 0) << err;
    const std::string profile = files.files["/profile.txt"];
    ASSERT_TRUE(profile.starts_with("quorvel-profile 1\n")) << profile;
    ASSERT_EQ(Run({SettingsCommand::Kind::Export, {}, {}, "-"}), 0) << err;
    EXPECT_EQ(out, profile);

    ASSERT_EQ(Run({SettingsCommand::Kind::Import, {}, {}, "-"}, kOther, profile), 0) << err;
    EXPECT_EQ(files.files[kOther.configBin], files.files[kPaths.configBin]);
    EXPECT_EQ(files.files[kOther.recordIni], files.files[kPaths.recordIni]);
    EXPECT_NE(files.files[kOther.strIni].find("[Setting-CHS]\nItem1=左键\n"), std::string::npos);
}

TEST_F(SettingsCommandTest, ADamagedProfileNamesItsLineAndChangesNoFile) {
    sensor = 1;
    ASSERT_EQ(Run({SettingsCommand::Kind::Export, {}, {}, "/good.txt"}), 0) << err;
    std::string bad = files.files["/good.txt"];
    bad.replace(bad.find("pointer.speed = 6"), 17, "pointer.speed = 0");
    files.files["/bad.txt"] = bad;
    const auto before = files.files;
    EXPECT_EQ(Run({SettingsCommand::Kind::Import, {}, {}, "/bad.txt"}), 1);
    EXPECT_TRUE(err.starts_with("quorvelctl: /bad.txt line ")) << err;
    EXPECT_NE(err.find(": pointer.speed: '0' is not one of 1, 2"), std::string::npos) << err;
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1);
    EXPECT_EQ(files.files, before);

    EXPECT_EQ(Run({SettingsCommand::Kind::Import, {}, {}, "/missing.txt"}), 1);
    EXPECT_EQ(err, "quorvelctl: /missing.txt: no such file\n");
}

} // namespace
} // namespace quorvel::ctl
