#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "win32/gdi_text.h"

namespace quorvel {
namespace {

// A memory device context to measure text on.
struct GdiTextTest : ::testing::Test {
    HDC dc = ::CreateCompatibleDC(nullptr);
    ~GdiTextTest() override { ::DeleteDC(dc); }

    TEXTMETRICW Metrics(HFONT font) const {
        const HGDIOBJ previous = ::SelectObject(dc, font);
        TEXTMETRICW metrics{};
        ::GetTextMetricsW(dc, &metrics);
        ::SelectObject(dc, previous);
        return metrics;
    }
    // The height a font was asked for; the system may give a little less at
    // small sizes.
    static int Requested(HFONT font) {
        LOGFONTW logical{};
        ::GetObjectW(font, sizeof(logical), &logical);
        return logical.lfHeight;
    }
};

// The height the program names is the whole line, at the screen's density.
TEST_F(GdiTextTest, FontsAreAsHighAsTheLineTimesTheRatio) {
    const struct {
        FontSpec spec;
        double ratio;
        int height;
        bool bold;
    } cases[] = {
        {{"Arial", 14, 400}, 1, 14, false},
        {{"Arial", 14, 400}, 2, 28, false},
        {{"Tahoma", 18, 700}, 1.5, 27, true},
    };
    for (const auto& c : cases) {
        const GdiObject<HFONT> font = MakeFont(c.spec, c.ratio);
        ASSERT_TRUE(font) << c.spec.face;
        const TEXTMETRICW metrics = Metrics(font.get());
        EXPECT_EQ(metrics.tmHeight, c.height) << c.spec.face << " " << c.ratio;
        EXPECT_EQ(metrics.tmWeight >= 700, c.bold) << c.spec.face;
    }
}

// A text wider than its box takes a smaller font, and past the smallest one
// loses its end; it never shows a clipped middle or reaches past the box.
TEST_F(GdiTextTest, LinesShrinkToAFloorThenLoseTheirEnd) {
    const FontSpec arial{"Arial", 14, 400};
    const std::wstring longName = L"Combo Key-Right Ctrl+Right Windows+Num Enter";
    const int fullWidth = TextWidth(dc, MakeFont(arial).get(), L"Right Windows");
    const int fullWidthAt2 = TextWidth(dc, MakeFont(arial, 2).get(), L"Right Windows");
    enum class Fit { Whole, Shrunk, Ended };
    const struct {
        std::wstring text;
        double ratio;
        int width;
        Fit fit;
    } cases[] = {
        {L"Right Windows", 1, fullWidth, Fit::Whole},
        {L"Right Windows", 2, fullWidthAt2, Fit::Whole},
        {L"Right Windows", 1, fullWidth * 3 / 4, Fit::Shrunk},
        {L"Right Windows", 2, fullWidthAt2 * 3 / 4, Fit::Shrunk},
        {longName, 1, 80, Fit::Ended},
        {longName, 2, 160, Fit::Ended},
        {L"Mode A", 1, 0, Fit::Ended},
    };
    for (const auto& c : cases) {
        const FittedLine line = FitLine(dc, arial, c.ratio, c.text, c.width);
        ASSERT_TRUE(line.font);
        const int height = Requested(line.font.get());
        const auto where = ::testing::Message()
                           << std::string(c.text.begin(), c.text.end()) << " in " << c.width;
        EXPECT_LE(TextWidth(dc, line.font.get(), line.text), c.width) << where;
        EXPECT_GE(height, kSmallestFontPixels * c.ratio) << where;
        switch (c.fit) {
        case Fit::Whole:
            EXPECT_EQ(line.text, c.text) << where;
            EXPECT_EQ(height, arial.height * c.ratio) << where;
            break;
        case Fit::Shrunk:
            EXPECT_EQ(line.text, c.text) << where;
            EXPECT_LT(height, arial.height * c.ratio) << where;
            break;
        case Fit::Ended:
            EXPECT_EQ(height, kSmallestFontPixels * c.ratio) << where;
            if (c.width > 0) {
                ASSERT_GE(line.text.size(), 2u) << where;
                EXPECT_EQ(line.text.back(), L'\x2026') << where;
                EXPECT_EQ(c.text.substr(0, line.text.size() - 1), line.text.substr(0, line.text.size() - 1))
                    << where;
            } else {
                EXPECT_EQ(line.text, L"") << where;
            }
            break;
        }
    }
}

// A character outside the basic plane is two UTF-16 units that an ellipsis
// never parts.
TEST_F(GdiTextTest, AnEllipsisKeepsCharactersWhole) {
    const std::wstring text = L"A\U0001F600\U0001F600\U0001F600\U0001F600\U0001F600\U0001F600";
    const FontSpec arial{"Arial", 14, 400};
    for (int width = 1; width < TextWidth(dc, MakeFont(arial).get(), text); ++width) {
        const FittedLine line = FitLine(dc, arial, 1, text, width);
        if (line.text.size() >= 2 && line.text.back() == L'\x2026') {
            const wchar_t last = line.text[line.text.size() - 2];
            EXPECT_FALSE(last >= 0xD800 && last <= 0xDBFF)
                << "half a character before the ellipsis at " << width;
        }
    }
}

} // namespace
} // namespace quorvel
