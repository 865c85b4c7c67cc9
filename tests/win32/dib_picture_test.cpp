#include <gtest/gtest.h>

#include <windows.h>

#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

#include "win32/dib_picture.h"
#include "win32/wic_image_decoder.h"

namespace quorvel {
namespace {

namespace fs = std::filesystem;

constexpr Colour kBlank{0x10, 0x20, 0x30};
constexpr std::uint32_t kBlankPixel = 0xFF102030;

std::uint32_t At(const DibPicture& picture, int x, int y) {
    return picture.pixels()[y * picture.pixelWidth() + x];
}

// The pixels of the picture that are not blank, as (x, y) pairs in reading order.
std::vector<std::pair<int, int>> Drawn(const DibPicture& picture) {
    std::vector<std::pair<int, int>> drawn;
    for (int y = 0; y < picture.pixelHeight(); ++y) {
        for (int x = 0; x < picture.pixelWidth(); ++x) {
            if (At(picture, x, y) != kBlankPixel) {
                drawn.emplace_back(x, y);
            }
        }
    }
    return drawn;
}

bool AllOpaque(const DibPicture& picture) {
    for (int i = 0; i < picture.pixelWidth() * picture.pixelHeight(); ++i) {
        if ((picture.pixels()[i] >> 24) != 0xFF) {
            return false;
        }
    }
    return true;
}

SkinImage Image(int width, int height, bool hasAlpha, std::vector<std::uint32_t> pixels, int scale = 1) {
    return SkinImage{width, height, hasAlpha, std::move(pixels), scale};
}

TEST(DibPicture, BlendsAnImageWithAlphaAndCopiesOneWithout) {
    // Premultiplied: opaque red, nothing, half-covering white, a quarter-covering blue.
    const std::vector<std::uint32_t> pixels{0xFFFF0000, 0x00000000, 0x80808080, 0x40000040};
    const struct {
        bool hasAlpha;
        std::vector<std::uint32_t> expected;
    } cases[] = {
        // Source over: each channel is the source's plus the picture's times
        // what the source leaves uncovered.
        {true, {0xFFFF0000, kBlankPixel, 0xFF889098, 0xFF0C1864}},
        // No alpha: the pixels replace the picture's as they are, opaque.
        {false, {0xFFFF0000, 0xFF000000, 0xFF808080, 0xFF000040}},
    };
    for (const auto& c : cases) {
        DibPicture picture(kBlank);
        picture.resize(6, 3, 1);
        picture.drawImage(Image(2, 2, c.hasAlpha, pixels), {3, 1});
        EXPECT_EQ(At(picture, 3, 1), c.expected[0]) << c.hasAlpha;
        EXPECT_EQ(At(picture, 4, 1), c.expected[1]) << c.hasAlpha;
        EXPECT_EQ(At(picture, 3, 2), c.expected[2]) << c.hasAlpha;
        EXPECT_EQ(At(picture, 4, 2), c.expected[3]) << c.hasAlpha;
        std::vector<std::pair<int, int>> inside{{3, 1}, {4, 1}, {3, 2}, {4, 2}};
        if (c.hasAlpha) {
            inside.erase(inside.begin() + 1); // the transparent pixel left the blank as it was
        }
        EXPECT_EQ(Drawn(picture), inside) << "nothing drawn outside the image";
    }
}

// An image reaching past any edge of the picture draws its part inside and
// writes nothing beyond it.
TEST(DibPicture, ClipsImagesAtItsEdges) {
    std::vector<std::uint32_t> pixels(5 * 4);
    for (std::size_t i = 0; i < pixels.size(); ++i) {
        pixels[i] = 0xFF000000u | static_cast<std::uint32_t>(i + 1);
    }
    const SkinImage image = Image(5, 4, false, pixels);
    const struct {
        Point at;
        std::vector<std::pair<int, int>> drawn;
        std::uint32_t topLeft; // the picture's first drawn pixel
    } cases[] = {
        {{-3, -2}, {{0, 0}, {1, 0}, {0, 1}, {1, 1}}, 0xFF00000E},
        {{2, 1}, {{2, 1}, {2, 2}}, 0xFF000001},
        {{-4, 2}, {{0, 2}}, 0xFF000005},
        {{3, 0}, {}, 0},
        {{0, -4}, {}, 0},
    };
    for (const auto& c : cases) {
        DibPicture picture(kBlank);
        picture.resize(3, 3, 1);
        picture.drawImage(image, c.at);
        const auto drawn = Drawn(picture);
        EXPECT_EQ(drawn, c.drawn) << c.at.x << "," << c.at.y;
        if (!drawn.empty()) {
            EXPECT_EQ(At(picture, drawn[0].first, drawn[0].second), c.topLeft) << c.at.x << "," << c.at.y;
        }
    }
}

// A picture at twice the density draws a plain image at twice its size,
// smoothly, and a double-density image pixel for pixel.
TEST(DibPicture, DrawsImagesAtItsDensity) {
    const std::vector<std::uint32_t> redBlue{0xFFFF0000, 0xFF0000FF};
    DibPicture picture(kBlank);
    picture.resize(6, 2, 2);
    ASSERT_EQ(picture.pixelWidth(), 12);
    ASSERT_EQ(picture.pixelHeight(), 4);
    EXPECT_EQ(picture.imageDensity(), 2);

    picture.drawImage(Image(2, 1, false, redBlue), {1, 0});
    // Four device pixels wide, two high, from (2, 0).
    for (int y = 0; y < 4; ++y) {
        EXPECT_EQ(At(picture, 1, y), kBlankPixel);
        EXPECT_EQ(At(picture, 6, y), kBlankPixel);
    }
    EXPECT_EQ(At(picture, 2, 0), 0xFFFF0000u);
    EXPECT_EQ(At(picture, 5, 1), 0xFF0000FFu);
    EXPECT_EQ(At(picture, 2, 2), kBlankPixel);
    const std::uint32_t between = At(picture, 3, 0);
    EXPECT_GT((between >> 16) & 0xFF, 0u) << "the edge between red and blue is smoothed";
    EXPECT_GT(between & 0xFF, 0u);

    picture.drawImage(Image(2, 1, false, redBlue, 2), {4, 1});
    EXPECT_EQ(At(picture, 8, 2), 0xFFFF0000u);
    EXPECT_EQ(At(picture, 9, 2), 0xFF0000FFu);
    EXPECT_EQ(At(picture, 10, 2), kBlankPixel);
    EXPECT_EQ(At(picture, 8, 3), kBlankPixel);

    // Images side by side meet without a gap or an overlap at any ratio.
    for (const double ratio : {1.25, 1.5, 1.75}) {
        picture.resize(8, 1, ratio);
        picture.fillRect({0, 0, 8, 1}, kBlank);
        const std::vector<std::uint32_t> red(1, 0xFFFF0000);
        const std::vector<std::uint32_t> blue(3, 0xFF0000FF);
        picture.drawImage(Image(1, 1, false, red), {1, 0});
        picture.drawImage(Image(3, 1, false, blue), {2, 0});
        std::string row;
        for (int x = 0; x < picture.pixelWidth(); ++x) {
            row += At(picture, x, 0) == 0xFFFF0000 ? 'r' : At(picture, x, 0) == 0xFF0000FF ? 'b' : '.';
        }
        const auto reds = static_cast<std::size_t>(std::lround(2 * ratio) - std::lround(ratio));
        const auto blues = static_cast<std::size_t>(std::lround(5 * ratio) - std::lround(2 * ratio));
        EXPECT_EQ(row.substr(static_cast<std::size_t>(std::lround(ratio)), reds + blues + 1),
                  std::string(reds, 'r') + std::string(blues, 'b') + '.')
            << ratio;
    }

    const struct {
        double ratio;
        int width;
        int density;
    } densities[] = {{1, 6, 1}, {1.25, 8, 2}, {1.5, 9, 2}, {2, 12, 2}, {3, 18, 2}};
    for (const auto& d : densities) {
        picture.resize(6, 2, d.ratio);
        EXPECT_EQ(picture.pixelWidth(), d.width) << d.ratio;
        EXPECT_EQ(picture.imageDensity(), d.density) << d.ratio;
    }
}

TEST(DibPicture, FillsTheDevicePixelsOfALayoutRectangle) {
    DibPicture picture(kBlank);
    picture.resize(4, 4, 2);
    picture.fillRect({1, 2, 2, 5}, {0xAB, 0xCD, 0xEF}); // reaches past the bottom
    std::vector<std::pair<int, int>> expected;
    for (int y = 4; y < 8; ++y) {
        expected.insert(expected.end(), {{2, y}, {3, y}});
    }
    EXPECT_EQ(Drawn(picture), expected);
    EXPECT_EQ(At(picture, 3, 7), 0xFFABCDEFu);
    picture.fillRect({-3, -3, -1, 9}, {0, 0, 0}); // wholly outside
    EXPECT_EQ(Drawn(picture), expected);
}

TEST(DibPicture, KeepsWhatWasDrawnWhenItsSizeChanges) {
    DibPicture picture(kBlank);
    picture.resize(3, 2, 1);
    picture.fillRect({1, 0, 2, 1}, {0xFF, 0, 0});
    picture.resize(5, 3, 1);
    EXPECT_EQ(Drawn(picture), (std::vector<std::pair<int, int>>{{1, 0}}));
    EXPECT_EQ(At(picture, 1, 0), 0xFFFF0000u);

    // At twice the density the drawing stays where it was in layout pixels.
    picture.resize(5, 3, 2);
    EXPECT_EQ(Drawn(picture), (std::vector<std::pair<int, int>>{{2, 0}, {3, 0}, {2, 1}, {3, 1}}));

    picture.resize(1, 1, 1); // smaller: what no longer fits is gone
    EXPECT_EQ(picture.pixelWidth(), 1);
    EXPECT_EQ(At(picture, 0, 0), kBlankPixel);
}

// Text lands inside its box, however long, and the picture stays opaque
// where GDI drew it.
TEST(DibPicture, DrawsTextInsideItsBox) {
    const struct {
        const char* text;
        Rect box;
        bool wrapped;
    } cases[] = {
        {"Apply", {10, 10, 90, 30}, false},
        {"Combo Key-Right Ctrl+Right Windows+Num Enter", {10, 10, 90, 30}, false},
        {"Press the keys to assign", {10, 2, 90, 58}, true},
    };
    for (const double ratio : {1.0, 2.0}) {
        for (const auto& c : cases) {
            DibPicture picture(kBlank);
            picture.resize(100, 60, ratio);
            if (c.wrapped) {
                picture.drawWrappedText(c.text, c.box, FontRole::Text, {255, 255, 255});
            } else {
                picture.drawText(c.text, c.box, FontRole::Text, {255, 255, 255}, TextAlign::Centre);
            }
            const auto drawn = Drawn(picture);
            EXPECT_GT(drawn.size(), 20u) << c.text << " " << ratio;
            for (const auto& [x, y] : drawn) {
                const Point layout{static_cast<int>(x / ratio), static_cast<int>(y / ratio)};
                ASSERT_TRUE(c.box.contains(layout)) << c.text << " at " << x << "," << y << " " << ratio;
            }
            EXPECT_TRUE(AllOpaque(picture)) << c.text;
            if (c.wrapped) {
                EXPECT_GT(drawn.back().second - drawn.front().second, 20 * ratio) << "two lines";
            }
        }
    }
}

TEST(DibPicture, AlignsTextInItsBox) {
    const auto extent = [](TextAlign align) {
        DibPicture picture(kBlank);
        picture.resize(200, 20, 1);
        picture.drawText("OK", {0, 0, 200, 20}, FontRole::Title, {255, 255, 0}, align);
        int left = 200;
        int right = 0;
        for (const auto& [x, y] : Drawn(picture)) {
            left = std::min(left, x);
            right = std::max(right, x);
        }
        return std::pair{left, right};
    };
    const auto [leftStart, leftEnd] = extent(TextAlign::Left);
    const auto [centreStart, centreEnd] = extent(TextAlign::Centre);
    const auto [rightStart, rightEnd] = extent(TextAlign::Right);
    EXPECT_LT(leftStart, 5);
    EXPECT_NEAR(centreStart + centreEnd, 200, 6);
    EXPECT_GT(rightEnd, 194);
}

// The window is repainted from the picture at once, in one copy.
TEST(DibPicture, PresentRepaintsItsWindowFromThePicture) {
    static DibPicture* painted = nullptr;
    static int paints = 0;
    WNDCLASSW windowClass{};
    windowClass.lpszClassName = L"QuorvelDibPictureTest";
    windowClass.hInstance = ::GetModuleHandleW(nullptr);
    windowClass.lpfnWndProc = [](HWND window, UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
        if (message == WM_PAINT) {
            PAINTSTRUCT paint;
            const HDC dc = ::BeginPaint(window, &paint);
            painted->paintOnto(dc);
            ::EndPaint(window, &paint);
            ++paints;
            return 0;
        }
        return ::DefWindowProcW(window, message, wParam, lParam);
    };
    ASSERT_TRUE(::RegisterClassW(&windowClass));
    const HWND window = ::CreateWindowExW(0, windowClass.lpszClassName, L"", WS_POPUP | WS_VISIBLE, 0, 0, 40,
                                          30, nullptr, nullptr, windowClass.hInstance, nullptr);
    ASSERT_NE(window, nullptr);

    DibPicture picture(kBlank);
    painted = &picture;
    picture.resize(40, 30, 1);
    picture.fillRect({5, 5, 20, 20}, {0, 0xFF, 0});
    picture.present(); // no window yet: nothing happens
    picture.setWindow(window);
    ::UpdateWindow(window);
    paints = 0;
    picture.present();
    EXPECT_EQ(paints, 1);

    // One copy onto another device context gives the picture's pixels.
    const HDC screen = ::GetDC(nullptr);
    const HDC copy = ::CreateCompatibleDC(screen);
    const HBITMAP bitmap = ::CreateCompatibleBitmap(screen, 40, 30);
    const HGDIOBJ previous = ::SelectObject(copy, bitmap);
    picture.paintOnto(copy);
    EXPECT_EQ(::GetPixel(copy, 10, 10), RGB(0, 0xFF, 0));
    EXPECT_EQ(::GetPixel(copy, 2, 2), RGB(0x10, 0x20, 0x30));
    ::SelectObject(copy, previous);
    ::DeleteObject(bitmap);
    ::DeleteDC(copy);
    ::ReleaseDC(nullptr, screen);
    ::DestroyWindow(window);
    ::UnregisterClassW(windowClass.lpszClassName, windowClass.hInstance);
}

struct SavePngTest : ::testing::Test {
    fs::path folder;
    void SetUp() override {
        folder = fs::temp_directory_path() / ("quorvel-png-" + std::to_string(::GetCurrentProcessId()));
        fs::remove_all(folder);
        ASSERT_TRUE(fs::create_directories(folder));
    }
    void TearDown() override { fs::remove_all(folder); }
};

TEST_F(SavePngTest, ReadsBackAsTheSamePixels) {
    DibPicture picture({0x01, 0x02, 0x03});
    picture.resize(37, 21, 1);
    picture.fillRect({3, 3, 30, 8}, {0xFE, 0x80, 0x00});
    picture.drawImage(Image(2, 1, true, {0x80400000, 0xFF00FF00}), {33, 18});
    picture.drawText("Mode A", {0, 8, 37, 21}, FontRole::Text, {0xEE, 0xDD, 0xCC}, TextAlign::Left);
    const fs::path file = folder / "picture.png";
    ASSERT_TRUE(SavePng(picture, file));

    const auto image = WicImageDecoder().decode(file);
    ASSERT_TRUE(image);
    ASSERT_EQ(image->width, 37);
    ASSERT_EQ(image->height, 21);
    EXPECT_FALSE(image->hasAlpha);
    for (int i = 0; i < 37 * 21; ++i) {
        const std::uint32_t pixel = picture.pixels()[i];
        const std::uint8_t* rgba = &image->rgba[4 * static_cast<std::size_t>(i)];
        ASSERT_EQ((std::uint32_t{rgba[0]} << 16) | (std::uint32_t{rgba[1]} << 8) | rgba[2], pixel & 0xFFFFFF)
            << "pixel " << i;
    }
}

TEST_F(SavePngTest, FailsWhereNoFileCanBeWritten) {
    DibPicture picture(kBlank);
    picture.resize(4, 4, 1);
    fs::create_directory(folder / "taken.png");
    for (const fs::path& file : {folder / "missing" / "picture.png", folder / "taken.png"}) {
        EXPECT_FALSE(SavePng(picture, file)) << file;
    }
    EXPECT_TRUE(fs::is_directory(folder / "taken.png"));
    EXPECT_FALSE(fs::exists(folder / "missing"));
}

} // namespace
} // namespace quorvel
