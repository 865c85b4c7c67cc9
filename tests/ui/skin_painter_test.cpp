#include <gtest/gtest.h>
#include <mutex>

#include "support/memory_file_system.h"
#include "support/recording_ui.h"
#include "ui/hover_set.h"
#include "ui/skin_painter.h"

namespace quorvel {
namespace {

using namespace quorvel::testing;

DecodedImage Pixels(bool hasAlpha, std::vector<std::uint8_t> rgba) {
    return {static_cast<int>(rgba.size() / 4), 1, hasAlpha, std::move(rgba)};
}

TEST(Premultiply, ChannelsTimesAlphaTruncated) {
    const struct {
        const char* name;
        DecodedImage in;
        std::vector<std::uint32_t> out;
    } cases[] = {
        {"alpha 0 clears the colour", Pixels(true, {200, 100, 50, 0}), {0x00000000}},
        {"alpha 255 keeps the colour exactly", Pixels(true, {200, 100, 50, 255}), {0xFFC86432}},
        {"half alpha truncates",
         Pixels(true, {255, 101, 3, 128}),
         {0x80803201}}, // 101 * 128 / 255 = 50.7 -> 50 (0x32)
        {"24-bit images are opaque and untouched", Pixels(false, {200, 100, 50, 7}), {0xFFC86432}},
        {"several pixels", Pixels(true, {10, 20, 30, 255, 255, 255, 255, 1}), {0xFF0A141E, 0x01010101}},
    };
    for (const auto& row : cases) {
        const SkinImage image = Premultiply(row.in);
        EXPECT_EQ(image.pixels, row.out) << row.name;
        EXPECT_EQ(image.hasAlpha, row.in.hasAlpha) << row.name;
    }
}

TEST(Premultiply, AShortPixelBufferNeverReadsPastIt) {
    DecodedImage damaged{4, 4, true, {1, 2, 3, 4}};
    const SkinImage image = Premultiply(damaged);
    EXPECT_EQ(image.pixels.size(), 16u);
}

TEST(ImageCache, DecodesOnceAndNoticesChangedAndDeletedFiles) {
    MemoryFileSystem files;
    FakeDecoder decoder(files);
    ImageCache cache(files, decoder);
    files.files["/s/a.png"] = "10 2 1";
    ASSERT_NE(cache.load("/s/a.png"), nullptr);
    ASSERT_NE(cache.load("/s/a.png"), nullptr);
    EXPECT_EQ(decoder.decodes, 1) << "a hover redraw decodes nothing";

    const std::string newer = "12 2 1";
    files.writeAtomically("/s/a.png",
                          std::span(reinterpret_cast<const std::uint8_t*>(newer.data()), newer.size()));
    ASSERT_NE(cache.load("/s/a.png"), nullptr);
    EXPECT_EQ(cache.load("/s/a.png")->width, 12);
    EXPECT_EQ(decoder.decodes, 2);

    files.files.erase("/s/a.png");
    EXPECT_EQ(cache.load("/s/a.png"), nullptr);
    files.files["/s/junk.png"] = "not an image";
    EXPECT_EQ(cache.load("/s/junk.png"), nullptr);
}

// A sharp screen takes the "@2x" image where the skin has one and the plain
// image (scaled) where it has not; a plain screen never takes it.
TEST(ImageCache, ADoubleDensityImageIsPreferredOnlyAtDoubleDensity) {
    MemoryFileSystem files;
    FakeDecoder decoder(files);
    ImageCache cache(files, decoder);
    files.files["/s/a.png"] = "10 2 1";
    files.files["/s/a@2x.png"] = "20 4 1";
    files.files["/s/b.png"] = "30 2 1";
    const struct {
        const char* path;
        int density;
        int width;
        int scale;
    } cases[] = {
        {"/s/a.png", 1, 10, 1},
        {"/s/a.png", 2, 20, 2},
        {"/s/b.png", 2, 30, 1},
    };
    for (const auto& row : cases) {
        const SkinImage* image = cache.load(row.path, row.density);
        ASSERT_NE(image, nullptr) << row.path;
        EXPECT_EQ(image->width, row.width) << row.path << " at " << row.density;
        EXPECT_EQ(image->scale, row.scale) << row.path << " at " << row.density;
    }
    files.files.erase("/s/a@2x.png");
    EXPECT_EQ(cache.load("/s/a.png", 2)->scale, 1) << "a double-density image deleted meanwhile";
}

// The first drawing's images decode together (on several threads where the
// decoder allows it) and load() then decodes nothing; what is missing or no
// image is simply not cached, and a cached image is not decoded again.
TEST(ImageCache, PreloadDecodesEachImageOnceForTheLoadsThatFollow) {
    struct SharedDecoder : ImageDecoder {
        explicit SharedDecoder(const MemoryFileSystem& files) : fake(files) {}
        std::optional<DecodedImage> decode(const std::filesystem::path& path) override {
            const std::lock_guard lock(mutex);
            return fake.decode(path);
        }
        bool decodesConcurrently() const override { return concurrent; }
        FakeDecoder fake;
        std::mutex mutex;
        bool concurrent = true;
    };
    for (const bool concurrent : {true, false}) {
        SCOPED_TRACE(concurrent ? "on several threads" : "on the calling thread");
        MemoryFileSystem files;
        SharedDecoder decoder(files);
        decoder.concurrent = concurrent;
        ImageCache cache(files, decoder);
        files.files["/s/a.png"] = "10 2 1";
        files.files["/s/a@2x.png"] = "20 4 1";
        files.files["/s/b.png"] = "30 2 1";
        files.files["/s/junk.png"] = "not an image";
        ASSERT_NE(cache.load("/s/b.png", 2), nullptr);

        const std::vector<std::filesystem::path> paths = {"/s/a.png", "/s/b.png", "/s/gone.png", "/s/junk.png",
                                                          "/s/a.png"};
        cache.preload(paths, 2);
        EXPECT_EQ(decoder.fake.decodes, 3) << "b once before, then a@2x and junk once each";
        ASSERT_NE(cache.load("/s/a.png", 2), nullptr);
        EXPECT_EQ(cache.load("/s/a.png", 2)->scale, 2);
        EXPECT_EQ(cache.load("/s/b.png", 2)->width, 30);
        EXPECT_EQ(cache.load("/s/gone.png", 2), nullptr);
        EXPECT_EQ(decoder.fake.decodes, 3) << "the loads after the preload decode nothing";
        EXPECT_EQ(cache.decodes(), 3u);
    }
}

// An image is drawn only when it decodes whole and within the limits; what
// is wrong with it is told, and kept until the file changes, so that a
// damaged image is not decoded again at every hover.
TEST(ImageCache, AnImageThatCannotBeDrawnSaysWhyOnce) {
    struct ScriptedDecoder : ImageDecoder {
        std::optional<DecodedImage> answer;
        int decodes = 0;
        std::optional<DecodedImage> decode(const std::filesystem::path&) override {
            ++decodes;
            return answer;
        }
    };
    const auto image = [](int width, int height, std::size_t bytes) {
        return DecodedImage{width, height, true, std::vector<std::uint8_t>(bytes, 0xFF)};
    };
    // Pixels ready to draw, of an image without alpha.
    const auto opaque = [](int width, int height, std::size_t count, bool hasAlpha = false) {
        return DecodedImage{width, height, hasAlpha, {}, std::vector<std::uint32_t>(count, 0xFF102030)};
    };
    using Kind = ImageFault::Kind;
    const struct {
        const char* name;
        std::optional<DecodedImage> decoded;
        std::optional<ImageFault> fault;
    } cases[] = {
        {"ready pixels, whole", opaque(4, 4, 16), std::nullopt},
        {"ready pixels, cut short", opaque(4, 4, 15), ImageFault{Kind::Unreadable, "/s/a.png"}},
        {"ready pixels said to have alpha", opaque(4, 4, 16, true), ImageFault{Kind::Unreadable, "/s/a.png"}},
        {"no image", std::nullopt, ImageFault{Kind::Unreadable, "/s/a.png"}},
        {"cut short", image(4, 4, 4), ImageFault{Kind::Unreadable, "/s/a.png"}},
        {"no pixels at all", image(0, 0, 0), ImageFault{Kind::Unreadable, "/s/a.png"}},
        {"20000 x 20000", image(20000, 20000, 0), ImageFault{Kind::TooLarge, "/s/a.png", 20000, 20000}},
        {"one pixel too wide", image(kLargestImageSide + 1, 1, 0),
         ImageFault{Kind::TooLarge, "/s/a.png", kLargestImageSide + 1, 1}},
        {"as wide as allowed", image(kLargestImageSide, 1, 4 * kLargestImageSide), std::nullopt},
    };
    for (const auto& c : cases) {
        MemoryFileSystem files;
        ScriptedDecoder decoder;
        decoder.answer = c.decoded;
        ImageCache cache(files, decoder);
        files.files["/s/a.png"] = "png";
        EXPECT_EQ(cache.fault("/s/a.png"), c.fault) << c.name;
        EXPECT_EQ(cache.load("/s/a.png") == nullptr, c.fault.has_value()) << c.name;
        EXPECT_EQ(cache.load("/s/a.png", 2) == nullptr, c.fault.has_value()) << c.name;
        EXPECT_EQ(cache.fault("/s/a.png"), c.fault) << c.name;
        EXPECT_EQ(decoder.decodes, 1) << c.name;
        if (const SkinImage* drawn = cache.load("/s/a.png"); drawn && !c.decoded->opaquePixels.empty()) {
            EXPECT_EQ(drawn->pixels, c.decoded->opaquePixels) << c.name;
        }
    }
    MemoryFileSystem files;
    ScriptedDecoder decoder;
    ImageCache cache(files, decoder);
    EXPECT_EQ(cache.fault("/s/gone.png"), (ImageFault{Kind::Missing, "/s/gone.png"}));
}

// The skin in use draws an image it lacks, or cannot decode, from the
// Default skin; only what neither has is missing.
TEST(DrawSkinImage, AnImageTheSkinLacksComesFromTheDefaultSkin) {
    MemoryFileSystem files;
    FakeDecoder decoder(files);
    ImageCache cache(files, decoder);
    RecordingCanvas canvas;
    files.files["/mine/button-normal.png"] = "105 21 1";
    files.files["/mine/button-over.png"] = "damaged";
    files.files["/default/button-normal.png"] = "205 21 1";
    files.files["/default/button-over.png"] = "206 21 1";
    files.files["/default/Pane.png"] = "207 16 1";
    const SkinSource skin{"/mine", "/default"};
    for (const char* name : {"/button-normal.png", "/button-over.png", "/Pane.png"}) {
        EXPECT_TRUE(DrawSkinImage(canvas, cache, skin, name, {0, 0})) << name;
    }
    EXPECT_FALSE(DrawSkinImage(canvas, cache, skin, "/PaneMakingTick.png", {0, 0}));
    EXPECT_TRUE(DrawSkinImagePart(canvas, cache, skin, "/Pane.png", {0, 0, 5, 5}));
    EXPECT_EQ(canvas.ops, (std::vector<std::string>{"image 105 at 0,0", "image 206 at 0,0",
                                                    "image 207 at 0,0", "image 5 at 0,0"}));

    // A skin must have its own main.png and skins.png; the first that fails is told.
    files.files["/mine/main.png"] = "880 640 0";
    EXPECT_EQ(OwnSkinImageFault(cache, "/mine"), (ImageFault{ImageFault::Kind::Missing, "/mine/skins.png"}));
    files.files["/mine/skins.png"] = "388 286 0";
    EXPECT_EQ(OwnSkinImageFault(cache, "/mine"), std::nullopt);
    files.files["/mine/main.png"] = "cut";
    EXPECT_EQ(OwnSkinImageFault(cache, "/mine"),
              (ImageFault{ImageFault::Kind::Unreadable, "/mine/main.png"}));
}

TEST(DrawSkinImage, AMissingImageIsAnAnswerNotAMessage) {
    MemoryFileSystem files;
    FakeDecoder decoder(files);
    ImageCache cache(files, decoder);
    RecordingCanvas canvas;
    files.files["/skin/button-normal.png"] = "105 21 1";
    EXPECT_TRUE(DrawSkinImage(canvas, cache, {"/skin", {}}, "/button-normal.png", {3, 4}));
    EXPECT_EQ(canvas.ops, std::vector<std::string>{"image 105 at 3,4"});
    EXPECT_FALSE(DrawSkinImage(canvas, cache, {"/skin", {}}, "/button-over.png", {3, 4}));
    EXPECT_EQ(canvas.ops.size(), 1u);
    EXPECT_EQ(SkinImagePath("/skin/", "/a.png"), "/skin/a.png");
}

// A copy unpacked into a folder whose name is not ASCII draws its skin, at
// either density: the folder's name survives the image names joined to it.
TEST(DrawSkinImage, AFolderNamedOutsideAsciiIsFoundAtEitherDensity) {
    for (const char* folder :
         {"/Zo\u00EB", "/Donn\u00E9es/Quorvel", "/\u9F20\u6807 \u8BBE\u7F6E", "/Ab\u20AC"}) {
        MemoryFileSystem files;
        FakeDecoder decoder(files);
        ImageCache cache(files, decoder);
        RecordingCanvas canvas;
        const std::filesystem::path skin = PathFromUtf8(std::string(folder) + "/Skins/Default");
        files.files[skin / "main.png"] = "880 640 1";
        files.files[skin / "button@2x.png"] = "20 4 1";
        EXPECT_EQ(SkinImagePath(skin, "/main.png"), skin / "main.png") << folder;
        EXPECT_TRUE(DrawSkinImage(canvas, cache, {skin, {}}, "/main.png", {0, 0})) << folder;
        const SkinImage* sharp = LoadSkinImage(cache, {skin, {}}, "/button.png", 2);
        ASSERT_NE(sharp, nullptr) << folder;
        EXPECT_EQ(sharp->scale, 2) << folder;
    }
}

TEST(HoverSet, OneHoveredPerGroupAndAllRestoredOffTheControls) {
    std::vector<std::string> drawn;
    const auto control = [&](Rect rect, int group, std::string name) {
        return HoverControl{
            rect, group, [&drawn, name](bool over) { drawn.push_back(name + (over ? " over" : " normal")); }};
    };
    HoverSet set;
    set.setControls({control({0, 0, 10, 10}, 1, "ok"), control({10, 0, 20, 10}, 1, "cancel"),
                     control({30, 0, 40, 10}, 0, "close")});
    EXPECT_TRUE(set.pointerAt({5, 5}));
    EXPECT_FALSE(set.pointerAt({6, 5})) << "already hovered: nothing to draw";
    EXPECT_TRUE(set.pointerAt({10, 5})) << "the left edge belongs to the next control";
    EXPECT_TRUE(set.pointerAt({35, 5}));
    EXPECT_EQ(drawn, (std::vector<std::string>{"ok over", "cancel over", "ok normal", "close over"}))
        << "close is in no group: cancel stays hovered";
    drawn.clear();
    EXPECT_TRUE(set.pointerAt({25, 5}));
    EXPECT_EQ(drawn, (std::vector<std::string>{"cancel normal", "close normal"}));
    EXPECT_FALSE(set.pointerAt({25, 6}));
    EXPECT_FALSE(set.tracks({20, 5})) << "the right edge is outside";
}

// A control goes back to normal on a fresh underlay, never on its own hover
// image; controls that share pixels are redrawn together in their order.
TEST(HoverSet, RedrawsOnTheUnderlayWithTheControlsItOverlaps) {
    std::vector<std::string> drawn;
    const auto control = [&](Rect rect, std::string name) {
        return HoverControl{
            rect, 1, [&drawn, name](bool over) { drawn.push_back(name + (over ? " over" : " normal")); }};
    };
    HoverSet set;
    set.setControls({control({0, 0, 11, 10}, "ok"), control({10, 0, 21, 10}, "apply"),
                     control({20, 0, 30, 10}, "cancel"), control({50, 0, 60, 10}, "default")});
    set.setUnderlay([&](Rect r) { drawn.push_back("under " + std::to_string(r.left)); });
    set.pointerAt({25, 5});
    EXPECT_EQ(drawn, (std::vector<std::string>{"under 0", "under 10", "under 20", "ok normal", "apply normal",
                                               "cancel over"}));
    drawn.clear();
    set.pointerAt({55, 5});
    set.pointerAt({100, 5});
    EXPECT_EQ(drawn, (std::vector<std::string>{"under 50", "default over", "under 0", "under 10", "under 20",
                                               "ok normal", "apply normal", "cancel normal", "under 50",
                                               "default normal"}));
}

} // namespace
} // namespace quorvel
