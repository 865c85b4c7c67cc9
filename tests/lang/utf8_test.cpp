// The program's one UTF-8 decoder: what each byte sequence reads as, and
// that broken UTF-8 never reads as U+0000 or as ASCII.
#include <gtest/gtest.h>

#include <string>

#include "lang/utf8.h"

namespace quorvel {
namespace {

std::string Hex(std::string_view bytes) {
    std::string out;
    for (const char c : bytes) {
        constexpr char kDigits[] = "0123456789ABCDEF";
        const auto b = static_cast<unsigned char>(c);
        out += {kDigits[b >> 4], kDigits[b & 0x0F], ' '};
    }
    return out;
}

constexpr char32_t R = U'\uFFFD';

TEST(Utf8, EachByteSequenceReadsAsTheseCodePoints) {
    const struct {
        std::string bytes;
        std::u32string codePoints;
        bool valid;
    } cases[] = {
        {"Copy", U"Copy", true},
        {std::string("a\0b", 3), std::u32string(U"a\0b", 3), true}, // a real NUL is a character
        {"\xC3\xA5", U"\u00E5", true},
        {"\xE5\xAE\x8F", U"\u5B8F", true},
        {"\xF0\x9F\x8E\xAE", U"\U0001F3AE", true},
        {"\xC2\x80", U"\u0080", true}, // the smallest of each length
        {"\xE0\xA0\x80", U"\u0800", true},
        {"\xF0\x90\x80\x80", U"\U00010000", true},
        {"\xEF\xBF\xBF", U"\uFFFF", true}, // the largest of each length
        {"\xF4\x8F\xBF\xBF", U"\U0010FFFF", true},
        {"\xC0\x80", {R, R}, false}, // overlong U+0000
        {"\xE0\x80\x80", {R, R, R}, false},
        {"\xF0\x80\x80\x80", {R, R, R, R}, false},
        {"\xC0\xAF", {R, R}, false}, // overlong "/"
        {"\xC1\xBF", {R, R}, false}, // overlong DEL
        {"\xE0\x80\xAF", {R, R, R}, false},
        {"\xE0\x9F\xBF", {R, R, R}, false},        // overlong U+07FF
        {"\xF0\x8F\xBF\xBF", {R, R, R, R}, false}, // overlong U+FFFF
        {"\xED\xA0\x80", {R, R, R}, false},        // surrogates
        {"\xED\xBF\xBF", {R, R, R}, false},
        {"\xF4\x90\x80\x80", {R, R, R, R}, false}, // above U+10FFFF
        {"\xF5\x80\x80\x80", {R, R, R, R}, false},
        {"\xF8\x88\x80\x80\x80", {R, R, R, R, R}, false},
        {"\xFF", {R}, false},
        {"\x80", {R}, false}, // stray continuation bytes
        {"A\xBF"
         "B",
         {U'A', R, U'B'},
         false},
        {"\xC3", {R}, false}, // cut sequences
        {"\xE5\xAE", {R}, false},
        {"\xF0\x9F\x8E", {R}, false},
        {"\xE5\xAE"
         "A",
         {R, U'A'},
         false}, // cut before ASCII: the ASCII stays itself
        {"\xC3"
         "\xC3\xA5",
         {R, U'\u00E5'},
         false},
    };
    for (const auto& row : cases) {
        EXPECT_EQ(Utf8ToCodePoints(row.bytes), row.codePoints) << Hex(row.bytes);
        EXPECT_EQ(IsValidUtf8(row.bytes), row.valid) << Hex(row.bytes);
        // Whatever went in, what comes out is well-formed and reads back the same.
        const std::string written = CodePointsToUtf8(Utf8ToCodePoints(row.bytes));
        EXPECT_TRUE(IsValidUtf8(written)) << Hex(row.bytes);
        EXPECT_EQ(Utf8ToCodePoints(written), row.codePoints) << Hex(row.bytes);
    }
}

// The Windows calls take UTF-16: the same characters, surrogate pairs for
// those above U+FFFF, and a lone surrogate read as U+FFFD.
TEST(Utf8, Utf16CarriesTheSameCharacters) {
    const struct {
        std::string utf8;
        std::u16string utf16;
    } cases[] = {
        {"Bl\xC3\xA5", u"Bl\u00E5"},
        {"\xE5\xAE\x8F", u"\u5B8F"},
        {"\xF0\x9F\x8E\xAE", u"\xD83C\xDFAE"},
        {"\xF4\x8F\xBF\xBF", u"\xDBFF\xDFFF"},
        {"\xC0\x80"
         "A",
         u"\uFFFD\uFFFD"
         "A"},
    };
    for (const auto& row : cases) {
        EXPECT_EQ(Utf8ToUtf16(row.utf8), row.utf16) << Hex(row.utf8);
    }
    EXPECT_EQ(Utf16ToUtf8(u"\xD83C\xDFAE"), "\xF0\x9F\x8E\xAE");
    EXPECT_EQ(Utf16ToUtf8(u"a\xD83C"
                          "b\xDFAE"),
              "a\uFFFD"
              "b\uFFFD");
    EXPECT_EQ(Utf16ToUtf8(u"\xDFAE\xD83C"), "\uFFFD\uFFFD") << "a pair the wrong way round";
}

} // namespace
} // namespace quorvel
