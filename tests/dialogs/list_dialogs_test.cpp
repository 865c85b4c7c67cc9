#include "dialogs/consumer_key_dialogs.h"
#include "dialogs/delay_time_dialog.h"
#include "dialogs/dialog_fixture.h"

#include <limits>

namespace quorvel {
namespace {

using namespace quorvel::testing;

const Point kOk = Inside(kDialogSkeleton.ok.rect);

using ConsumerKeyTest = DialogTest;

TEST_F(ConsumerKeyTest, TheFirstEntryIsChosenUntilAnotherIs) {
    CWindowsDialog windows(window, context());
    windows.Initialise();
    EXPECT_EQ(window.controlText(kWindowsKeyDialog.key.display.id), "Multimedia Player");
    windows.OnLeftButtonDown(kOk);
    EXPECT_EQ(windows.result().position, 0);
    EXPECT_EQ(windows.result().text, "Multimedia Player");

    FakeDialogWindow other;
    CMediaDialog media(other, context(Language::kSimplifiedChinese));
    media.Initialise();
    EXPECT_EQ(other.controlText(kMediaKeyDialog.key.display.id), "下一首");
}

TEST_F(ConsumerKeyTest, EachListOffersItsEntriesInTheLanguageAndGivesTheChoice) {
    CWindowsDialog windows(window, context(Language::kTraditionalChinese));
    windows.Initialise();
    const DropDownSelector& selector = kWindowsKeyDialog.key;
    windows.OnLeftButtonDown(Entry(selector));
    ASSERT_TRUE(window.controlExists(selector.list.id));
    EXPECT_EQ(window.controls.at(selector.list.id).box, (Rect{43, 145, 151, 305}));
    EXPECT_EQ(window.items(selector.list.id).size(), 11u);
    EXPECT_EQ(window.items(selector.list.id)[10], "瀏覽器-我的最愛");
    windows.OnListChosen(selector.list.id, 2);
    EXPECT_EQ(window.controlText(selector.display.id), "計算器");
    EXPECT_EQ(windows.result().position, 2);
    EXPECT_EQ(windows.result().text, "計算器");

    FakeDialogWindow other;
    CMediaDialog media(other, context());
    media.Initialise();
    media.OnLeftButtonDown(Entry(kMediaKeyDialog.key));
    EXPECT_EQ(other.items(kMediaKeyDialog.key.list.id),
              (std::vector<std::string>{"Next", "Previous", "Stop", "Play/Pause", "Mute", "Vol+", "Vol-"}));
    media.OnListHover(kMediaKeyDialog.key.list.id, 5);
    EXPECT_EQ(other.controls.at(kMediaKeyDialog.key.list.id).highlighted, 5);
    media.OnLeftButtonDown({300, 40}); // elsewhere: closes the list, chooses nothing
    EXPECT_FALSE(other.controlExists(kMediaKeyDialog.key.list.id));
    EXPECT_EQ(media.result().position, 0);
}

TEST_F(ConsumerKeyTest, EnterIsOkAndEscapeIsCancelHere) {
    CMediaDialog media(window, context());
    media.Initialise();
    EXPECT_TRUE(media.OnStandardKey(StandardKey::Enter));
    EXPECT_EQ(window.ended, true);
    FakeDialogWindow other;
    CWindowsDialog windows(other, context());
    windows.Initialise();
    EXPECT_TRUE(windows.OnStandardKey(StandardKey::Escape));
    EXPECT_EQ(other.ended, false);
}

using DelayTimeTest = DialogTest;

TEST_F(DelayTimeTest, PromptRangeNoteAndAnEmptyFocusedEdit) {
    CDelayTimeDialog dialog(window, context(Language::kSimplifiedChinese));
    dialog.Initialise();
    dialog.Paint();
    EXPECT_TRUE(window.picture.drew("text 请输入一个延时 in 14,89"));
    EXPECT_TRUE(window.picture.drew("text (数值范围 50-10000) in 14,109"));
    const int edit = kDelayTimeDialog.delay.id;
    EXPECT_EQ(window.controls.at(edit).box, (Rect{74, 129, 150, 143}));
    EXPECT_EQ(window.controls.at(edit).editKind, EditKind::Digits);
    EXPECT_EQ(window.controlText(edit), "");
    EXPECT_EQ(window.focused, edit);
}

// The dialog passes on what was typed; the macro editing decides what it
// accepts.
TEST_F(DelayTimeTest, TheTypedDelayComesBackUnchecked) {
    const struct {
        const char* typed;
        int delay;
    } cases[] = {{"500", 500},
                 {"20", 20},
                 {"20000", 20000},
                 {"", 0},
                 {"99999999999", std::numeric_limits<int>::max()}};
    for (const auto& row : cases) {
        FakeDialogWindow fresh;
        CDelayTimeDialog dialog(fresh, context());
        dialog.Initialise();
        Type(fresh, dialog, kDelayTimeDialog.delay.id, row.typed);
        dialog.OnLeftButtonDown(kOk);
        EXPECT_EQ(dialog.result().delay, row.delay) << row.typed;
        EXPECT_EQ(dialog.result().text, row.typed);
    }
}

} // namespace
} // namespace quorvel
