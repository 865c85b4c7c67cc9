#include <gtest/gtest.h>

#include "win32/dib_picture.h"

namespace quorvel {
namespace {

TEST(DibPicture, StartsInItsBlankColour) {
    DibPicture picture({0x12, 0x34, 0x56});
    picture.resize(4, 3, 1);
    ASSERT_EQ(picture.pixelWidth(), 4);
    EXPECT_EQ(picture.pixels()[11], 0xFF123456u);
}

} // namespace
} // namespace quorvel
