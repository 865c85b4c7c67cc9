#include <gtest/gtest.h>

#include "macro/macro_table.h"
#include "support/memory_file_system.h"

namespace quorvel {
namespace {

using Bytes = std::vector<Byte>;

// The pairs of a slot up to its first all-zero pair.
Bytes Pairs(const MacroSlot& slot) {
    Bytes out;
    for (std::size_t i = 2; i + 1 < slot.size() && (slot[i] != 0 || slot[i + 1] != 0); i += 2) {
        out.push_back(slot[i]);
        out.push_back(slot[i + 1]);
    }
    return out;
}

TEST(MacroTable, EncodesEventPairs) {
    const struct {
        const char* name;
        std::vector<std::string> lines;
        Bytes pairs;
    } cases[] = {
        {"recorded Copy",
         {"Ctrl   Dn", "50 ms", "C   Dn", "50 ms", "C   Up", "50 ms", "Ctrl   Up"},
         {0x05, 0xE0, 0x05, 0x06, 0x85, 0x06, 0x80, 0xE0}},
        {"release of A after 50 ms", {"A   Up", "50 ms"}, {0x85, 0x04}},
        {"1270 ms is the longest short pause", {"A   Dn", "1270 ms"}, {0x7F, 0x04}},
        {"1271 ms takes a long-pause pair", {"A   Dn", "1271 ms"}, {71, 0x04, 12, 0x03}},
        {"10000 ms", {"A   Up", "10000 ms"}, {0x80, 0x04, 100, 0x03}},
        {"the last event pauses 0", {"B   Dn"}, {0x00, 0x05}},
        {"mouse buttons", {"L-Button   Dn", "20 ms", "L-Button   Up"}, {0x02, 0xF0, 0x80, 0xF0}},
        {"unknown key names give code 0", {"Volume Up   Dn", "10 ms"}, {0x01, 0x00}},
        {"lines that are neither press nor release are skipped",
         {"junk", "A   Dn", "30 ms", "oops"},
         {0x03, 0x04}},
        {"a pause no pair can hold is held to the longest", {"A   Dn", "999999 ms"}, {99, 0x04, 255, 0x03}},
        {"a negative pause is no pause", {"A   Dn", "-50 ms", "A   Up"}, {0x00, 0x04, 0x80, 0x04}},
    };
    for (const auto& row : cases) {
        MacroSlot slot{};
        slot[0] = 0x01;
        slot[1] = 0x02;
        slot[120] = 0xEE; // old bytes are cleared
        const EncodeResult result = EncodeMacroEvents(row.lines, slot);
        EXPECT_EQ(Pairs(slot), row.pairs) << row.name;
        EXPECT_EQ(slot[120], 0) << row.name;
        EXPECT_EQ(MacroLoopCount(slot), 0x0102) << row.name << ": the loop count stays";
        EXPECT_EQ(result.eventsLeftOut, 0) << row.name;
    }
}

std::vector<std::string> Events(int count, const char* pause) {
    std::vector<std::string> lines;
    for (int i = 0; i < count; ++i) {
        lines.push_back(i % 2 == 0 ? "A   Dn" : "A   Up");
        lines.push_back(pause);
    }
    return lines;
}

TEST(MacroTable, AMacroTooLongForTheSlotIsCutAtTheLastWholePair) {
    MacroSlot slot{};
    EncodeResult result = EncodeMacroEvents(Events(70, "50 ms"), slot);
    EXPECT_EQ(result.eventsWritten, 63);
    EXPECT_EQ(result.eventsLeftOut, 7);
    EXPECT_EQ(slot[126], 0x05) << "the 63rd event, a press after 50 ms";
    EXPECT_EQ(slot[127], 0x04);

    // 62 short pairs use 124 bytes; the next event needs a long pause (4
    // bytes) and is left out whole rather than parted from its pause.
    std::vector<std::string> lines = Events(62, "50 ms");
    lines.push_back("B   Dn");
    lines.push_back("2000 ms");
    lines.push_back("B   Up");
    slot.fill(0);
    result = EncodeMacroEvents(lines, slot);
    EXPECT_EQ(result.eventsWritten, 62);
    EXPECT_EQ(result.eventsLeftOut, 2) << "nothing after the cut either";
    EXPECT_EQ(slot[126], 0);
    EXPECT_EQ(slot[127], 0);
}

struct RebuildTest : ::testing::Test {
    testing::MemoryFileSystem files;
    IniFile ini{files, "/d/record.ini"};
    DeviceConfig config = zeroDeviceConfig();
};

TEST_F(RebuildTest, SlotKFromTheKthSectionAndASlotWithoutAMacroIsCleared) {
    files.files["/d/record.ini"] =
        "[Copy]\nItemCount=7\nItem0=Ctrl   Dn\nItem1=50 ms\nItem2=C   Dn\nItem3=50 ms\n"
        "Item4=C   Up\nItem5=50 ms\nItem6=Ctrl   Up\n"
        "[Empty]\nItemCount=0\n";
    config.macroSlots[0][0] = 0x00;
    config.macroSlots[0][1] = 0x03;
    config.macroSlots[1].fill(0x77);
    config.macroSlots[2].fill(0x66);
    const RebuildResult result = RebuildMacroTable(ini, config);
    EXPECT_EQ(result.slotsFilled, 2);
    MacroSlot copy{};
    copy[1] = 0x03;
    const Byte pairs[] = {0x05, 0xE0, 0x05, 0x06, 0x85, 0x06, 0x80, 0xE0};
    std::copy(std::begin(pairs), std::end(pairs), copy.begin() + 2);
    EXPECT_EQ(config.macroSlots[0], copy);
    MacroSlot empty{};
    empty[0] = empty[1] = 0x77;
    EXPECT_EQ(config.macroSlots[1], empty) << "a macro without events keeps its loop count";
    for (std::size_t k = 2; k < config.macroSlots.size(); ++k) {
        EXPECT_EQ(config.macroSlots[k], MacroSlot{})
            << "slot " << k + 1 << " has no macro: nothing of it stays";
    }
}

TEST_F(RebuildTest, SectionsPastTheTwelfthAreIgnoredAndReported) {
    std::string text;
    for (int i = 0; i < 14; ++i) {
        text += "[M" + std::to_string(i) + "]\nItemCount=1\nItem0=A   Dn\n";
    }
    files.files["/d/record.ini"] = text;
    const DeviceConfig before = config;
    const RebuildResult result = RebuildMacroTable(ini, config);
    EXPECT_EQ(result.slotsFilled, 12);
    EXPECT_EQ(result.sectionsIgnored, 2);
    EXPECT_EQ(config.macroSlots[11][3], 0x04);
    // Nothing past the table changed.
    EXPECT_EQ(config.reserved1920, before.reserved1920);
    EXPECT_EQ(config.reportRate, before.reportRate);
}

TEST_F(RebuildTest, ReportsTheSlotsThatWereCut) {
    std::string text = "[Short]\nItemCount=1\nItem0=A   Dn\n[Long]\nItemCount=140\n";
    for (int i = 0; i < 140; ++i) {
        text += "Item" + std::to_string(i) + "=" + (i % 2 == 0 ? "A   Dn" : "10 ms") + "\n";
    }
    files.files["/d/record.ini"] = text;
    const RebuildResult result = RebuildMacroTable(ini, config);
    EXPECT_EQ(result.slotsCut, std::vector<int>{1});
    EXPECT_EQ(result.namesCut, std::vector<std::string>{"Long"});
}

// Lines taken from outside the panel: only what the list itself shows, and
// what reads back from record.ini as it was written.
TEST(MacroLines, OnlyEventsAndPausesAsTheListShowsThemAreTaken) {
    const struct {
        std::string line;
        MacroLineFault fault;
    } cases[] = {
        {"Ctrl   Dn", MacroLineFault::None},
        {"Right Shift   Up", MacroLineFault::None},
        {"[   Dn", MacroLineFault::None},
        {"L-Button   Up", MacroLineFault::None},
        {"virtual-key code :ff   Dn", MacroLineFault::None},
        {"0 ms", MacroLineFault::None},
        {"25599 ms", MacroLineFault::None},
        {"25600 ms", MacroLineFault::PauseTooLong},
        {"99999999999 ms", MacroLineFault::PauseTooLong},
        {"", MacroLineFault::NotAnEvent},
        {"Ctrl", MacroLineFault::NotAnEvent},
        {"Ctrl Dn", MacroLineFault::NotAnEvent},
        {"   Dn", MacroLineFault::NotAnEvent},
        {"A   Dn ", MacroLineFault::NotAnEvent},
        {"A   Dn   Up", MacroLineFault::NotAnEvent},
        {"A   Up   Up", MacroLineFault::NotAnEvent},
        {"50ms", MacroLineFault::NotAnEvent},
        {" ms", MacroLineFault::NotAnEvent},
        {"-50 ms", MacroLineFault::NotAnEvent},
        {" 50 ms", MacroLineFault::NotAnEvent},
        {"5 0 ms", MacroLineFault::NotAnEvent},
        {" A   Dn", MacroLineFault::KeyNameNotValid},
        {"A\t   Dn", MacroLineFault::KeyNameNotValid},
        {"A\x01   Dn", MacroLineFault::KeyNameNotValid},
        {"\xFF   Up", MacroLineFault::KeyNameNotValid},
        {std::string(32, 'k') + "   Dn", MacroLineFault::KeyNameNotValid},
        {std::string(31, 'k') + "   Dn", MacroLineFault::None},
    };
    for (const auto& row : cases) {
        EXPECT_EQ(CheckMacroLine(row.line), row.fault) << "'" << row.line << "'";
        if (row.fault == MacroLineFault::None) {
            IniDocument written;
            ASSERT_TRUE(written.setEntry("M", "Item0", row.line));
            EXPECT_EQ(IniDocument(written.text()).getString("M", "Item0"), row.line);
        }
    }
}

} // namespace
} // namespace quorvel
