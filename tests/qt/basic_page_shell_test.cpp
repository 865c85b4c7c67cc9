#include <gtest/gtest.h>

#include <QApplication>
#include <QColorDialog>
#include <QListWidget>
#include <QMouseEvent>
#include <QTest>
#include <QTimer>

#include "app/basic_page_layout.h"
#include "app/factory_settings.h"
#include "app/main_window_layout.h"
#include "assign/function_list.h"
#include "assign/key_matrices.h"
#include "device/device_image.h"
#include "hid/sim/simulated_mouse.h"
#include "qt/program.h"
#include "qt/shell_support.h"

namespace quorvel {
namespace {

const BasicPageLayout& B = kBasicPage;

using testing::CommitButtonRect;
using testing::Inside;

std::vector<Byte> Bytes(const auto& table) {
    return {table.begin(), table.end()};
}

struct BasicPageShellTest : testing::ProgramOnSimulatedMouse {
    QListWidget& list(int id) {
        QListWidget* list = program->window().list(id);
        EXPECT_NE(list, nullptr) << "list " << id;
        return *list;
    }
    QPoint itemCentre(QListWidget& list, int index) { return list.visualItemRect(list.item(index)).center(); }
    // The pointer comes to rest over an entry of an open list.
    void pointTo(QListWidget& list, int index) {
        const QPoint at = itemCentre(list, index);
        QMouseEvent move(QEvent::MouseMove, at, list.viewport()->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                         Qt::NoModifier);
        QApplication::sendEvent(list.viewport(), &move);
        QCoreApplication::processEvents();
    }
    void pick(QListWidget& list, int index) {
        QTest::mouseClick(list.viewport(), Qt::LeftButton, Qt::NoModifier, itemCentre(list, index));
        QCoreApplication::processEvents();
    }
};

using testing::AnswerColourChooser;

TEST_F(BasicPageShellTest, ClicksAtTheRectanglesReachTheMouseAndConfigBinWithApply) {
    MainWindow& main = program->controller();
    const Byte sensorType = program->device().image().currentSensorType;
    const DeviceConfig factory = FactoryDeviceConfig();
    ASSERT_EQ(main.working(), factory);
    DeviceConfig expected = factory;

    // Row 4 becomes "Triple-click".
    click(B.rowBox(4));
    pick(list(B.rowList(4).id), kFnTripleClick);
    EXPECT_EQ(program->window().list(B.rowList(4).id), nullptr) << "the list closed";
    expected.modeA.field(kFieldFunction, 3) = kFnTripleClick;

    // Row 3 becomes "DPI -" through the sub-list beside "DPI Switch".
    click(B.rowBox(3));
    QListWidget& functions = list(B.rowList(3).id);
    pointTo(functions, kFnDpiSwitch);
    EXPECT_EQ(functions.currentRow(), kFnDpiSwitch) << "the entry under the pointer is highlighted";
    QListWidget& dpiSwitches = list(B.dpiSubListId);
    EXPECT_EQ(dpiSwitches.count(), 3);
    const QRect item =
        functions.visualItemRect(functions.item(kFnDpiSwitch)).translated(functions.viewport()->pos());
    EXPECT_EQ(dpiSwitches.geometry().topLeft(),
              functions.geometry().topLeft() + QPoint(item.right() + 1, item.top()));
    pick(dpiSwitches, 1);
    expected.modeA.field(kFieldFunction, 2) = kFnDpiSwitch;
    expected.dpiSwitchChoiceA[2] = 2;

    // Stage 2 takes its sixth DPI level; the report rate becomes 125 Hz.
    click(B.dpiCell(1, 6));
    expected.dpiValueIndex[1] = 5;
    click(B.reportRateSegment(0));
    expected.reportRate = 8;

    // The lighting becomes Neon.
    click(B.lightingModeField);
    pick(list(B.lightingModeList.id), 2);
    expected.lightingMode = 3;

    // Loop colour 3 becomes #123456.
    AnswerColourChooser(QColor(0x12, 0x34, 0x56));
    click(B.loopColourSwatch(2).rect);
    expected.loopColours[2] = {0x12, 0x34, 0x56};

    EXPECT_EQ(main.working(), expected);
    EXPECT_EQ(main.labels()[0][2], "DPI -");
    EXPECT_EQ(main.labels()[0][3], "Triple-click");
    EXPECT_TRUE(messages.shown.empty());

    click(CommitButtonRect(TextId::kApply));
    const KeyMatrices matrices = BuildKeyMatrices(expected);
    EXPECT_EQ(mouse.keyMatrix(1), matrices[0]);
    EXPECT_EQ(mouse.keyMatrix(3), matrices[2]);
    EXPECT_NE(BuildKeyMatrices(factory)[0], matrices[0]);
    EXPECT_EQ(mouse.reportRate(), 8);
    EXPECT_EQ(mouse.dpiTable(), BuildDpiTable(expected, sensorType));
    EXPECT_EQ(mouse.dpiTable()[1], DpiCode(sensorType, 5));
    EXPECT_EQ(mouse.lightingCommand(),
              (std::array<Byte, 3>{3, static_cast<Byte>(factory.neonPeriod + 1), 3}));
    const std::vector<Byte> block0 = mouse.lightingBlock(0);
    EXPECT_EQ(block0, Bytes(PackLoopColours(expected)));
    EXPECT_EQ((std::vector<Byte>(block0.begin() + 6, block0.begin() + 9)),
              (std::vector<Byte>{0x12, 0x34, 0x56}));

    const std::string saved = data.read("config.bin");
    ASSERT_EQ(saved.size(), kConfigFileSize);
    EXPECT_EQ(saved.substr(1),
              std::string(reinterpret_cast<const char*>(expected.bytes().data()), kDeviceConfigSize));
    EXPECT_NE(data.read("str.ini").find("Item3=DPI -"), std::string::npos);
}

TEST_F(BasicPageShellTest, TheListsStandAtTheirRectanglesAndTheSwatchesInTheirColours) {
    click(B.rowBox(2));
    QListWidget& functions = list(B.rowList(2).id);
    const Rect r = B.rowList(2).rect;
    EXPECT_EQ(functions.geometry(), QRect(r.left, r.top, r.width(), r.height()));
    EXPECT_EQ(functions.count(), kFunctionCount);

    const QImage shot = program->window().grab().toImage();
    const Rect swatch = B.loopColourSwatch(0).rect;
    EXPECT_EQ(shot.pixelColor(swatch.left + 8, swatch.top + 8), QColor(0xFF, 0, 0))
        << "factory slot 1 is red";
}

// The first click of a double click on an entry picks it and closes the
// list; the second lands on the window, on whatever the list covered.
TEST_F(BasicPageShellTest, TheSecondClickOfADoubleClickOnAnEntryActsOnNothingBelow) {
    click(B.rowBox(3));
    QListWidget& functions = list(B.rowList(3).id);
    const QPoint entry = itemCentre(functions, kFnRightClick);
    const QPoint inWindow = functions.viewport()->mapTo(&program->window(), entry);
    ASSERT_TRUE(B.rowBox(5).contains({inWindow.x(), inWindow.y()})) << "the entry covers row 5's box";
    pick(functions, kFnRightClick);
    QMouseEvent second(QEvent::MouseButtonDblClick, inWindow, program->window().mapToGlobal(inWindow),
                       Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&program->window(), &second);
    EXPECT_EQ(program->controller().working().modeA.field(kFieldFunction, 2), kFnRightClick);
    EXPECT_EQ(program->window().list(B.rowList(5).id), nullptr);
}

TEST_F(BasicPageShellTest, LeavingForTheAdvancedPageRemovesTheLists) {
    click(B.rowBox(7));
    click(B.lightingModeField);
    ASSERT_NE(program->window().list(B.rowList(7).id), nullptr);
    click(WindowButtonRect(WindowButtonId::AdvancedPage));
    EXPECT_EQ(program->window().list(B.rowList(7).id), nullptr);
    EXPECT_EQ(program->window().list(B.lightingModeList.id), nullptr);
}

// Hovers and leaves every control of the window and of the page `page` shows,
// five times, one by one and from one straight to the next: the number of
// pixels of the picture that differ from before.
int PixelsChangedByHovering(Program& program, PageContent& page) {
    std::vector<Rect> controls;
    for (const WindowButton& button : kWindowButtons) {
        controls.push_back(button.rect);
    }
    for (const CaptionButton& button : kDialogButtons) {
        controls.push_back(button.rect);
    }
    for (const HoverControl& control : page.hoverControls()) {
        controls.push_back(control.rect);
    }
    const auto moveTo = [&program](QPoint at) {
        QMouseEvent move(QEvent::MouseMove, at, program.window().mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                         Qt::NoModifier);
        QApplication::sendEvent(&program.window(), &move);
    };
    const QPoint away(5, 300);
    const QImage before = program.window().picture().copy();
    for (int cycle = 0; cycle < 5; ++cycle) {
        for (const Rect& control : controls) {
            moveTo(Inside(control));
            moveTo(away);
        }
        for (const Rect& control : controls) {
            moveTo(Inside(control));
        }
        moveTo(away);
    }
    const QImage after = program.window().picture();
    EXPECT_EQ(after.size(), before.size());
    int differing = 0;
    for (int y = 0; y < std::min(after.height(), before.height()); ++y) {
        for (int x = 0; x < std::min(after.width(), before.width()); ++x) {
            differing += after.pixel(x, y) != before.pixel(x, y) ? 1 : 0;
        }
    }
    return differing;
}

// The pointer leaving the window takes the hover image with it.
TEST_F(BasicPageShellTest, LeavingTheWindowEndsItsHover) {
    const QImage before = program->window().picture().copy();
    const QPoint at = Inside(WindowButtonRect(WindowButtonId::AdvancedPage));
    QMouseEvent move(QEvent::MouseMove, at, program->window().mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(&program->window(), &move);
    ASSERT_NE(program->window().picture(), before) << "the button shows its hover image";
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&program->window(), &leave);
    EXPECT_EQ(program->window().picture(), before);
}

// Every control that shows a hover image goes back to exactly what it was:
// no edge of the hover image stays around the normal one.
TEST_F(BasicPageShellTest, HoveringAndLeavingEveryControlLeavesThePictureAsItWas) {
    EXPECT_EQ(PixelsChangedByHovering(*program, program->basicPage()), 0);
    click(WindowButtonRect(WindowButtonId::AdvancedPage));
    EXPECT_EQ(PixelsChangedByHovering(*program, program->advancedPage()), 0) << "on the Advanced page";
}

} // namespace
} // namespace quorvel
