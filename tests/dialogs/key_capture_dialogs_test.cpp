#include "assign/key_codes.h"
#include "dialogs/combo_dialog.h"
#include "dialogs/dialog_fixture.h"
#include "dialogs/single_dialog.h"

namespace quorvel {
namespace {

using namespace quorvel::testing;

constexpr int kKeyName = kSingleKeyDialog.keyName.id;
constexpr int kModifier = kComboKeyDialog.modifier.display.id;
constexpr int kModifierList = kComboKeyDialog.modifier.list.id;
constexpr int kFirstKey = kComboKeyDialog.firstKey.id;
constexpr int kSecondKey = kComboKeyDialog.secondKey.id;
const Point kOk = Inside(kDialogSkeleton.ok.rect);

using SingleKeyTest = DialogTest;

TEST_F(SingleKeyTest, ShowsThePromptAndAnEmptyKeyCap) {
    const struct {
        Language language;
        const char* prompt;
    } cases[] = {{Language::kEnglish, "Please enter a key"},
                 {Language::kSimplifiedChinese, "请输入一个按键"},
                 {Language::kTraditionalChinese, "請輸入一個按鍵"}};
    for (const auto& row : cases) {
        FakeDialogWindow fresh;
        CSingleDialog dialog(fresh, context(row.language));
        dialog.Initialise();
        dialog.Paint();
        EXPECT_TRUE(fresh.picture.drew(std::string("text ") + row.prompt + " in 45,108"));
        EXPECT_EQ(fresh.controls.at(kKeyName).kind, "static");
        EXPECT_EQ(fresh.controls.at(kKeyName).box, (Rect{74, 129, 150, 143}));
        EXPECT_EQ(fresh.controlText(kKeyName), "");
    }
}

TEST_F(SingleKeyTest, ShowsTheLastKeyAndReturnsItOnOk) {
    CSingleDialog dialog(window, context());
    dialog.Initialise();
    Press(dialog, "Ctrl");
    EXPECT_EQ(window.controlText(kKeyName), "Ctrl");
    Press(dialog, "Right Ctrl");
    EXPECT_EQ(window.controlText(kKeyName), "Right Ctrl");
    dialog.OnLeftButtonDown(kOk);
    EXPECT_EQ(window.ended, true);
    EXPECT_EQ(dialog.result().keyName, "Right Ctrl");
    EXPECT_EQ(KeyCodeFromName(dialog.result().keyName), 0xE4);
}

TEST_F(SingleKeyTest, EnterAndEscapeAreCapturedAndCloseNothing) {
    CSingleDialog dialog(window, context());
    dialog.Initialise();
    for (const auto& [key, name] :
         {std::pair{StandardKey::Enter, "Enter"}, std::pair{StandardKey::Escape, "Esc"}}) {
        dialog.OnKey(name);
        EXPECT_TRUE(dialog.OnStandardKey(key)) << "the key goes no further";
        dialog.OnKey(name);
        EXPECT_FALSE(window.ended);
        EXPECT_EQ(window.controlText(kKeyName), name);
    }
    EXPECT_EQ(dialog.result().keyName, "Esc");
}

struct ComboKeyTest : DialogTest {
    CComboDialog dialog{window, context()};
    ComboKeyTest() { dialog.Initialise(); }
    bool editsShown() const { return window.visible(kFirstKey) && window.visible(kSecondKey); }
};

TEST_F(ComboKeyTest, StartsEmptyWithTheFocusOnTheFirstKey) {
    EXPECT_EQ(window.controls.at(kModifier).box, (Rect{50, 70, 116, 84}));
    EXPECT_EQ(window.controls.at(kFirstKey).box, (Rect{50, 120, 131, 134}));
    EXPECT_EQ(window.controls.at(kSecondKey).box, (Rect{50, 170, 131, 184}));
    EXPECT_EQ(window.controls.at(kFirstKey).editKind, EditKind::KeyName);
    EXPECT_EQ(window.focused, kFirstKey);
    EXPECT_FALSE(window.controlExists(kModifierList));
    dialog.OnLeftButtonDown(kOk);
    EXPECT_EQ(dialog.result().modifier, "");
    EXPECT_EQ(dialog.result().firstKey, "");
    EXPECT_EQ(dialog.result().secondKey, "");
    EXPECT_EQ(dialog.modifierPosition(), -1);
}

TEST_F(ComboKeyTest, TheModifierListHidesTheKeyEditsWhileItIsOpen) {
    dialog.OnLeftButtonDown(Entry(kComboKeyDialog.modifier));
    ASSERT_TRUE(window.controlExists(kModifierList));
    EXPECT_EQ(window.controls.at(kModifierList).box, (Rect{50, 86, 132, 226}));
    EXPECT_EQ(window.items(kModifierList),
              (std::vector<std::string>{"Left Ctrl", "Left Shift", "Left Alt", "Left Win", "Right Ctrl",
                                        "Right Shift", "Right Alt", "Right Win"}));
    EXPECT_FALSE(window.visible(kFirstKey));
    EXPECT_FALSE(window.visible(kSecondKey));

    dialog.OnListHover(kModifierList, 3);
    EXPECT_EQ(window.controls.at(kModifierList).highlighted, 3);
    EXPECT_EQ(window.controlText(kModifier), "") << "hovering chooses nothing";

    // The arrow part of the box closes it again; so does a click elsewhere.
    dialog.OnLeftButtonDown({kComboKeyDialog.modifier.clickArea.right - 2, 75});
    EXPECT_FALSE(window.controlExists(kModifierList));
    EXPECT_TRUE(editsShown());
    dialog.OnLeftButtonDown(Entry(kComboKeyDialog.modifier));
    dialog.OnLeftButtonDown({300, 150});
    EXPECT_FALSE(window.controlExists(kModifierList));
    EXPECT_TRUE(editsShown());
    EXPECT_EQ(window.focused, kFirstKey) << "the key edit has the focus back";
}

TEST_F(ComboKeyTest, ChoosingAModifierShowsItAndClosesTheList) {
    dialog.OnLeftButtonDown(Entry(kComboKeyDialog.modifier));
    dialog.OnListChosen(kModifierList, 4);
    EXPECT_EQ(window.controlText(kModifier), "Right Ctrl");
    EXPECT_FALSE(window.controlExists(kModifierList));
    EXPECT_TRUE(editsShown());
    dialog.OnListChosen(kModifierList, 0);
    EXPECT_EQ(window.controlText(kModifier), "Right Ctrl") << "a closed list chooses nothing";
    EXPECT_EQ(dialog.result().modifier, "Right Ctrl");
    EXPECT_EQ(dialog.modifierPosition(), 4);
}

TEST_F(ComboKeyTest, AKeyGoesToTheEditWithTheFocusOnly) {
    Press(dialog, "A");
    window.focusControl(kSecondKey);
    Press(dialog, "B");
    window.focused.reset(); // the focus on the dialog itself
    Press(dialog, "C");
    EXPECT_EQ(window.controlText(kFirstKey), "A");
    EXPECT_EQ(window.controlText(kSecondKey), "B");

    // Nor does a key reach the edits while the list covers them.
    window.focusControl(kFirstKey);
    dialog.OnLeftButtonDown(Entry(kComboKeyDialog.modifier));
    Press(dialog, "D");
    dialog.OnListChosen(kModifierList, 0);
    EXPECT_EQ(window.controlText(kFirstKey), "A");

    // Enter and Escape are keys to capture here too.
    dialog.OnKey("Enter");
    EXPECT_TRUE(dialog.OnStandardKey(StandardKey::Enter));
    EXPECT_FALSE(window.ended);
    dialog.OnLeftButtonDown(kOk);
    EXPECT_EQ(dialog.result().modifier, "Left Ctrl");
    EXPECT_EQ(dialog.result().firstKey, "Enter");
    EXPECT_EQ(dialog.result().secondKey, "B");
}

} // namespace
} // namespace quorvel
