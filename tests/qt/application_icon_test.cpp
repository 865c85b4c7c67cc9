#include <gtest/gtest.h>

#include <QIcon>
#include <QImage>
#include <QPainter>

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
    // Sizes between the pictures', a dense screen's and the disabled look are
    // made from the nearest picture; none comes out empty.
    const struct {
        QSize asked;
        qreal scale;
        QIcon::Mode mode;
        QSize pixels;
    } cases[] = {
        {{22, 22}, 1.0, QIcon::Normal, {22, 22}},   {{24, 24}, 2.0, QIcon::Normal, {48, 48}},
        {{16, 16}, 1.0, QIcon::Disabled, {16, 16}}, {{512, 512}, 1.0, QIcon::Normal, {256, 256}},
        {{40, 20}, 1.0, QIcon::Normal, {20, 20}},
    };
    for (const auto& c : cases) {
        const QImage picture = icon.pixmap(c.asked, c.scale, c.mode).toImage();
        EXPECT_EQ(picture.size(), c.pixels) << c.asked.width() << "x" << c.asked.height() << " at " << c.scale;
        EXPECT_GT(qAlpha(picture.pixel(picture.width() / 2, picture.height() / 2)), 0)
            << c.asked.width() << "x" << c.asked.height() << " at " << c.scale;
    }
    // Menus paint it.
    QImage painted(40, 40, QImage::Format_ARGB32_Premultiplied);
    painted.fill(Qt::transparent);
    {
        QPainter painter(&painted);
        icon.paint(&painter, QRect(4, 4, 32, 32));
    }
    EXPECT_GT(qAlpha(painted.pixel(20, 20)), 0);
    EXPECT_EQ(qAlpha(painted.pixel(1, 1)), 0);
}

} // namespace
} // namespace quorvel
