#include <gtest/gtest.h>

#include "ui/side_by_side.h"

namespace quorvel {
namespace {

// The demo's settings window (880 x 640, centred at start) and its button
// panel, on screens of several sizes.
TEST(PlaceSideBySide, TheCompanionGoesBesideTheWindowAndStaysOnTheScreen) {
    const struct {
        const char* name;
        Rect window;
        int width, height;
        Rect work;
        SideBySide placed;
    } cases[] = {
        {"wide screen: the pair centred",
         {520, 220, 1400, 860},
         300,
         460,
         {0, 0, 1920, 1080},
         {{362, 220}, {1258, 220}}},
        {"the pair just fits", {200, 192, 1080, 832}, 384, 460, {0, 0, 1280, 1024}, {{0, 192}, {896, 192}}},
        {"too narrow: the window stays, the panel on the roomier side, on the screen",
         {300, 100, 1180, 740},
         500,
         460,
         {0, 0, 1280, 1024},
         {{300, 100}, {0, 100}}},
        {"a work area below a top taskbar, a panel taller than the room below the window",
         {100, 600, 980, 1240},
         300,
         700,
         {0, 40, 1920, 1280},
         {{362, 600}, {1258, 580}}},
        {"at double density",
         {1040, 440, 2800, 1720},
         600,
         920,
         {0, 0, 3840, 2160},
         {{732, 440}, {2508, 440}}},
    };
    for (const auto& row : cases) {
        const SideBySide placed = PlaceSideBySide(row.window, row.width, row.height, row.work, 16);
        EXPECT_EQ(placed.window, row.placed.window) << row.name;
        EXPECT_EQ(placed.companion, row.placed.companion) << row.name;
        const Rect window{placed.window.x, placed.window.y, placed.window.x + row.window.width(),
                          placed.window.y + row.window.height()};
        const Rect panel{placed.companion.x, placed.companion.y, placed.companion.x + row.width,
                         placed.companion.y + row.height};
        EXPECT_TRUE(panel.left >= row.work.left && panel.right <= row.work.right &&
                    panel.top >= row.work.top && panel.bottom <= row.work.bottom)
            << row.name << ": the panel is on the screen";
        if (row.window.width() + 16 + row.width <= row.work.width()) {
            EXPECT_TRUE(panel.left >= window.right || panel.right <= window.left)
                << row.name << ": neither covers the other";
        }
    }
}

} // namespace
} // namespace quorvel
