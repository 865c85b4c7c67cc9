#pragma once

#include <QImage>

#include <string_view>
#include <vector>

namespace quorvel::skin {

// One image of the Default skin: its file name in the skin folder ("/main.png")
// and its pixels, ARGB32 where the image needs transparency and RGB32 (saved
// without alpha) where it is an opaque background.
struct SkinImage {
    std::string_view name;
    QImage image;
};

// Every image of the Default skin, drawn afresh. The drawing uses shapes
// only, no text, so it comes out the same on every machine.
std::vector<SkinImage> PaintDefaultSkin();

} // namespace quorvel::skin
