#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <future>
#include <vector>

#include "win32/wic_image_decoder.h"

namespace quorvel {
namespace {

namespace fs = std::filesystem;

fs::path SourceFile(const char* name) {
    return fs::path(QUORVEL_SOURCE_DIR) / name;
}

using Rgba = std::vector<std::uint8_t>;

// Small PNG files written by hand in the common colour types, pixel by pixel.
TEST(WicImageDecoder, GivesStraightRgbaOfEachColourType) {
    const struct {
        const char* file;
        int width;
        int height;
        bool hasAlpha;
        Rgba rgba;
    } cases[] = {
        // A colour kept under alpha 0 and under partial alpha: not premultiplied.
        {"rgba.png", 3, 2, true, {255, 0, 0,   255, 0,   255, 0,   128, 10, 20, 30, 0,               //
                                  0,   0, 255, 255, 255, 255, 255, 64,  1,  2,  3,  200}},           //
        {"rgb.png", 2, 2, false, {255, 0, 0, 255, 0, 255, 0, 255, 0, 0, 255, 255, 12, 34, 56, 255}}, //
        {"grey.png", 2, 1, false, {0, 0, 0, 255, 200, 200, 200, 255}},                               //
        // A palette whose second entry is transparent has alpha too.
        {"palette-transparent.png", 2, 1, true, {255, 0, 0, 255, 0, 0, 255, 0}},
    };
    WicImageDecoder decoder;
    for (const auto& c : cases) {
        const auto image = decoder.decode(SourceFile("tests/win32/data") / c.file);
        ASSERT_TRUE(image) << c.file;
        EXPECT_EQ(image->width, c.width) << c.file;
        EXPECT_EQ(image->height, c.height) << c.file;
        EXPECT_EQ(image->hasAlpha, c.hasAlpha) << c.file;
        EXPECT_EQ(image->rgba, c.rgba) << c.file;
    }
}

// The delivered skin's images, against what the skin generator drew.
TEST(WicImageDecoder, ReadsTheSkinImages) {
    WicImageDecoder decoder;
    const auto pixel = [](const DecodedImage& image, int x, int y) {
        const auto at = image.rgba.begin() + 4 * (y * image.width + x);
        return Rgba(at, at + 4);
    };
    const auto background = decoder.decode(SourceFile("res/skins/Default/main.png"));
    ASSERT_TRUE(background);
    EXPECT_EQ(background->width, 880);
    EXPECT_EQ(background->height, 640);
    EXPECT_FALSE(background->hasAlpha);
    EXPECT_EQ(pixel(*background, 0, 0), (Rgba{40, 45, 55, 255}));
    EXPECT_EQ(pixel(*background, 440, 320), (Rgba{26, 30, 38, 255}));
    EXPECT_EQ(pixel(*background, 879, 639), (Rgba{36, 41, 50, 255}));

    const auto button = decoder.decode(SourceFile("res/skins/Default/button-over.png"));
    ASSERT_TRUE(button);
    EXPECT_EQ(button->width, 105);
    EXPECT_EQ(button->height, 21);
    EXPECT_TRUE(button->hasAlpha);
    EXPECT_EQ(pixel(*button, 0, 0), (Rgba{0, 0, 0, 0}));
    EXPECT_EQ(pixel(*button, 50, 10), (Rgba{15, 59, 70, 255}));
}

TEST(WicImageDecoder, GivesNothingForAMissingFileOrOneThatIsNoImage) {
    const fs::path folder =
        fs::temp_directory_path() / ("quorvel-wic-" + std::to_string(::GetCurrentProcessId()));
    fs::create_directories(folder);
    std::ofstream(folder / "notes.png") << "not a picture";
    // The beginning of a real PNG, cut off inside its pixel data.
    {
        std::ifstream whole(SourceFile("res/skins/Default/main.png"), std::ios::binary);
        std::vector<char> start(400);
        whole.read(start.data(), static_cast<std::streamsize>(start.size()));
        std::ofstream(folder / "cut.png", std::ios::binary).write(start.data(), whole.gcount());
    }
    WicImageDecoder decoder;
    for (const char* name : {"missing.png", "notes.png", "cut.png", ""}) {
        EXPECT_FALSE(decoder.decode(folder / name)) << name;
    }
    fs::remove_all(folder);
}

// A PNG of 157 bytes that claims 20000 x 20000 pixels is answered from its
// header: its size, and not a pixel decoded.
TEST(WicImageDecoder, AnImageBeyondTheLimitsIsJudgedByItsHeader) {
    const auto image = WicImageDecoder().decode(SourceFile("tests/data/claims-20000x20000.png"));
    ASSERT_TRUE(image);
    EXPECT_EQ(image->width, 20000);
    EXPECT_EQ(image->height, 20000);
    EXPECT_TRUE(image->rgba.empty());
}

// The image cache decodes a first drawing's images side by side; each thread
// sets up COM for itself. The calling thread here already has an apartment
// of the other kind, as a thread that started COM multithreaded has.
TEST(WicImageDecoder, DecodesOnSeveralThreadsAtOnce) {
    WicImageDecoder decoder;
    ASSERT_TRUE(decoder.decodesConcurrently());
    ASSERT_TRUE(SUCCEEDED(::CoInitializeEx(nullptr, COINIT_MULTITHREADED)));
    const auto expected = decoder.decode(SourceFile("res/skins/Default/main.png"));
    ASSERT_TRUE(expected);
    std::vector<std::future<std::optional<DecodedImage>>> decodes;
    for (int i = 0; i < 4; ++i) {
        decodes.push_back(std::async(
            std::launch::async, [&] { return decoder.decode(SourceFile("res/skins/Default/main.png")); }));
    }
    for (auto& decode : decodes) {
        const auto image = decode.get();
        ASSERT_TRUE(image);
        EXPECT_EQ(image->rgba, expected->rgba);
    }
    ::CoUninitialize();
}

} // namespace
} // namespace quorvel
