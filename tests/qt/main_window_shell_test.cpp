#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>

#include "app/factory_settings.h"
#include "app/main_window_layout.h"
#include "hid/sim/simulated_mouse.h"
#include "qt/program.h"
#include "qt/shell_support.h"

namespace quorvel {
namespace {

using testing::CommitButtonRect;
using testing::PutAway;

using ShellTest = testing::ProgramOnSimulatedMouse;

TEST_F(ShellTest, TheSkinnedWindowShowsTheBasicPage) {
    SkinnedWindow& window = program->window();
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(window.size(), QSize(kMainWindowClientArea.width(), kMainWindowClientArea.height()));
    EXPECT_TRUE(messages.shown.empty());
    const QImage shot = window.grab().toImage();
    shot.save(QString::fromStdString((data.folder / "shot.png").string()));
    // The OK button's artwork stands at its rectangle: it differs from the
    // page background just outside it.
    const Rect ok = CommitButtonRect(TextId::kOk);
    EXPECT_NE(shot.pixel(ok.left + 3, ok.top + 3), shot.pixel(ok.left - 3, ok.top - 3));
    // The close button's artwork too.
    const Rect close = WindowButtonRect(WindowButtonId::Close);
    EXPECT_NE(shot.pixel(close.left + close.width() / 2, close.top + close.height() / 2),
              shot.pixel(close.left - 4, close.top + 2));
}

TEST_F(ShellTest, ApplyOkAndCancelAtTheirRectangles) {
    MainWindow& main = program->controller();
    main.working().reportRate = 4;
    click(CommitButtonRect(TextId::kApply));
    EXPECT_TRUE(program->window().isVisible());
    EXPECT_EQ(mouse.reportRate(), 4);
    EXPECT_EQ(data.read("config.bin")[1 + 1925], 4);

    main.working().reportRate = 8;
    click(CommitButtonRect(TextId::kCancel));
    EXPECT_TRUE(PutAway(program->window()));
    EXPECT_EQ(main.working().reportRate, 4) << "the saved configuration is back";
    EXPECT_EQ(mouse.reportRate(), 4);

    main.OnTray(TrayAction::LeftUp);
    main.working().reportRate = 2;
    click(CommitButtonRect(TextId::kOk));
    EXPECT_TRUE(PutAway(program->window()));
    EXPECT_EQ(mouse.reportRate(), 2);
}

TEST_F(ShellTest, MinimiseHidesAndCloseEndsCleanly) {
    click(WindowButtonRect(WindowButtonId::Minimise));
    EXPECT_TRUE(PutAway(program->window()));
    program->controller().OnTray(TrayAction::LeftUp);
    EXPECT_FALSE(PutAway(program->window()));
    click(WindowButtonRect(WindowButtonId::Close));
    EXPECT_FALSE(program->device().connected() && mouse.openHandles(SimCollection::Feature) > 0)
        << "the device link is closed";
}

} // namespace
} // namespace quorvel

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // GSettings in this process's memory: no test reaches the user's desktop settings.
    qputenv("GSETTINGS_BACKEND", "memory");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
