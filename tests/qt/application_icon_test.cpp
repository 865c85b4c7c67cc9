#include <gtest/gtest.h>

#include <QIcon>

#include "qt/qt_shell_ports.h"

namespace quorvel {
namespace {

// With no icon theme to find it in (a build folder, a desktop without the
// package), the icon still comes in every size the tray and menus ask for:
// the copy built into the program is linked in and complete.
TEST(ApplicationIcon, ComesFromTheProgramWhereNoThemeHasIt) {
    const QStringList themePaths = QIcon::themeSearchPaths();
    const QStringList fallbackPaths = QIcon::fallbackSearchPaths();
    QIcon::setThemeSearchPaths({});
    QIcon::setFallbackSearchPaths({});
    const QIcon icon = QtTray::ApplicationIcon();
    QIcon::setThemeSearchPaths(themePaths);
    QIcon::setFallbackSearchPaths(fallbackPaths);

    ASSERT_FALSE(icon.isNull());
    for (const int size : {16, 32, 48, 64, 128, 256}) {
        EXPECT_TRUE(icon.availableSizes().contains(QSize(size, size))) << size << " px";
        EXPECT_EQ(icon.pixmap(size).size(), QSize(size, size)) << size << " px";
    }
}

} // namespace
} // namespace quorvel
