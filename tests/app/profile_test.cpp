// Profiles: a data folder written out and put back elsewhere is the same
// folder, byte for byte; a damaged profile is refused by its line and
// changes nothing.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "app/factory_settings.h"
#include "app/profile.h"
#include "config/ini_file.h"
#include "macro/macro_library.h"
#include "support/memory_file_system.h"

namespace quorvel {
namespace {

const DataPaths kFrom = DataPathsIn("/from");
const DataPaths kTo = DataPathsIn("/to");

// Values the window gives a button, some of each kind.
const std::vector<std::string> kButtonValues = {"Left Click",
                                                "Right Click",
                                                "Triple-click",
                                                "DPI +",
                                                "DPI Loop",
                                                "RGB On/Off",
                                                "Browser-Home",
                                                "Multimedia-Mute",
                                                "Fire Key-F3, speed 5, times 0",
                                                "Single Key-Num 5",
                                                "Combo Key-Left Win+Tab",
                                                "Combo Key-A+B",
                                                "Macro Key-复制, repeat 2",
                                                "Shift",
                                                "Key Off"};

// Three macros named in the three languages, with long pauses and mouse buttons.
const std::vector<ProfileMacro> kMacros = {
    {"Copy", {"Ctrl   Dn", "50 ms", "C   Dn", "50 ms", "C   Up", "50 ms", "Ctrl   Up"}},
    {"复制", {"L-Button   Dn", "1271 ms", "L-Button   Up"}},
    {"複製貼上", {"Right Shift   Dn", "10000 ms", "Right Shift   Up", "0 ms"}},
};

std::string RecordIni(const std::vector<ProfileMacro>& macros) {
    IniDocument document;
    for (const ProfileMacro& macro : macros) {
        std::vector<IniEntry> entries{{"ItemCount", std::to_string(macro.events.size())}};
        for (std::size_t i = 0; i < macro.events.size(); ++i) {
            entries.push_back({"Item" + std::to_string(i), macro.events[i]});
        }
        document.replaceSection(macro.name, entries);
    }
    return document.text();
}

std::string ConfigBin(Byte flag, const DeviceConfig& config) {
    return std::string(1, static_cast<char>(flag)) +
           std::string(config.bytes().begin(), config.bytes().end());
}

// A record of random bytes whose settings mostly hold values the window
// shows, so that both the names and the hex lines are exercised.
DeviceConfig GeneratedRecord(std::mt19937& random, const SettingContext& context) {
    DeviceConfig config = zeroDeviceConfig();
    for (Byte& byte : config.bytes()) {
        byte = static_cast<Byte>(random());
    }
    const auto pick = [&](std::size_t count) { return static_cast<std::size_t>(random() % count); };
    for (const NamedSetting& setting : NamedSettings(context)) {
        if (pick(5) == 0) {
            continue; // left as random bytes
        }
        if (setting.name.starts_with("button.")) {
            setting.encode(kButtonValues[pick(kButtonValues.size())], context, config);
        }
    }
    config.reportRate = std::array<Byte, 4>{1, 2, 4, 8}[pick(4)];
    for (Byte& index : config.dpiValueIndex) {
        index = static_cast<Byte>(pick(10)); // now and then past the sensor's eight
    }
    for (Byte& enabled : config.dpiStageEnabled) {
        enabled = static_cast<Byte>(pick(2));
    }
    config.lightingMode = static_cast<Byte>(pick(4));
    config.standardBrightness = static_cast<Byte>(pick(10));
    config.mouseSpeed = static_cast<Byte>(pick(12));
    config.selectedButtonSet = static_cast<Byte>(pick(2));
    for (MacroSlot& slot : config.macroSlots) {
        slot[0] = static_cast<Byte>(pick(3));
    }
    return config;
}

struct ProfileTest : ::testing::Test {
    testing::MemoryFileSystem files;
    std::string strIni = "[Skins]\nPath=Ember\n[Setting-EN]\nItem1=Left Click\nItem13=Copy it\n"
                         "[Setting-CHS]\nItem1=左键\nItem2=复制\n[Setting-CHT]\nItem123=複製貼上\n";

    void SetFrom(Byte flag, const DeviceConfig& config) {
        files.files[kFrom.configBin] = ConfigBin(flag, config);
        files.files[kFrom.strIni] = strIni;
        files.files[kFrom.recordIni] = RecordIni(kMacros);
    }
};

TEST_F(ProfileTest, ExportThenImportElsewhereGivesTheSameFilesForManyRecords) {
    std::mt19937 random(20261210);
    const SettingContext context{Byte{1}, {"Copy", "复制", "複製貼上"}};
    for (int round = 0; round < 200; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        const Byte flag = static_cast<Byte>(round % 2);
        SetFrom(flag, GeneratedRecord(random, context));
        files.files.erase(kTo.configBin);
        files.files[kTo.strIni] = "[Skins]\nPath=Default\n[Setting-EN]\nItem5=old\n";
        files.files.erase(kTo.recordIni);
        // Now with the sensor known, now without: the DPI go by value or as bytes.
        const std::optional<Byte> sensor =
            round % 3 == 0 ? std::nullopt : std::optional<Byte>(Byte(round % 5));

        auto from = ReadDataFolderProfile(files, kFrom, sensor);
        ASSERT_TRUE(std::holds_alternative<Profile>(from)) << std::get<std::string>(from);
        const std::string text = WriteProfile(std::get<Profile>(from));
        auto read = ReadProfile(text);
        ASSERT_TRUE(std::holds_alternative<Profile>(read))
            << "line " << std::get<ProfileFault>(read).line << ": " << std::get<ProfileFault>(read).message;
        ASSERT_EQ(WriteDataFolderProfile(files, kTo, std::get<Profile>(read)), std::nullopt);

        EXPECT_EQ(files.files[kTo.configBin], files.files[kFrom.configBin]);
        const IniDocument record(files.files[kTo.recordIni]);
        ASSERT_EQ(ReadMacroNames(record).names, (std::vector<std::string>{"Copy", "复制", "複製貼上"}));
        for (const ProfileMacro& macro : kMacros) {
            EXPECT_EQ(ReadMacroEvents(record, macro.name), macro.events);
        }
        const IniDocument labelsFrom(files.files[kFrom.strIni]);
        const IniDocument to(files.files[kTo.strIni]);
        for (const std::string_view section : {"Setting-EN", "Setting-CHS", "Setting-CHT"}) {
            for (int mode = 0; mode < 2; ++mode) {
                for (int button = 0; button < kButtonCount; ++button) {
                    EXPECT_EQ(to.getString(section, LabelKey(mode, button)),
                              labelsFrom.getString(section, LabelKey(mode, button)));
                }
            }
        }
        EXPECT_EQ(to.getString("Skins", "Path"), "Default") << "the skin is the machine's";
        if (round == 0) {
            EXPECT_NE(text.find("\nreport-rate = "), std::string::npos) << text;
            EXPECT_NE(text.find("\nbytes "), std::string::npos) << "the unnamed bytes, with their offset";
            EXPECT_NE(text.find("\nlabel.zh-cn.A.2 = 复制\n"), std::string::npos);
            EXPECT_NE(text.find("\nmacro = 複製貼上\nevent = Right Shift   Dn\n"), std::string::npos);
        }
    }
}

TEST_F(ProfileTest, TheFactoryRecordIsWrittenByNameWhereTheWindowHasNames) {
    SetFrom(1, FactoryDeviceConfig());
    const std::string text = WriteProfile(std::get<Profile>(ReadDataFolderProfile(files, kFrom, Byte{3})));
    EXPECT_TRUE(text.starts_with("quorvel-profile 1\n"));
    for (const std::string_view line :
         {"\nfirst-run = 1\n", "\nsensor-type = 3\n", "\nbutton.A.6 = DPI +\n",
          "\nlighting.colour.1 = #ff0000\n", "\nmacro = Copy\nevent = Ctrl   Dn\n", "\nend\n"}) {
        EXPECT_NE(text.find(line), std::string::npos) << line;
    }
}

// A good profile to damage: the factory folder with two macros.
std::string GoodProfile() {
    Profile profile;
    profile.firstRunFlag = 1;
    profile.config = FactoryDeviceConfig();
    profile.config.macroSlots[0][1] = 3; // Copy plays three times
    profile.sensorType = 1;
    profile.macros = {kMacros[0], kMacros[1]};
    return WriteProfile(profile);
}

std::string Replaced(std::string text, const std::string& from, const std::string& to) {
    const std::size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    return text.replace(at, from.size(), to);
}

int LineOf(const std::string& text, const std::string& part) {
    const std::size_t at = text.find(part);
    return 1 +
           static_cast<int>(std::count(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(at), '\n'));
}

TEST_F(ProfileTest, ADamagedProfileIsRefusedByTheLineAtFault) {
    const std::string good = GoodProfile();
    const std::string half = good.substr(0, good.size() / 2);
    const int lines = static_cast<int>(std::count(good.begin(), good.end(), '\n'));
    const struct {
        std::string what;
        std::string text;
        int line;
        std::string says;
    } cases[] = {
        {"cut in half", half, static_cast<int>(std::count(half.begin(), half.end(), '\n')) + 1, "ends early"},
        {"empty", "", 1, "empty"},
        {"a newer format", Replaced(good, "quorvel-profile 1", "quorvel-profile 2"), 1, "format 2"},
        {"no profile", "[Copy]\nItemCount=0\n", 1, "not a Quorvel profile"},
        {"a line that is no setting", Replaced(good, "report-rate = 1000", "report-speed = 1000"),
         LineOf(good, "report-rate"), "'report-speed' is no setting"},
        {"a value out of range", Replaced(good, "report-rate = 1000", "report-rate = 300"),
         LineOf(good, "report-rate"), "no report rate"},
        {"a DPI not of the sensor", Replaced(good, "dpi.1 = 800", "dpi.1 = 750"), LineOf(good, "dpi.1 ="),
         "not a DPI"},
        {"a setting twice", Replaced(good, "report-rate = 1000\n", "report-rate = 1000\nreport-rate = 500\n"),
         LineOf(good, "report-rate") + 1, "given twice"},
        {"no name = value", Replaced(good, "pointer.speed = 6", "pointer.speed 6"),
         LineOf(good, "pointer.speed"), "no 'name = value' line"},
        {"a byte that is no hex", Replaced(good, "bytes 2019 = 00", "bytes 2019 = 0g"),
         LineOf(good, "bytes 2019"), "'0g' is no byte"},
        {"bytes past the record", Replaced(good, "bytes 2019 = 00 00", "bytes 2019 = 00 00 00"),
         LineOf(good, "bytes 2019"), "past the end"},
        {"a byte missing", Replaced(good, "bytes 2019 = 00 00", "bytes 2019 = 00"), lines, "byte 2020"},
        {"a macro name the file cannot keep", Replaced(good, "macro = Copy", "macro = Co]py"),
         LineOf(good, "macro = Copy"), "macro name"},
        {"an event that is none", Replaced(good, "event = C   Dn", "event = C   Down"),
         LineOf(good, "C   Dn"), "is no event"},
        {"a loop count of a macro not there", Replaced(good, "macro.Copy.loops", "macro.Paste.loops"),
         LineOf(good, "macro.Copy.loops"), "is no setting"},
        {"a line after the end", good + "report-rate = 500\n", lines + 1, "after the 'end'"},
        {"a label of no button", Replaced(good, "end\n", "label.en.C.1 = x\nend\n"), lines,
         "is no button label"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const auto read = ReadProfile(c.text);
        ASSERT_TRUE(std::holds_alternative<ProfileFault>(read));
        const ProfileFault& fault = std::get<ProfileFault>(read);
        EXPECT_EQ(fault.line, c.line) << fault.message;
        EXPECT_NE(fault.message.find(c.says), std::string::npos) << fault.message;
        EXPECT_EQ(fault.message.find('\n'), std::string::npos) << "one line";
    }
    // The same with Windows line ends and a byte-order mark is read.
    std::string windows = "\xEF\xBB\xBF";
    for (const char c : good) {
        windows += c == '\n' ? std::string("\r\n") : std::string(1, c);
    }
    EXPECT_TRUE(std::holds_alternative<Profile>(ReadProfile(windows)));
}

TEST_F(ProfileTest, WhenAFileCannotBeWrittenTheOnesWrittenBeforeArePutBack) {
    SetFrom(0, FactoryDeviceConfig());
    const auto before = files.files;
    Profile profile = std::get<Profile>(ReadProfile(GoodProfile()));
    files.fullFor.insert(kFrom.strIni);
    const std::optional<std::string> failed = WriteDataFolderProfile(files, kFrom, profile);
    ASSERT_TRUE(failed);
    EXPECT_EQ(files.files, before);
}

} // namespace
} // namespace quorvel
