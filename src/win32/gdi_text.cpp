#include "win32/gdi_text.h"

#include <algorithm>
#include <cmath>

#include "system/windows/wide_text.h"

namespace quorvel {

namespace {

// The Chinese faces by the names every Windows knows them by, whatever the
// language of its own interface.
std::wstring FaceName(const std::string& face) {
    if (face == "黑体") {
        return L"SimHei";
    }
    if (face == "宋体") {
        return L"SimSun";
    }
    return WideFromUtf8(face);
}

GdiObject<HFONT> FontOfHeight(const FontSpec& spec, int pixels) {
    std::wstring face = FaceName(spec.face);
    face.resize(std::min<std::size_t>(face.size(), LF_FACESIZE - 1));
    // A positive height is the character cell, the whole line, as the
    // program's heights are meant.
    return GdiObject<HFONT>(::CreateFontW(pixels, 0, 0, 0, spec.weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                          OUT_TT_PRECIS, CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY,
                                          DEFAULT_PITCH | FF_SWISS, face.c_str()));
}

int Scaled(int pixels, double ratio) {
    return std::max(1, static_cast<int>(std::lround(pixels * ratio)));
}

// Whether the code unit at `i` is the second half of a surrogate pair, which
// must not be parted from the first.
bool InsidePair(std::wstring_view text, std::size_t i) {
    return i > 0 && i < text.size() && text[i] >= 0xDC00 && text[i] <= 0xDFFF;
}

} // namespace

GdiObject<HFONT> MakeFont(const FontSpec& spec, double ratio) {
    return FontOfHeight(spec, Scaled(spec.height, ratio));
}

int TextWidth(HDC dc, HFONT font, std::wstring_view text) {
    const HGDIOBJ previous = ::SelectObject(dc, font);
    SIZE size{};
    ::GetTextExtentPoint32W(dc, text.data(), static_cast<int>(text.size()), &size);
    ::SelectObject(dc, previous);
    return size.cx;
}

FittedLine FitLine(HDC dc, const FontSpec& spec, double ratio, std::wstring_view text, int width) {
    const int smallest = std::min(Scaled(kSmallestFontPixels, ratio), Scaled(spec.height, ratio));
    FittedLine line{FontOfHeight(spec, Scaled(spec.height, ratio)), std::wstring(text)};
    for (int pixels = Scaled(spec.height, ratio) - 1;
         pixels >= smallest && TextWidth(dc, line.font.get(), text) > width; --pixels) {
        line.font = FontOfHeight(spec, pixels);
    }
    if (TextWidth(dc, line.font.get(), text) <= width) {
        return line;
    }
    // The longest beginning that fits with the ellipsis after it.
    constexpr wchar_t kEllipsis = 0x2026;
    const auto fits = [&](std::size_t length) {
        std::wstring candidate(text.substr(0, length));
        candidate += kEllipsis;
        return TextWidth(dc, line.font.get(), candidate) <= width;
    };
    std::size_t low = 0;
    std::size_t high = text.size();
    while (low < high) {
        const std::size_t middle = (low + high + 1) / 2;
        if (fits(middle)) {
            low = middle;
        } else {
            high = middle - 1;
        }
    }
    if (InsidePair(text, low)) {
        --low;
    }
    line.text = fits(low) ? std::wstring(text.substr(0, low)) + kEllipsis : std::wstring();
    return line;
}

} // namespace quorvel
