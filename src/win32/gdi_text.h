#pragma once

#include <windows.h>

#include <string>
#include <string_view>

#include "ports/ui_port.h"
#include "win32/gdi_object.h"

namespace quorvel {

// The smallest font height (layout pixels) a text is shrunk to so that it
// fits its box.
inline constexpr int kSmallestFontPixels = 8;

// A font of a face the program names ("Arial", "黑体", ...) whose whole line
// (ascent and descent) is `spec.height` layout pixels, at `ratio` device
// pixels per layout pixel.
GdiObject<HFONT> MakeFont(const FontSpec& spec, double ratio = 1.0);

// The width in pixels of `text` in `font`, measured on `dc`.
int TextWidth(HDC dc, HFONT font, std::wstring_view text);

// One line of text fitted to a box `width` device pixels wide, the one rule
// for every text of the program's windows: the font shrinks to the smallest
// legible size, then the text loses its end to an ellipsis. It never reaches
// past the box into a neighbour.
struct FittedLine {
    GdiObject<HFONT> font;
    std::wstring text;
};
FittedLine FitLine(HDC dc, const FontSpec& spec, double ratio, std::wstring_view text, int width);

} // namespace quorvel
