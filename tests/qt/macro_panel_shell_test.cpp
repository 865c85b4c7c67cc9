#include <gtest/gtest.h>

#include <QListWidget>

#include "app/advanced_page_layout.h"
#include "qt/shell_support.h"

namespace quorvel {
namespace {

const AdvancedPageLayout& A = kAdvancedPage;
using testing::Inside;

struct MacroPanelShellTest : testing::ProgramOnSimulatedMouse {
    void SetUp() override {
        data.write("record.ini", "[Copy]\nItemCount=0\n");
        ProgramOnSimulatedMouse::SetUp();
        click(WindowButtonRect(WindowButtonId::AdvancedPage));
    }
    QListWidget& list(int id) {
        QListWidget* list = program->window().list(id);
        EXPECT_NE(list, nullptr) << id;
        return *list;
    }
    QStringList lines(int id) {
        QStringList texts;
        for (int i = 0; i < list(id).count(); ++i) {
            texts.append(list(id).item(i)->text());
        }
        return texts;
    }
    QPoint entry(int id, int row) { return list(id).visualItemRect(list(id).item(row)).center(); }
    // Keys go where the keyboard sends them: the focused control, else the window.
    void key(QEvent::Type type, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QWidget* focus = QApplication::focusWidget();
        QWidget* target = focus != nullptr ? focus : &program->window();
        if (type == QEvent::KeyPress) {
            QTest::keyPress(target, key, modifiers);
        } else {
            QTest::keyRelease(target, key, modifiers);
        }
        QCoreApplication::processEvents();
    }
};

TEST_F(MacroPanelShellTest, ARecordedAndEditedMacroReachesTheMouse) {
    SkinnedWindow& window = program->window();
    EXPECT_EQ(lines(A.macroList.id), QStringList{"Copy"});

    click(A.startRecording);
    EXPECT_EQ(window.windowTitle(), "Press Ctrl+Break key to stop recording");
    // The test's keyboard presses Ctrl before C and lets it go after.
    key(QEvent::KeyPress, Qt::Key_C, Qt::ControlModifier);
    key(QEvent::KeyRelease, Qt::Key_C, Qt::ControlModifier);
    key(QEvent::KeyPress, Qt::Key_Escape); // kept from the window while it records
    EXPECT_TRUE(window.isVisible());
    click(A.stopRecording);
    EXPECT_EQ(window.windowTitle(), QString::fromUtf8(kApplicationTitle.data()));
    EXPECT_EQ(lines(A.eventList.id), (QStringList{"Ctrl   Dn", "50 ms", "C   Dn", "50 ms", "C   Up", "50 ms",
                                                  "Ctrl   Up", "50 ms", "Esc   Dn"}));

    // The last line is selected: the mouse click goes after it.
    click(A.insertBox);
    ASSERT_NE(window.list(A.mouseEventList.id), nullptr);
    QTest::mouseClick(list(A.mouseEventList.id).viewport(), Qt::LeftButton, Qt::NoModifier,
                      entry(A.mouseEventList.id, 0));
    QCoreApplication::processEvents();
    EXPECT_EQ(window.list(A.mouseEventList.id), nullptr);

    // The pause after Ctrl's press becomes 1000 ms.
    bool typed = false;
    testing::WhenDialogOpens([&typed](QtDialogWindow& dialog) {
        typed = true;
        QTest::keyClicks(dialog.control(kDelayTimeDialog.delay.id), "1000");
        QTest::mouseClick(&dialog, Qt::LeftButton, Qt::NoModifier, Inside(kDialogSkeleton.ok.rect));
    });
    // A double click: a click, and the second press that the system reports
    // as a double click.
    QTest::mouseClick(list(A.eventList.id).viewport(), Qt::LeftButton, Qt::NoModifier,
                      entry(A.eventList.id, 1));
    QTest::mouseDClick(list(A.eventList.id).viewport(), Qt::LeftButton, Qt::NoModifier,
                       entry(A.eventList.id, 1));
    QCoreApplication::processEvents();
    EXPECT_TRUE(typed);
    EXPECT_EQ(lines(A.eventList.id),
              (QStringList{"Ctrl   Dn", "1000 ms", "C   Dn", "50 ms", "C   Up", "50 ms", "Ctrl   Up", "50 ms",
                           "Esc   Dn", "50 ms", "L-Button   Dn", "50 ms", "L-Button   Up"}));

    click(A.confirmButton.rect);
    EXPECT_NE(data.read("record.ini").find("Item1=1000 ms\n"), std::string::npos);
    click(testing::CommitButtonRect(TextId::kApply));
    const MacroSlot slot = mouse.macroSlot(1);
    const std::vector<Byte> expected{0x00, 0x01, 0x64, 0xE0, 0x05, 0x06, 0x85, 0x06, 0x85,
                                     0xE0, 0x05, 0x29, 0x05, 0xF0, 0x80, 0xF0, 0x00};
    EXPECT_EQ(std::vector<Byte>(slot.begin(), slot.begin() + 17), expected);
    const std::string title(kApplicationTitle);
    EXPECT_EQ(messages.shown,
              (std::vector<testing::ShownMessage>{{"Start Recording", title}, {"Stop Recording", title}}));
}

// A line put into the middle of the list goes in there, with the entries
// before and after as they were; the pause typed anew keeps its selection.
TEST_F(MacroPanelShellTest, AnEditInTheMiddleOfTheListChangesOnlyItsLines) {
    data.write("record.ini", "[Copy]\nItemCount=3\nItem0=A   Dn\nItem1=50 ms\nItem2=A   Up\n");
    click(WindowButtonRect(WindowButtonId::BasicPage));
    click(WindowButtonRect(WindowButtonId::AdvancedPage));
    QTest::mouseClick(list(A.macroList.id).viewport(), Qt::LeftButton, Qt::NoModifier, entry(A.macroList.id, 0));
    ASSERT_EQ(lines(A.eventList.id), (QStringList{"A   Dn", "50 ms", "A   Up"}));

    QTest::mouseClick(list(A.eventList.id).viewport(), Qt::LeftButton, Qt::NoModifier, entry(A.eventList.id, 0));
    click(A.insertBox);
    ASSERT_NE(program->window().list(A.mouseEventList.id), nullptr);
    QTest::mouseClick(list(A.mouseEventList.id).viewport(), Qt::LeftButton, Qt::NoModifier,
                      entry(A.mouseEventList.id, 5)); // "R-Button   Dn"
    QCoreApplication::processEvents();
    EXPECT_EQ(lines(A.eventList.id), (QStringList{"A   Dn", "50 ms", "R-Button   Dn", "50 ms", "A   Up"}));
    EXPECT_EQ(list(A.eventList.id).currentRow(), 2);

    testing::WhenDialogOpens([](QtDialogWindow& dialog) {
        QTest::keyClicks(dialog.control(kDelayTimeDialog.delay.id), "300");
        QTest::mouseClick(&dialog, Qt::LeftButton, Qt::NoModifier, Inside(kDialogSkeleton.ok.rect));
    });
    QTest::mouseClick(list(A.eventList.id).viewport(), Qt::LeftButton, Qt::NoModifier, entry(A.eventList.id, 3));
    QTest::mouseDClick(list(A.eventList.id).viewport(), Qt::LeftButton, Qt::NoModifier, entry(A.eventList.id, 3));
    QCoreApplication::processEvents();
    EXPECT_EQ(lines(A.eventList.id), (QStringList{"A   Dn", "50 ms", "R-Button   Dn", "300 ms", "A   Up"}));
    EXPECT_EQ(list(A.eventList.id).currentRow(), 3);
}

} // namespace
} // namespace quorvel
