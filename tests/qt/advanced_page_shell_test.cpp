#include <gtest/gtest.h>

#include <QImage>

#include "app/advanced_page_layout.h"
#include "app/factory_settings.h"
#include "app/main_window_layout.h"
#include "qt/gnome_mouse_keys.h"
#include "qt/program.h"
#include "qt/shell_support.h"
#include "system/linux/gnome_pointer_settings.h"

namespace quorvel {
namespace {

const AdvancedPageLayout& A = kAdvancedPage;

using testing::CommitButtonRect;
using testing::GnomeAccelProfile;
using testing::GnomeMouseSpeed;

// The program on a GNOME desktop whose settings live in memory (see main()).
struct AdvancedPageShellTest : testing::ProgramOnSimulatedMouse {
    std::unique_ptr<GnomePointerSettings> gnome = GnomePointerSettings::Open();

    void SetUp() override {
        ASSERT_NE(gnome, nullptr) << "install gsettings-desktop-schemas";
        // A desktop at the middle speed without acceleration.
        ASSERT_EQ(gnome->setMouseSpeed(10), SettingStatus::Done);
        ASSERT_EQ(gnome->setPointerPrecision(false), SettingStatus::Done);
        pointer = gnome.get();
        ProgramOnSimulatedMouse::SetUp();
    }

    // The pointer settings' half of the window as it shows now.
    QImage pointerHalf() {
        return program->window()
            .grab(QRect(0, 150, 440, 460))
            .toImage()
            .convertToFormat(QImage::Format_RGB32);
    }
};

TEST_F(AdvancedPageShellTest, ApplyHandsTheClickedSettingsToGnomeAndCancelRestoresThePage) {
    MainWindow& main = program->controller();
    click(WindowButtonRect(WindowButtonId::AdvancedPage));
    ASSERT_EQ(main.currentPage(), Page::Advanced);
    EXPECT_EQ(main.working().mouseSpeed, 6) << "GNOME's middle speed shows six cells";
    EXPECT_EQ(main.working().enhancePointerPrecision, 0);

    click(A.sliderCell(0, 11));
    click(A.enhancePointerPrecisionBox);
    EXPECT_DOUBLE_EQ(GnomeMouseSpeed(), 0.0) << "nothing reaches the desktop before Apply";
    click(CommitButtonRect(TextId::kApply));
    EXPECT_DOUBLE_EQ(GnomeMouseSpeed(), 1.0);
    EXPECT_EQ(GnomeAccelProfile(), "default");
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(main.saved().mouseSpeed, 11);
    const QImage applied = pointerHalf();

    // Edited again and cancelled: GNOME keeps what was applied, the page
    // shows the saved record when the window opens again.
    click(A.sliderCell(0, 2));
    click(A.enhancePointerPrecisionBox);
    EXPECT_NE(pointerHalf(), applied);
    click(CommitButtonRect(TextId::kCancel));
    EXPECT_TRUE(testing::PutAway(program->window()));
    EXPECT_DOUBLE_EQ(GnomeMouseSpeed(), 1.0);
    EXPECT_EQ(GnomeAccelProfile(), "default");
    main.OnTray(TrayAction::LeftUp);
    QCoreApplication::processEvents();
    EXPECT_EQ(main.working().mouseSpeed, 11);
    EXPECT_EQ(main.working().enhancePointerPrecision, 1);
    EXPECT_EQ(pointerHalf(), applied);
}

} // namespace
} // namespace quorvel
