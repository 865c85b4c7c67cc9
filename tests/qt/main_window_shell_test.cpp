#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>

#include "app/factory_settings.h"
#include "app/main_window_layout.h"
#include "hid/sim/simulated_mouse.h"
#include "qt/program.h"
#include "support/memory_file_system.h"
#include "support/recording_ui.h"

namespace quorvel {
namespace {

namespace fs = std::filesystem;

// A data folder of its own for each test: the factory files and the
// Default skin, as a fresh installation has them.
struct DataFolder {
    fs::path folder;
    DataFolder() {
        std::string pattern = (fs::temp_directory_path() / "quorvel-shell-XXXXXX").string();
        folder = ::mkdtemp(pattern.data());
        fs::copy(fs::path(QUORVEL_SOURCE_DIR) / "res/skins", folder / "Skins", fs::copy_options::recursive);
        LocalFileSystem files;
        const std::string config = FactoryConfigBin();
        const std::string str = FactoryStrIni();
        files.writeAtomically(folder / "config.bin", std::span(reinterpret_cast<const std::uint8_t*>(config.data()), config.size()));
        files.writeAtomically(folder / "str.ini", std::span(reinterpret_cast<const std::uint8_t*>(str.data()), str.size()));
    }
    ~DataFolder() { fs::remove_all(folder); }
    std::string configBin() const { return LocalFileSystem().readAll(folder / "config.bin").value_or(""); }
};

QPoint Inside(const Rect& rect) { return {rect.left + 2, rect.top + 2}; }
Rect CommitButton(TextId caption) {
    for (const CaptionButton& button : kDialogButtons) {
        if (button.caption == caption) {
            return button.rect;
        }
    }
    return {};
}

struct ShellTest : ::testing::Test {
    DataFolder data;
    SimulatedMouse mouse;
    testing::RecordingMessages messages;
    testing::FakeInstance instance;
    std::unique_ptr<Program> program;

    void SetUp() override {
        Program::Options options;
        options.paths = DataPathsIn(data.folder, data.folder / "quorvel");
        options.messages = &messages;
        options.instance = &instance;
        program = std::make_unique<Program>(mouse, mouse.clock(), std::move(options));
        ASSERT_TRUE(program->start());
        program->controller().OnTray(TrayAction::LeftUp);
        QCoreApplication::processEvents();
    }
    void click(const Rect& rect) {
        QTest::mouseClick(&program->window(), Qt::LeftButton, Qt::NoModifier, Inside(rect));
        QCoreApplication::processEvents();
    }
};

TEST_F(ShellTest, TheSkinnedWindowShowsTheBasicPage) {
    SkinnedWindow& window = program->window();
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(window.size(), QSize(kMainWindowClientArea.width(), kMainWindowClientArea.height()));
    EXPECT_TRUE(messages.shown.empty());
    const QImage shot = window.grab().toImage();
    shot.save(QString::fromStdString((data.folder / "shot.png").string()));
    // The OK button's artwork stands at its rectangle: it differs from the
    // page background just outside it.
    const Rect ok = CommitButton(TextId::kOk);
    EXPECT_NE(shot.pixel(ok.left + 3, ok.top + 3), shot.pixel(ok.left - 3, ok.top - 3));
    // The close button's artwork too.
    const Rect close = WindowButtonRect(WindowButtonId::Close);
    EXPECT_NE(shot.pixel(close.left + close.width() / 2, close.top + close.height() / 2), shot.pixel(close.left - 4, close.top + 2));
}

TEST_F(ShellTest, ApplyOkAndCancelAtTheirRectangles) {
    MainWindow& main = program->controller();
    main.working().reportRate = 4;
    click(CommitButton(TextId::kApply));
    EXPECT_TRUE(program->window().isVisible());
    EXPECT_EQ(mouse.reportRate(), 4);
    EXPECT_EQ(data.configBin()[1 + 1925], 4);

    main.working().reportRate = 8;
    click(CommitButton(TextId::kCancel));
    EXPECT_FALSE(program->window().isVisible());
    EXPECT_EQ(main.working().reportRate, 4) << "the saved configuration is back";
    EXPECT_EQ(mouse.reportRate(), 4);

    main.OnTray(TrayAction::LeftUp);
    main.working().reportRate = 2;
    click(CommitButton(TextId::kOk));
    EXPECT_FALSE(program->window().isVisible());
    EXPECT_EQ(mouse.reportRate(), 2);
}

TEST_F(ShellTest, MinimiseHidesAndCloseEndsCleanly) {
    click(WindowButtonRect(WindowButtonId::Minimise));
    EXPECT_FALSE(program->window().isVisible());
    program->controller().OnTray(TrayAction::LeftUp);
    EXPECT_TRUE(program->window().isVisible());
    click(WindowButtonRect(WindowButtonId::Close));
    EXPECT_FALSE(program->device().connected() && mouse.openHandles(SimCollection::Feature) > 0)
        << "the device link is closed";
}

} // namespace
} // namespace quorvel

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
