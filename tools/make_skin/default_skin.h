#pragma once

#include <QImage>

#include <string_view>
#include <vector>

namespace quorvel::skin {

// One image of a skin: its file name in the skin folder ("/main.png")
// and its pixels, ARGB32 where the image needs transparency and RGB32 (saved
// without alpha) where it is an opaque background.
struct SkinImage {
    std::string_view name;
    QImage image;
};

// The skins the generator draws, by their folder names.
enum class Skin { Default, Ember };
struct SkinName {
    std::string_view folder;
    Skin skin;
};
const std::vector<SkinName>& SkinNames();

// Every image of a skin, drawn afresh at `scale` device pixels per layout
// pixel (2: the "@2x" images for sharp screens). The drawing uses shapes
// only, no text, so it comes out the same on every machine.
std::vector<SkinImage> PaintSkin(Skin skin, int scale);
std::vector<SkinImage> PaintDefaultSkin(); // the Default skin at scale 1

} // namespace quorvel::skin
