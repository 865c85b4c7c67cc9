#include "dialogs/dialog_fixture.h"
#include "dialogs/fire_key_dialog.h"

namespace quorvel {
namespace {

using namespace quorvel::testing;

constexpr int kKey = kFireKeyDialog.key.display.id;
constexpr int kKeyList = kFireKeyDialog.key.list.id;
constexpr int kSpeed = kFireKeyDialog.speed.id;
constexpr int kTimes = kFireKeyDialog.times.id;
const Point kOk = Inside(kDialogSkeleton.ok.rect);

struct FireKeyTest : DialogTest {
    CFireKeyDialog dialog{window, context()};
    FireKeyTest() { dialog.Initialise(); }
};

TEST_F(FireKeyTest, OkUntouchedGivesTheKeyAAtSpeed32Once) {
    EXPECT_EQ(window.controlText(kKey), "A");
    EXPECT_EQ(window.controlText(kSpeed), "32");
    EXPECT_EQ(window.controlText(kTimes), "1");
    for (const int id : {kSpeed, kTimes}) {
        EXPECT_EQ(window.controls.at(id).editKind, EditKind::Digits);
        EXPECT_EQ(window.controls.at(id).align, TextAlign::Centre);
    }
    dialog.OnLeftButtonDown(kOk);
    EXPECT_EQ(window.ended, true);
    const FireKeyChoice result = dialog.result();
    EXPECT_EQ(result.position, 0);
    EXPECT_EQ(result.text, "A");
    EXPECT_EQ(result.speed, 32);
    EXPECT_EQ(result.times, 1);
}

TEST_F(FireKeyTest, TheSpeedIsCorrectedWhenItsEditLosesTheFocus) {
    const struct {
        const char* typed;
        const char* shown;
        int speed;
    } cases[] = {{"3", "5", 5},       {"4", "5", 5},       {"5", "5", 5},
                 {"255", "255", 255}, {"256", "5", 5},     {"", "5", 5},
                 {"0", "5", 5},       {"100", "100", 100}, {"99999999999999999999", "5", 5}};
    for (const auto& row : cases) {
        Type(window, dialog, kSpeed, row.typed);
        EXPECT_EQ(window.controlText(kSpeed), row.typed) << "typing alone corrects nothing";
        dialog.OnEditFocusLost(kSpeed);
        EXPECT_EQ(window.controlText(kSpeed), row.shown) << row.typed;
        EXPECT_EQ(dialog.result().speed, row.speed) << row.typed;
    }
}

TEST_F(FireKeyTest, TheTimesAreCorrectedAtEveryChange) {
    const struct {
        const char* typed;
        const char* shown;
        int times;
    } cases[] = {{"300", "1", 1}, {"255", "255", 255}, {"", "", 0},
                 {"-2", "1", 1},  {"0", "0", 0},       {"7", "7", 7}};
    for (const auto& row : cases) {
        Type(window, dialog, kTimes, row.typed);
        EXPECT_EQ(window.controlText(kTimes), row.shown) << row.typed;
        EXPECT_EQ(dialog.result().times, row.times) << row.typed;
    }
    dialog.OnLeftButtonDown(kOk);
    EXPECT_EQ(dialog.result().times, 7);
}

// The user types a speed and clicks OK, or presses Enter, without leaving
// the box: the value in the box is the one returned, corrected as the box
// would correct it.
TEST_F(FireKeyTest, OkTakesTheSpeedStillInItsBox) {
    const struct {
        const char* typed;
        int speed;
        bool byEnter;
    } cases[] = {{"100", 100, false}, {"3", 5, false}, {"64", 64, true}};
    for (const auto& row : cases) {
        FakeDialogWindow fresh;
        CFireKeyDialog other(fresh, context());
        other.Initialise();
        Type(fresh, other, kSpeed, row.typed);
        if (row.byEnter) {
            EXPECT_TRUE(other.OnStandardKey(StandardKey::Enter));
        } else {
            other.OnLeftButtonDown(kOk);
        }
        EXPECT_EQ(fresh.ended, true);
        EXPECT_EQ(other.result().speed, row.speed) << row.typed;
        EXPECT_EQ(fresh.controlText(kSpeed), std::to_string(row.speed));
    }
}

TEST_F(FireKeyTest, TheKeyListCoversTheEditsAndGivesTheChosenKey) {
    dialog.OnLeftButtonDown(Entry(kFireKeyDialog.key));
    ASSERT_TRUE(window.controlExists(kKeyList));
    const std::vector<std::string>& items = window.items(kKeyList);
    ASSERT_EQ(items.size(), 61u);
    EXPECT_EQ(items[0], "A");
    EXPECT_EQ(items[36], "L-CTRL");
    EXPECT_EQ(items[60], "R-Tilt Wheel");
    EXPECT_FALSE(window.visible(kSpeed));
    EXPECT_FALSE(window.visible(kTimes));

    dialog.OnListChosen(kKeyList, 39);
    EXPECT_FALSE(window.controlExists(kKeyList));
    EXPECT_TRUE(window.visible(kSpeed));
    EXPECT_TRUE(window.visible(kTimes));
    EXPECT_EQ(window.controlText(kKey), "R-CTRL");
    dialog.OnLeftButtonDown(kOk);
    EXPECT_EQ(dialog.result().position, 39);
    EXPECT_EQ(dialog.result().text, "R-CTRL");
}

// The list hides the edits while it is open; the next digit typed still goes
// where it went before.
TEST_F(FireKeyTest, TheFocusIsWhereItWasOnceTheKeyListCloses) {
    const struct {
        int focused;
        bool choose; // close by choosing an entry, else by a second click on the box
    } cases[] = {{kSpeed, true}, {kSpeed, false}, {kTimes, true}, {kTimes, false}};
    for (const auto& row : cases) {
        window.focusControl(row.focused);
        dialog.OnLeftButtonDown(Entry(kFireKeyDialog.key));
        ASSERT_TRUE(window.controlExists(kKeyList));
        if (row.choose) {
            dialog.OnListChosen(kKeyList, 2);
        } else {
            dialog.OnLeftButtonDown(Entry(kFireKeyDialog.key));
        }
        ASSERT_FALSE(window.controlExists(kKeyList));
        EXPECT_EQ(window.focusedControl(), row.focused)
            << row.focused << (row.choose ? " chosen" : " clicked");
    }
}

TEST_F(FireKeyTest, LabelsAndIllustrationInEachLanguage) {
    const struct {
        Language language;
        std::vector<std::string> texts;
    } cases[] = {
        {Language::kEnglish,
         {"text Speed in 20,120", "text Times in 20,170", "text Illustration: in 20,190",
          "text Speed (value range 5-255, with smaller values faster) in 20,206",
          "text Times (value range 0-255,0 indicates fire key to end when the key released) in 20,222"}},
        {Language::kSimplifiedChinese,
         {"text 速度 in 20,120", "text 次数 in 20,170", "text 说明: in 20,190",
          "text 速度(数值范围5-255，数值越小速度越快) in 20,206",
          "text 次数(数值范围0-255，0表示按键放开火力键结束) in 20,222"}},
        {Language::kTraditionalChinese,
         {"text 速度 in 20,120", "text 次數 in 20,170", "text 說明: in 20,190",
          "text 速度(數值範圍5-255，數值越小速度越快) in 20,206",
          "text 次數(數值範圍0-255，0表示按鍵放開火力鍵結束) in 20,222"}},
    };
    for (const auto& row : cases) {
        FakeDialogWindow fresh;
        CFireKeyDialog other(fresh, context(row.language));
        other.Initialise();
        other.Paint();
        for (const std::string& text : row.texts) {
            EXPECT_TRUE(fresh.picture.drew(text)) << text;
        }
    }
}

} // namespace
} // namespace quorvel
