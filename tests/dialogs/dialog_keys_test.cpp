// The dialogs with the keys, and as screen readers see them: their titles,
// their controls in reading order with names in the interface language, and
// the keys doing what clicks do, also in the dialogs that capture keys.

#include <functional>
#include <memory>

#include "dialogs/combo_dialog.h"
#include "dialogs/consumer_key_dialogs.h"
#include "dialogs/delay_time_dialog.h"
#include "dialogs/dialog_fixture.h"
#include "dialogs/fire_key_dialog.h"
#include "dialogs/macro_dialog.h"
#include "dialogs/single_dialog.h"
#include "dialogs/skins_dialog.h"
#include "lang/texts.h"

namespace quorvel {
namespace {

using namespace quorvel::testing;
using Key = NavigationKey;

using MakeDialog = std::function<std::unique_ptr<SubDialog>(DialogWindowPort&, DialogContext, MemoryFileSystem&)>;

struct DialogModel {
    const char* dialog;
    Language language;
    MakeDialog make;
    std::string title;
    std::vector<std::string> names; // between the close button and OK, Cancel
    std::vector<ControlRole> roles;
};
void PrintTo(const DialogModel& model, std::ostream* out) {
    *out << model.dialog << " in language " << static_cast<int>(model.language);
}

template <typename Dialog> MakeDialog Make() {
    return [](DialogWindowPort& window, DialogContext context, MemoryFileSystem&) {
        return std::make_unique<Dialog>(window, std::move(context));
    };
}

const MakeDialog kMacro = [](DialogWindowPort& window, DialogContext context, MemoryFileSystem& files) {
    return std::make_unique<CMacroDialog>(window, std::move(context), IniFile(files, "/data/record.ini"));
};
const MakeDialog kSkins = [](DialogWindowPort& window, DialogContext context, MemoryFileSystem&) {
    return std::make_unique<CSkinsDialog>(window, std::move(context), "Default",
                                          [] { return std::vector<SkinEntry>{{"Default", "/skin"}}; });
};

using R = ControlRole;

struct DialogModelTest : DialogTest, ::testing::WithParamInterface<DialogModel> {};

TEST_P(DialogModelTest, TheDialogNamesItselfAndItsControlsInReadingOrder) {
    const DialogModel& model = GetParam();
    std::unique_ptr<SubDialog> dialog = model.make(window, context(model.language), files);
    dialog->Initialise();
    EXPECT_EQ(dialog->title(), model.title);
    const std::vector<Control> controls = dialog->controls();
    ASSERT_EQ(controls.size(), model.names.size() + 3);
    EXPECT_EQ(controls.front().name, Text(model.language, TextId::kClose));
    EXPECT_EQ(controls[controls.size() - 2].name, dialog->okText());
    EXPECT_EQ(controls.back().name, dialog->cancelText());
    for (std::size_t i = 0; i < model.names.size(); ++i) {
        EXPECT_EQ(controls[i + 1].name, model.names[i]) << i;
        EXPECT_EQ(controls[i + 1].role, model.roles[i]) << i;
        EXPECT_FALSE(controls[i + 1].rect.empty()) << i;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Dialogs, DialogModelTest,
    ::testing::Values(
        DialogModel{"single", Language::kEnglish, Make<CSingleDialog>(), "Single Key", {"Please enter a key"}, {R::Edit}},
        DialogModel{"single", Language::kTraditionalChinese, Make<CSingleDialog>(), "單鍵", {"請輸入一個按鍵"}, {R::Edit}},
        DialogModel{"combo", Language::kEnglish, Make<CComboDialog>(), "Combo Key",
                    {"Modifier", "First key", "Second key"}, {R::DropDown, R::Edit, R::Edit}},
        DialogModel{"combo", Language::kSimplifiedChinese, Make<CComboDialog>(), "组合键",
                    {"修饰键", "第一个按键", "第二个按键"}, {R::DropDown, R::Edit, R::Edit}},
        DialogModel{"fire", Language::kEnglish, Make<CFireKeyDialog>(), "Fire Key", {"Fire Key", "Speed", "Times"},
                    {R::DropDown, R::Edit, R::Edit}},
        DialogModel{"media", Language::kSimplifiedChinese, Make<CMediaDialog>(), "多媒体", {"多媒体"}, {R::DropDown}},
        DialogModel{"windows", Language::kEnglish, Make<CWindowsDialog>(), "Windows", {"Windows"}, {R::DropDown}},
        DialogModel{"delay", Language::kTraditionalChinese, Make<CDelayTimeDialog>(), "延時", {"請輸入一個延時"},
                    {R::Edit}},
        DialogModel{"macro", Language::kEnglish, kMacro, "Macro Key",
                    {"Please select a macro", "Repeat a specified number of times or press any key to end",
                     "Repeat until press any key to end", "Repeat until the key is released"},
                    {R::DropDown, R::RadioButton, R::RadioButton, R::RadioButton}},
        DialogModel{"skins", Language::kEnglish, kSkins, "Skins", {"Please click to set the UI text color", "Skins"},
                    {R::Button, R::DropDown}}));

// The shell's part: a navigation key goes to OnNavigationKey first; one it
// did not take is a key like any other (captured, or Enter and Escape).
bool KeyIn(SubDialog& dialog, Key key, std::string_view name) {
    if (dialog.OnNavigationKey(key)) {
        return true;
    }
    dialog.OnKey(name);
    dialog.OnKey(name);
    if (key == Key::Enter || key == Key::Escape) {
        return dialog.OnStandardKey(key == Key::Enter ? StandardKey::Enter : StandardKey::Escape);
    }
    return false;
}

using DialogKeysTest = DialogTest;

TEST_F(DialogKeysTest, TheComboDialogCapturesInItsKeyEditsAndTabLeavesThem) {
    const ComboKeyDialogLayout& d = kComboKeyDialog;
    CComboDialog dialog(window, context());
    dialog.Initialise();
    ASSERT_EQ(window.focusedControl(), d.firstKey.id);
    KeyIn(dialog, Key::Enter, "Enter");
    EXPECT_EQ(window.controlText(d.firstKey.id), "Enter") << "Enter is a key to capture here";
    EXPECT_FALSE(window.ended);

    // Shift+Tab goes from the edit the dialog focused to the modifier.
    EXPECT_TRUE(KeyIn(dialog, Key::BackTab, "Tab"));
    EXPECT_EQ(dialog.focusedControl(), d.modifier.display.id);
    EXPECT_EQ(window.focusedControl(), std::nullopt) << "the keys reach the dialog, no edit";
    KeyIn(dialog, Key::Space, "Space");
    ASSERT_TRUE(window.controlExists(d.modifier.list.id)) << "Space opened the list";
    KeyIn(dialog, Key::Escape, "Esc");
    EXPECT_FALSE(window.controlExists(d.modifier.list.id)) << "Escape closed the list";
    EXPECT_FALSE(window.ended) << "and nothing else";
    KeyIn(dialog, Key::Space, "Space");
    KeyIn(dialog, Key::Down, "Down");
    KeyIn(dialog, Key::Down, "Down");
    KeyIn(dialog, Key::Enter, "Enter");
    EXPECT_EQ(window.controlText(d.modifier.display.id), dialog.result().modifier);
    EXPECT_FALSE(dialog.result().modifier.empty());

    KeyIn(dialog, Key::Tab, "Tab");
    EXPECT_EQ(window.focusedControl(), d.firstKey.id) << "Tab gives the edit the real focus";
    KeyIn(dialog, Key::Right, "Right");
    EXPECT_EQ(window.controlText(d.firstKey.id), "Right") << "an arrow is captured, not stepped";
    KeyIn(dialog, Key::Tab, "Tab");
    KeyIn(dialog, Key::Space, "Space");
    EXPECT_EQ(window.controlText(d.secondKey.id), "Space");
    KeyIn(dialog, Key::Tab, "Tab");
    EXPECT_EQ(window.focusedControl(), std::nullopt);
    EXPECT_TRUE(KeyIn(dialog, Key::Enter, "Enter")) << "OK";
    EXPECT_EQ(window.ended, true);
    EXPECT_EQ(dialog.result().firstKey, "Right");
    EXPECT_EQ(dialog.result().secondKey, "Space");
}

TEST_F(DialogKeysTest, EnterIsOkUntilTabAndThenPressesTheFocusedButton) {
    const DelayTimeDialogLayout& d = kDelayTimeDialog;
    {
        CDelayTimeDialog dialog(window, context());
        dialog.Initialise();
        KeyIn(dialog, Key::Enter, "Enter");
        EXPECT_EQ(window.ended, true);
    }
    FakeDialogWindow fresh;
    fresh.picture.imageNames = window.picture.imageNames;
    CDelayTimeDialog dialog(fresh, context());
    dialog.Initialise();
    for (int presses = 0; presses < 5 && fresh.focusedControl() != d.delay.id; ++presses) {
        KeyIn(dialog, Key::Tab, "Tab");
    }
    EXPECT_EQ(fresh.focusedControl(), d.delay.id);
    EXPECT_FALSE(dialog.OnNavigationKey(Key::Left)) << "the edit keeps its own keys";
    KeyIn(dialog, Key::Tab, "Tab"); // OK
    KeyIn(dialog, Key::Tab, "Tab"); // Cancel
    EXPECT_EQ(dialog.controls()[static_cast<std::size_t>(3)].id, dialog.focusedControl());
    EXPECT_TRUE(KeyIn(dialog, Key::Enter, "Enter"));
    EXPECT_EQ(fresh.ended, false);
}

TEST_F(DialogKeysTest, TheRepeatModesAreARadioGroupAndTheRingIsInTheTextColour) {
    CMacroDialog dialog(window, context(), IniFile(files, "/data/record.ini"));
    dialog.Initialise();
    dialog.Paint();
    window.picture.ops.clear();
    KeyIn(dialog, Key::Tab, "Tab");
    KeyIn(dialog, Key::Tab, "Tab");
    KeyIn(dialog, Key::Tab, "Tab"); // the group, at mode 1
    const Rect box = kMacroKeyDialog.modeBox(1);
    EXPECT_TRUE(window.picture.drew("fill 10,20,30 in " + std::to_string(box.left - 2) + "," +
                                    std::to_string(box.top - 2)));
    KeyIn(dialog, Key::Down, "Down");
    KeyIn(dialog, Key::Down, "Down");
    EXPECT_EQ(dialog.result().repeatMode, 3);
    KeyIn(dialog, Key::Tab, "Tab");
    EXPECT_TRUE(KeyIn(dialog, Key::Space, "Space")) << "OK";
    EXPECT_EQ(window.ended, true);
}

} // namespace
} // namespace quorvel
