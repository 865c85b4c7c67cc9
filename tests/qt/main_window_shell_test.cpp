#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <filesystem>

#include "app/basic_page_layout.h"
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

// Hidden in the tray, the window lets its picture and the decoded skin go;
// shown again, it draws the very picture it showed, on either page, also
// after the mouse changed what the page shows while it was hidden.
TEST_F(ShellTest, HiddenInTheTrayTheWindowLetsItsPictureGoAndDrawsTheSameWhenShown) {
    MainWindow& main = program->controller();
    main.OnTrayAppeared();
    QCoreApplication::processEvents();
    for (const bool advanced : {false, true}) {
        if (advanced) {
            main.DrawAdvancedPage();
        }
        QCoreApplication::processEvents();
        const QImage shown = program->window().picture().copy();
        click(WindowButtonRect(WindowButtonId::Minimise));
        ASSERT_FALSE(program->window().isVisible());
        EXPECT_TRUE(program->window().picture().isNull()) << "no picture while hidden";
        const std::size_t decodes = main.images().decodes();
        main.OnTray(TrayAction::LeftUp);
        QCoreApplication::processEvents();
        EXPECT_TRUE(program->window().isVisible());
        EXPECT_GT(main.images().decodes(), decodes) << "the skin was let go and is decoded again";
        EXPECT_TRUE(program->window().picture() == shown) << (advanced ? "Advanced page" : "Basic page");
    }

    // A change the page draws, made while the window is hidden, is in the
    // picture drawn when it comes back, as in one that stayed.
    main.DrawBasicPage();
    click(WindowButtonRect(WindowButtonId::Minimise));
    ASSERT_TRUE(program->window().picture().isNull());
    main.deliver(DeviceEventCode::DpiStage, 3);
    main.OnTray(TrayAction::LeftUp);
    QCoreApplication::processEvents();
    const QImage redrawn = program->window().picture().copy();
    main.DrawAdvancedPage();
    main.DrawBasicPage();
    EXPECT_TRUE(program->window().picture() == redrawn);
}

// A skin whose main.png has a whole header and end but damaged pixels: it
// is taken at the start without a word, as only the headers of its own
// images are read there; when the window's background is drawn (no mouse,
// no page over it) the image fails to decode and the Default skin's stands
// in for it, as for any image of a skin that cannot be drawn.
struct DamagedPixelsShellTest : testing::ProgramOnSimulatedMouse {
    void SetUp() override {
        namespace fs = std::filesystem;
        const fs::path skins = data.folder / "Skins";
        fs::copy(skins / "Ember", skins / "Damaged", fs::copy_options::recursive);
        std::string main = data.read("Skins/Damaged/main.png");
        for (std::size_t i = main.size() / 2; i < main.size() / 2 + 64; ++i) {
            main[i] = static_cast<char>(main[i] ^ 0x5A);
        }
        data.write("Skins/Damaged/main.png", main);
        data.write("str.ini", "[Skins]\nRColor=230\nGColor=232\nBColor=238\nPath=Damaged\n");
        mouse.unplug();
        ProgramOnSimulatedMouse::SetUp();
    }
};

TEST_F(DamagedPixelsShellTest, ASkinWithAWholeHeaderIsTakenAndItsUndecodableBackgroundFallsBack) {
    for (const auto& shown : messages.shown) {
        EXPECT_EQ(shown.text.find("cannot be drawn"), std::string::npos) << shown.text;
    }
    EXPECT_EQ(program->controller().skinName(), "Damaged");
    EXPECT_EQ(program->controller().currentPage(), Page::None);
    const QImage picture = program->window().picture();
    const QImage standard(QString::fromStdString((data.folder / "Skins/Default/main.png").string()));
    const QImage ember(QString::fromStdString((data.folder / "Skins/Ember/main.png").string()));
    ASSERT_NE(standard.pixel(5, 300), ember.pixel(5, 300));
    EXPECT_EQ(picture.size(), QSize(880, 640));
    EXPECT_EQ(picture.pixel(5, 300), standard.pixel(5, 300)) << "the Default skin's background stands in";
}

// On a screen of two device pixels to a layout pixel (run with
// QT_SCALE_FACTOR=2) the picture has every device pixel: the background's
// edges are the double-density image's own pixels, and the text has detail
// finer than a layout pixel. A 1x picture made larger has neither.
TEST_F(ShellTest, AtTwiceTheDensityThePictureIsDrawnAtThatDensity) {
    const QImage& picture = program->window().picture();
    if (program->window().devicePixelRatioF() != 2) {
        GTEST_SKIP() << "the screen is not of double density";
    }
    ASSERT_EQ(picture.size(), QSize(2 * kMainWindowClientArea.width(), 2 * kMainWindowClientArea.height()));
    const QImage sharp(QString::fromStdString((data.skin() / "BasicSet2@2x.png").string()));
    ASSERT_EQ(sharp.size(), picture.size());
    // Pixels on an edge of the background between two device pixels of one
    // layout pixel: an enlarged 1x picture cannot have them.
    int edges = 0;
    int kept = 0;
    for (int y = 0; y < sharp.height(); ++y) {
        for (int x = 0; x + 1 < sharp.width(); x += 2) {
            if (sharp.pixel(x, y) != sharp.pixel(x + 1, y)) {
                ++edges;
                kept += picture.pixel(x, y) == sharp.pixel(x, y) &&
                        picture.pixel(x + 1, y) == sharp.pixel(x + 1, y);
            }
        }
    }
    EXPECT_GT(kept, edges / 2) << kept << " of " << edges << " edge pixels of the background are its own";
    // Text: the label of row 1 has pairs of device pixels that differ.
    const Rect label = kBasicPage.rowLabel(1);
    int fine = 0;
    for (int y = 2 * label.top; y < 2 * label.bottom; ++y) {
        for (int x = 2 * label.left; x < 2 * label.right; x += 2) {
            fine += picture.pixel(x, y) != picture.pixel(x + 1, y);
        }
    }
    EXPECT_GT(fine, 100) << fine << " pairs of device pixels differ in the label";
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
