// The skinned windows with the keyboard alone: the program on the simulated
// mouse, key events sent to the real widgets, and what reaches the mouse.

#include <gtest/gtest.h>

#include <QApplication>
#include <QListWidget>
#include <QTest>

#include "app/basic_page_layout.h"
#include "app/dpi_levels.h"
#include "app/main_window_layout.h"
#include "assign/function_list.h"
#include "device/device_image.h"
#include "hid/sim/simulated_mouse.h"
#include "qt/program.h"
#include "qt/shell_support.h"

namespace quorvel {
namespace {

const BasicPageLayout& B = kBasicPage;

// The keyboard sends its keys to the focused control, or to the window
// when none of its controls has the focus.
void Press(QWidget& window, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QWidget* focus = QApplication::focusWidget();
    QTest::keyClick(focus != nullptr && focus->window() == &window ? focus : &window, key, modifiers);
    QCoreApplication::processEvents();
}

struct KeyboardShellTest : testing::ProgramOnSimulatedMouse {
    MainWindow& main() { return program->controller(); }
    void press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        Press(program->window(), key, modifiers);
    }
    // The focused control as the window describes it.
    std::optional<Control> focused() {
        for (const Control& control : main().controls()) {
            if (control.id == main().focusedControl()) {
                return control;
            }
        }
        return std::nullopt;
    }
    // Presses Tab (or Shift+Tab) until the focus is on the control at
    // `rect`; false when a round of the window does not reach it.
    bool tabTo(Rect rect, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        for (int presses = 0; presses < 100; ++presses) {
            if (focused() && focused()->rect == rect) {
                return true;
            }
            press(Qt::Key_Tab, modifiers);
        }
        return false;
    }
};

TEST_F(KeyboardShellTest, AComboKeyADpiValueAndModeBReachTheMouseByKeysAlone) {
    const int row = 3; // button 2: slot 2 of key matrix 1
    const Byte sensorType = program->device().image().currentSensorType;

    // The title bar's three buttons and the two page buttons come first.
    for (int i = 0; i < 8; ++i) {
        press(Qt::Key_Tab);
    }
    ASSERT_TRUE(focused());
    EXPECT_EQ(focused()->rect, B.rowBox(row)) << "Tab goes through the controls in reading order";
    EXPECT_EQ(focused()->role, ControlRole::DropDown);

    testing::WhenDialogOpens([](QtDialogWindow& dialog) {
        // The first key's edit has the focus; the modifier list is before it.
        Press(dialog, Qt::Key_Tab, Qt::ShiftModifier);
        Press(dialog, Qt::Key_Space);
        ASSERT_NE(dialog.control(kComboKeyDialog.modifier.list.id), nullptr) << "Space opens the list";
        Press(dialog, Qt::Key_Down); // Left Ctrl, the first entry
        Press(dialog, Qt::Key_Return);
        EXPECT_EQ(dialog.control(kComboKeyDialog.modifier.list.id), nullptr) << "Enter chose and closed it";
        Press(dialog, Qt::Key_Tab);
        Press(dialog, Qt::Key_A);
        Press(dialog, Qt::Key_Tab); // the second key stays empty
        Press(dialog, Qt::Key_Tab);
        Press(dialog, Qt::Key_Return); // OK
    });
    press(Qt::Key_Space);
    QListWidget* functions = program->window().list(B.rowList(row).id);
    ASSERT_NE(functions, nullptr) << "Space opens the row's list";
    press(Qt::Key_Home);
    for (int i = 0; i < kFnComboKey; ++i) {
        press(Qt::Key_Down);
    }
    EXPECT_EQ(functions->currentRow(), kFnComboKey) << "the arrows move the highlight in the open list";
    press(Qt::Key_Return);
    EXPECT_EQ(main().labels()[0][row - 1], "Combo Key-Left Ctrl+A");
    EXPECT_EQ(program->window().list(B.rowList(row).id), nullptr);

    // DPI stage 2 to its third value.
    const Rect stage2 = {B.dpiCell(1, static_cast<int>(DpiScale(sensorType).size())).left,
                         B.dpiCell(1, static_cast<int>(DpiScale(sensorType).size())).top, B.dpiCell(1, 1).right,
                         B.dpiCell(1, 1).bottom};
    ASSERT_TRUE(tabTo(stage2));
    EXPECT_EQ(focused()->role, ControlRole::Slider);
    press(Qt::Key_Home);
    press(Qt::Key_Right);
    press(Qt::Key_Right);
    EXPECT_EQ(main().working().dpiValueIndex[1], 2);

    // Mode B, back through the radio group of the two modes.
    ASSERT_TRUE(tabTo(B.modeA.rect, Qt::ShiftModifier));
    press(Qt::Key_Right);
    EXPECT_EQ(main().working().selectedButtonSet, 1);
    EXPECT_EQ(focused()->rect, B.modeB.rect) << "the focus follows the choice";

    ASSERT_TRUE(tabTo(testing::CommitButtonRect(TextId::kApply)));
    press(Qt::Key_Space);

    const KeyMatrix matrix = mouse.keyMatrix(1);
    EXPECT_EQ(std::vector<Byte>(matrix.begin() + 8, matrix.begin() + 12),
              (std::vector<Byte>{0x00, 0x01, 0x04, 0x00}));
    EXPECT_EQ(mouse.dpiTable()[1], DpiCode(sensorType, 2));
    EXPECT_EQ(main().saved().selectedButtonSet, 1) << "Mode B is kept for the next start";
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_TRUE(program->window().isVisible());
}

TEST_F(KeyboardShellTest, EscapeWithAnOpenListClosesTheListOnly) {
    const std::string label = main().labels()[0][1];
    // Opened by the pointer, closed by the key.
    click(B.rowBox(2));
    ASSERT_NE(program->window().list(B.rowList(2).id), nullptr);
    press(Qt::Key_Down);
    EXPECT_EQ(program->window().list(B.rowList(2).id)->currentRow(), 0) << "Down moves in the open list";
    press(Qt::Key_Escape);
    EXPECT_EQ(program->window().list(B.rowList(2).id), nullptr);
    EXPECT_TRUE(program->window().isVisible()) << "the window stays";
    EXPECT_EQ(main().labels()[0][1], label) << "nothing was chosen";

    // With no list open, Escape hides the window as before.
    press(Qt::Key_Escape);
    EXPECT_TRUE(testing::PutAway(program->window()));
}

} // namespace
} // namespace quorvel
