#include "accessible_support.h"
// After the system's COM headers (see accessible_support.h).
#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/basic_page_layout.h"
#include "app/main_window_layout.h"
#include "assign/function_list.h"
#include "device/device_image.h"
#include "lang/texts.h"
#include "ports/message_port.h"
#include "program_support.h"

namespace quorvel {
namespace {

using testing::Focus;
using testing::FocusIn;
using testing::Press;
using testing::PumpUntil;
using testing::ShownDialog;
using testing::UserScript;

// The program driven by a keyboard-only user who hears the focus read out.
struct ProgramByKeysTest : testing::ProgramOnSimulatedMouse {
    void SetUp() override {
        ProgramOnSimulatedMouse::SetUp();
        HWND window = program->window().handle();
        ::SetForegroundWindow(window);
        ::SetFocus(window);
        PumpUntil([] { return false; }, 50);
        if (::GetForegroundWindow() != window) {
            GTEST_SKIP() << "the display gives the window no keyboard";
        }
    }
    HWND window() { return program->window().handle(); }

    // A step of the user: presses `key` until the focus in `where` is as
    // `reached` wants it, trying at most `limit` times.
    UserScript::Step PressUntil(std::function<HWND()> where, std::function<bool(const Focus&)> reached,
                                WORD key, bool shift = false, int limit = 80) {
        auto pressed = std::make_shared<int>(0);
        return [=] {
            if (reached(FocusIn(where()))) {
                return true;
            }
            if (*pressed == limit) {
                ADD_FAILURE() << "the keys never got there; the focus is on " << FocusIn(where()).name;
                return true;
            }
            Press(key, shift);
            ++*pressed;
            return false;
        };
    }
    UserScript::Step TabTo(std::function<HWND()> where, std::string name) {
        return PressUntil(
            std::move(where), [name](const Focus& focus) { return focus.name == name; }, VK_TAB);
    }
    static UserScript::Step Once(WORD key) {
        return [key] {
            Press(key);
            return true;
        };
    }
};

// From the start, with keys alone: row 3 becomes Combo Key with Left Ctrl +
// A (its list, then the dialog), DPI stage 2 takes its third value, Mode B
// is chosen, and Apply hands it all to the mouse.
TEST_F(ProgramByKeysTest, AComboKeyADpiValueAndModeBReachTheMouseWithoutThePointer) {
    const int row = 3; // button 2, slot 2 of the key matrix
    MainWindow& main = program->controller();
    const std::string comboKey(FunctionListText(Language::kEnglish, kFnComboKey));
    HWND dialog = nullptr;
    const auto mainWindow = [this] { return window(); };
    const auto dialogWindow = [&dialog] { return dialog; };
    UserScript user({
        TabTo(mainWindow, main.labels()[0][row - 1]),
        Once(VK_SPACE), // opens the row's list
        PressUntil(
            mainWindow, [&](const Focus& focus) { return focus.value == comboKey; }, VK_DOWN),
        Once(VK_RETURN), // the Combo Key dialog
        [&] {
            if ((dialog = ShownDialog()) == nullptr) {
                return false;
            }
            // Named by its own title, not the window's.
            const testing::Accessible object = testing::AccessibleOf(dialog);
            EXPECT_EQ(testing::NameOf(*object, CHILDID_SELF), Text(Language::kEnglish, TextId::kComboKey));
            EXPECT_EQ(testing::RoleOf(*object, CHILDID_SELF), ROLE_SYSTEM_DIALOG);
            return true;
        },
        TabTo(dialogWindow, "Modifier"),
        Once(VK_SPACE),
        PressUntil(
            dialogWindow, [](const Focus& focus) { return focus.value == "Left Ctrl"; }, VK_DOWN),
        Once(VK_RETURN),
        TabTo(dialogWindow, "First key"),
        Once('A'),
        TabTo(dialogWindow, "OK"),
        Once(VK_SPACE),
        [] { return ShownDialog() == nullptr; },
        TabTo(mainWindow, Filled(Text(Language::kEnglish, TextId::kDpiStageNumber), {"2"})),
        Once(VK_HOME),
        Once(VK_RIGHT),
        Once(VK_RIGHT),
        TabTo(mainWindow, "Mode A"),
        Once(VK_RIGHT),
        TabTo(mainWindow, "Apply"),
        Once(VK_SPACE),
    });
    ASSERT_TRUE(PumpUntil([&] { return user.finished() && mouse.keyMatrix(1)[10] != 0; }, 60000))
        << "the user got as far as step " << user.stepsDone();

    const KeyMatrix matrix = mouse.keyMatrix(1);
    EXPECT_EQ(std::vector<Byte>(matrix.begin() + 8, matrix.begin() + 12),
              (std::vector<Byte>{0x00, 0x01, 0x04, 0x00}))
        << "Left Ctrl + A";
    EXPECT_EQ(mouse.dpiTable()[1], DpiCode(main.sensorType(), 2)) << "the third value of stage 2";
    EXPECT_EQ(main.saved().selectedButtonSet, 1) << "Mode B";
    EXPECT_TRUE(messages.shown.empty());
}

// What a screen reader finds in the window: a control for each thing the
// page shows, by role and by the name the page shows it with.
std::vector<std::pair<long, std::string>>
MissingControls(IAccessible& window, Language language, const std::array<std::string, kButtonCount>& labels) {
    std::vector<std::pair<long, std::string>> expected = {
        {ROLE_SYSTEM_PUSHBUTTON, std::string(Text(language, TextId::kOk))},
        {ROLE_SYSTEM_PUSHBUTTON, std::string(Text(language, TextId::kApply))},
        {ROLE_SYSTEM_PUSHBUTTON, std::string(Text(language, TextId::kCancel))},
        {ROLE_SYSTEM_RADIOBUTTON, "Mode A"},
        {ROLE_SYSTEM_RADIOBUTTON, "Mode B"},
        {ROLE_SYSTEM_RADIOBUTTON, "125 Hz"},
        {ROLE_SYSTEM_RADIOBUTTON, "250 Hz"},
        {ROLE_SYSTEM_RADIOBUTTON, "500 Hz"},
        {ROLE_SYSTEM_RADIOBUTTON, "1000 Hz"},
    };
    for (int row = 1; row <= BasicPageLayout::kRowCount; ++row) {
        expected.emplace_back(ROLE_SYSTEM_COMBOBOX, labels[static_cast<std::size_t>(row - 1)]);
    }
    for (int stage = 1; stage <= kDpiStageCount; ++stage) {
        expected.emplace_back(ROLE_SYSTEM_SLIDER,
                              Filled(Text(language, TextId::kDpiStageNumber), {std::to_string(stage)}));
    }
    std::vector<std::pair<long, std::string>> missing;
    for (const auto& [role, name] : expected) {
        if (testing::FindChild(window, role, name) == 0) {
            missing.emplace_back(role, name);
        }
    }
    return missing;
}

TEST_F(ProgramByKeysTest, AReaderFindsTheButtonsRowsModesRatesAndStagesAndTabMovesTheFocus) {
    const testing::Accessible object = testing::AccessibleOf(window());
    ASSERT_NE(object, nullptr);
    EXPECT_EQ(testing::NameOf(*object, CHILDID_SELF), kApplicationTitle);
    const auto& rows = program->controller().labels()[0];
    EXPECT_EQ(rows[0], "Left Click") << "the rows are named by their functions";
    EXPECT_EQ(MissingControls(*object, Language::kEnglish, rows),
              (std::vector<std::pair<long, std::string>>{}));

    EXPECT_EQ(testing::FocusOf(*object), CHILDID_SELF) << "no control has the focus before Tab";
    Press(VK_TAB);
    ASSERT_TRUE(PumpUntil([&] { return testing::FocusOf(*object).value_or(0) > 0; }));
    const long first = *testing::FocusOf(*object);
    EXPECT_NE(testing::StateOf(*object, first) & STATE_SYSTEM_FOCUSED, 0);
    Press(VK_TAB);
    ASSERT_TRUE(PumpUntil([&] { return testing::FocusOf(*object) != first; }));
    EXPECT_EQ(testing::StateOf(*object, first) & STATE_SYSTEM_FOCUSED, 0);
    Press(VK_TAB, true);
    EXPECT_TRUE(PumpUntil([&] { return testing::FocusOf(*object) == first; })) << "Shift+Tab goes back";
}

struct ProgramInChineseTest : ProgramByKeysTest {
    ProgramInChineseTest() { langId = 0x804; }
};

TEST_F(ProgramInChineseTest, TheNamesFollowTheInterfaceLanguage) {
    const testing::Accessible object = testing::AccessibleOf(window());
    ASSERT_NE(object, nullptr);
    ASSERT_NE(Text(Language::kSimplifiedChinese, TextId::kApply), Text(Language::kEnglish, TextId::kApply));
    EXPECT_EQ(MissingControls(*object, Language::kSimplifiedChinese, program->controller().labels()[0]),
              (std::vector<std::pair<long, std::string>>{}));
    EXPECT_EQ(testing::FindChild(*object, ROLE_SYSTEM_PUSHBUTTON, "Apply"), 0);
}

} // namespace
} // namespace quorvel
