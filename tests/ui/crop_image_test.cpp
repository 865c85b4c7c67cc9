#include <gtest/gtest.h>

#include "ui/skin_painter.h"

namespace quorvel {
namespace {

// A 4 x 3 opaque image whose pixel (x, y) holds 10 * y + x.
SkinImage Numbered() {
    SkinImage image{4, 3, false, {}, 1};
    for (std::uint32_t y = 0; y < 3; ++y) {
        for (std::uint32_t x = 0; x < 4; ++x) {
            image.pixels.push_back(10 * y + x);
        }
    }
    return image;
}

TEST(CropImage, TakesThePartInsideTheImageOnly) {
    const struct {
        const char* what;
        Rect part;
        int width, height;
        std::vector<std::uint32_t> pixels;
    } cases[] = {
        {"inside", {1, 1, 3, 3}, 2, 2, {11, 12, 21, 22}},
        {"past the right and bottom edges", {2, 1, 9, 9}, 2, 2, {12, 13, 22, 23}},
        {"before the left and top edges", {-2, -1, 1, 1}, 1, 1, {0}},
        {"wholly outside", {5, 0, 8, 2}, 0, 0, {}},
    };
    for (const auto& c : cases) {
        const SkinImage crop = CropImage(Numbered(), c.part);
        EXPECT_EQ(crop.width, c.width) << c.what;
        EXPECT_EQ(crop.height, c.height) << c.what;
        EXPECT_EQ(crop.pixels, c.pixels) << c.what;
        EXPECT_FALSE(crop.hasAlpha) << "an opaque part is copied over what was drawn before";
    }
}

// A double-density image is cut at the same layout rectangle: twice the
// pixels each way, and it stays double density.
TEST(CropImage, APartOfADoubleDensityImageIsMeasuredInLayoutPixels) {
    SkinImage sharp = Numbered();
    sharp.scale = 2;
    const SkinImage crop = CropImage(sharp, {1, 0, 3, 1});
    EXPECT_EQ(crop.width, 2) << "the image's right edge cuts the part";
    EXPECT_EQ(crop.height, 2);
    EXPECT_EQ(crop.pixels, (std::vector<std::uint32_t>{2, 3, 12, 13}));
    EXPECT_EQ(crop.scale, 2);
}

} // namespace
} // namespace quorvel
