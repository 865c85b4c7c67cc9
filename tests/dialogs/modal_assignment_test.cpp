#include "assign/button_assignment.h"
#include "assign/function_list.h"
#include "assign/key_matrices.h"
#include "dialogs/combo_dialog.h"
#include "dialogs/dialog_fixture.h"
#include "dialogs/modal_assignment_dialogs.h"

namespace quorvel {
namespace {

using namespace quorvel::testing;

const std::filesystem::path kRecordIni = "/data/record.ini";
const Point kOk = Inside(kDialogSkeleton.ok.rect);
const Point kCancel = Inside(kDialogSkeleton.cancel.rect);
const Point kClose = Inside(kDialogSkeleton.close.rect);
constexpr int kButton = 3;

// A button given a function through the real dialogs, the user's part
// played by the host's script.
struct ModalAssignmentTest : DialogTest {
    ScriptedHost host;
    ModalAssignmentDialogs dialogs{host, [this] { return context(); }, IniFile(files, kRecordIni)};
    DeviceConfig config = zeroDeviceConfig();
    ButtonLabels labels;
    ButtonAssignment model{config, labels, Language::kEnglish, dialogs};

    ModalAssignmentTest() { host.imageNames = window.picture.imageNames; }

    void UserClicks(Point at) {
        host.user = [at](FakeDialogWindow&, SubDialog& dialog) { dialog.OnLeftButtonDown(at); };
    }
    ButtonFunctionWord word() const { return ButtonWord(config, 0, kButton); }
    const std::string& label() const { return labels[0][kButton]; }
};

TEST_F(ModalAssignmentTest, EachDialogUntouchedGivesItsInitialChoice) {
    const struct {
        int function;
        std::string_view background;
        ButtonFunctionWord word;
        const char* label;
    } cases[] = {
        {kFnWindows, kWindowsKeyBackground, {0x03, 0x00, 0x83, 0x01}, "Multimedia Player"},
        {kFnMultimedia, kMediaKeyBackground, {0x03, 0x00, 0xB5, 0x00}, "Multimedia-Next"},
        {kFnFireKey, kFireKeyBackground, {0x0A, 0x04, 0x20, 0x01}, "Fire Key-A"},
        {kFnSingleKey, kSingleKeyBackground, {0x00, 0x00, 0x00, 0x00}, "Single Key-"},
        {kFnComboKey, kComboKeyBackground, {0x00, 0x00, 0x00, 0x00}, "Combo Key-"},
        {kFnMacroKey, kMacroKeyBackground, {0x09, 0x00, 0x01, 0x00}, "Macro Key-"},
    };
    UserClicks(kOk);
    for (const auto& row : cases) {
        EXPECT_EQ(model.AssignButtonFunction(kButton, 0, row.function), AssignOutcome::Assigned);
        EXPECT_EQ(word(), row.word) << row.label;
        EXPECT_EQ(label(), row.label);
        EXPECT_EQ(host.last.width, widths.at(row.background))
            << "a fresh window sized to the dialog's background";
    }
    EXPECT_EQ(host.runs, 6);
}

TEST_F(ModalAssignmentTest, CancelAndCloseChangeNothing) {
    config.modeA.field(kFieldFunction, kButton) = kFnForward;
    labels[0][kButton] = "Forward";
    const DeviceConfig before = config;
    for (const Point at : {kCancel, kClose}) {
        host.user = [at](FakeDialogWindow& window, SubDialog& dialog) {
            // Whatever the user did first.
            dialog.OnKey("A");
            dialog.OnLeftButtonDown(Entry(kComboKeyDialog.modifier));
            dialog.OnListChosen(kComboKeyDialog.modifier.list.id, 0);
            Type(window, dialog, kFireKeyDialog.times.id, "9");
            dialog.OnLeftButtonDown(at);
        };
        for (const int function :
             {kFnWindows, kFnMultimedia, kFnFireKey, kFnSingleKey, kFnComboKey, kFnMacroKey}) {
            EXPECT_EQ(model.AssignButtonFunction(kButton, 0, function), AssignOutcome::Cancelled) << function;
            EXPECT_EQ(config, before) << function;
            EXPECT_EQ(label(), "Forward");
        }
    }
}

TEST_F(ModalAssignmentTest, ACapturedComboAndAChosenMacroReachTheWord) {
    host.user = [](FakeDialogWindow& window, SubDialog& dialog) {
        dialog.OnLeftButtonDown(Entry(kComboKeyDialog.modifier));
        dialog.OnListChosen(kComboKeyDialog.modifier.list.id, 0);
        Press(dialog, "A");
        window.focusControl(kComboKeyDialog.secondKey.id);
        Press(dialog, "B");
        dialog.OnLeftButtonDown(kOk);
    };
    model.AssignButtonFunction(kButton, 0, kFnComboKey);
    EXPECT_EQ(word(), (ButtonFunctionWord{0x00, 0x01, 0x04, 0x05}));
    EXPECT_EQ(label(), "Combo Key-Left Ctrl+A+B");

    files.files[kRecordIni] = "[Copy]\nItemCount=0\n[Paste]\nItemCount=0\n[Burst]\nItemCount=0\n";
    host.user = [](FakeDialogWindow&, SubDialog& dialog) {
        dialog.OnLeftButtonDown(Entry(kMacroKeyDialog.macro));
        dialog.OnListChosen(kMacroKeyDialog.macro.list.id, 2);
        dialog.OnLeftButtonDown(Inside(kMacroKeyDialog.modeBox(3)));
        dialog.OnLeftButtonDown(Inside(kMacroKeyDialog.modeBox(2)));
        dialog.OnLeftButtonDown(kOk);
    };
    model.AssignButtonFunction(kButton, 0, kFnMacroKey);
    EXPECT_EQ(word(), (ButtonFunctionWord{0x09, 0x01, 0x03, 0x00})) << "macro number 3, mode 2";
    EXPECT_EQ(label(), "Macro Key-Burst");
}

TEST_F(ModalAssignmentTest, EachOpeningTakesTheLanguageOfThatMoment) {
    Language current = Language::kEnglish;
    ModalAssignmentDialogs live{host, [&] { return context(current); }, IniFile(files, kRecordIni)};
    UserClicks(kCancel);
    EXPECT_FALSE(live.ChooseDelay());
    EXPECT_TRUE(host.last.picture.drew("text Please enter a delay in 14,89"));
    current = Language::kTraditionalChinese;
    EXPECT_FALSE(live.ChooseDelay());
    EXPECT_TRUE(host.last.picture.drew("text 請輸入一個延時 in 14,89"));
}

} // namespace
} // namespace quorvel
