#include "dialogs/dialog_fixture.h"
#include "dialogs/macro_dialog.h"

namespace quorvel {
namespace {

using namespace quorvel::testing;

const std::filesystem::path kRecordIni = "/data/record.ini";
constexpr int kName = kMacroKeyDialog.macro.display.id;
constexpr int kList = kMacroKeyDialog.macro.list.id;
const Point kOk = Inside(kDialogSkeleton.ok.rect);

std::string Sections(const std::vector<std::string>& names) {
    std::string text;
    for (const std::string& name : names) {
        text += "[" + name + "]\nItemCount=1\nItem0=A   Dn\n";
    }
    return text;
}

struct MacroDialogTest : DialogTest {
    CMacroDialog dialog{window, context(), IniFile(files, kRecordIni)};
    MacroDialogTest() { dialog.Initialise(); }

    std::vector<std::string> OpenList() {
        dialog.OnLeftButtonDown(Entry(kMacroKeyDialog.macro));
        return window.controlExists(kList) ? window.items(kList) : std::vector<std::string>{};
    }
    // The tick box each mode shows last.
    std::map<int, std::string> TickBoxes() const {
        std::map<int, std::string> shown;
        for (const std::string& op : window.picture.ops) {
            for (int mode = 1; mode <= 3; ++mode) {
                const Point at = kMacroKeyDialog.modeBox(mode).topLeft();
                const std::string where = " at " + std::to_string(at.x) + "," + std::to_string(at.y);
                if (op.size() > where.size() &&
                    op.compare(op.size() - where.size(), where.size(), where) == 0) {
                    shown[mode] = op.substr(6, op.size() - 6 - where.size());
                }
            }
        }
        return shown;
    }
};

TEST_F(MacroDialogTest, OkUntouchedGivesPositionZeroModeOneAndNoName) {
    dialog.Paint();
    EXPECT_EQ(TickBoxes(),
              (std::map<int, std::string>{{1, "PaneMakingTick.png"}, {2, "Pane.png"}, {3, "Pane.png"}}));
    EXPECT_EQ(window.controlText(kName), "");
    dialog.OnLeftButtonDown(kOk);
    EXPECT_EQ(window.ended, true);
    EXPECT_EQ(dialog.result().position, 0);
    EXPECT_EQ(dialog.result().repeatMode, 1);
    EXPECT_EQ(dialog.result().name, "");
}

TEST_F(MacroDialogTest, DrawsThePromptAndTheWrappedModeTexts) {
    dialog.Paint();
    EXPECT_TRUE(window.picture.drew("text Please select a macro in 13,113"));
    EXPECT_TRUE(
        window.picture.drew("wrapped Repeat a specified number of times or press any key to end in 237,70"));
    EXPECT_TRUE(window.picture.drew("wrapped Repeat until press any key to end in 237,120"));
    EXPECT_TRUE(window.picture.drew("wrapped Repeat until the key is released in 237,170"));
}

TEST_F(MacroDialogTest, TheThirdOfThreeMacros) {
    files.files[kRecordIni] = Sections({"Copy", "Paste", "Burst"});
    EXPECT_EQ(OpenList(), (std::vector<std::string>{"Copy", "Paste", "Burst"}));
    EXPECT_EQ(window.controls.at(kList).box, (Rect{43, 146, 151, 285}));
    dialog.OnListHover(kList, 1);
    EXPECT_EQ(window.controls.at(kList).highlighted, 1);
    dialog.OnListChosen(kList, 2);
    EXPECT_FALSE(window.controlExists(kList));
    EXPECT_EQ(window.controlText(kName), "Burst");
    dialog.OnLeftButtonDown(kOk);
    EXPECT_EQ(dialog.result().position, 2);
    EXPECT_EQ(dialog.result().name, "Burst");
}

TEST_F(MacroDialogTest, ExactlyOneModeIsTicked) {
    dialog.Paint();
    dialog.OnLeftButtonDown(Inside(kMacroKeyDialog.modeBox(3)));
    dialog.OnLeftButtonDown(Inside(kMacroKeyDialog.modeBox(2)));
    EXPECT_EQ(TickBoxes(),
              (std::map<int, std::string>{{1, "Pane.png"}, {2, "PaneMakingTick.png"}, {3, "Pane.png"}}));
    const int presents = window.picture.presents;
    const std::size_t drawn = window.picture.ops.size();
    dialog.OnLeftButtonDown(Inside(kMacroKeyDialog.modeBox(2)));
    EXPECT_EQ(window.picture.ops.size(), drawn) << "the ticked mode again changes nothing";
    EXPECT_EQ(window.picture.presents, presents);
    dialog.OnLeftButtonDown(kOk);
    EXPECT_EQ(dialog.result().repeatMode, 2);
}

TEST_F(MacroDialogTest, TheListIsReadAgainAtEachOpening) {
    EXPECT_EQ(OpenList(), std::vector<std::string>{}) << "no record.ini: an empty list";
    dialog.OnLeftButtonDown(Entry(kMacroKeyDialog.macro));
    files.files[kRecordIni] = Sections({"Fresh"});
    EXPECT_EQ(OpenList(), std::vector<std::string>{"Fresh"});
}

TEST_F(MacroDialogTest, TheListKeepsTheLibrarysLimits) {
    // Thirteen macros: the mouse has slots for twelve.
    std::vector<std::string> names;
    for (int i = 1; i <= 13; ++i) {
        names.push_back("M" + std::to_string(i));
    }
    files.files[kRecordIni] = Sections(names);
    std::vector<std::string> listed = OpenList();
    ASSERT_EQ(listed.size(), 12u);
    EXPECT_EQ(listed.back(), "M12");
    dialog.OnLeftButtonDown(Entry(kMacroKeyDialog.macro));

    // A long name shows its first 31 characters; names ending past the
    // 255th character of the section list are not listed.
    const std::string longName(40, 'x');
    const std::string filler(210, 'f');
    files.files[kRecordIni] = Sections({longName, filler, "Late"});
    listed = OpenList();
    EXPECT_EQ(listed, (std::vector<std::string>{std::string(31, 'x'), std::string(31, 'f')}));
    dialog.OnListChosen(kList, 0);
    EXPECT_EQ(dialog.result().name, std::string(31, 'x'));
}

} // namespace
} // namespace quorvel
