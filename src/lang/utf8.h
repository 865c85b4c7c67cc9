#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace quorvel {

// Text inside the program is UTF-8. These are its only decoder and encoders:
// every conversion of text to characters, to UTF-16 for the system's wide
// calls, or to a toolkit's strings goes through them, so that a name reads as
// the same characters everywhere.
//
// Bytes that are not well-formed UTF-8 (overlong forms, surrogates, code
// points above U+10FFFF, stray continuation bytes, cut sequences) never
// decode to U+0000 or to ASCII: each broken piece reads as one U+FFFD, the
// piece being as long as it still could have been the start of a character
// (so "\xE0\x80\x80" is three of them, and "\xE2\x82" before "A" is one).

inline constexpr char32_t kReplacementCharacter = U'\uFFFD';

struct Utf8Char {
    char32_t codePoint = kReplacementCharacter;
    std::size_t length = 1; // bytes taken from the text, at least one
    bool valid = false;
};

// The character at the front of `text`, which must not be empty.
Utf8Char DecodeUtf8(std::string_view text);

// True when `text` is well-formed UTF-8.
bool IsValidUtf8(std::string_view text);

// UTF-8 <-> code points, for counting characters as the platform counts them.
std::u32string Utf8ToCodePoints(std::string_view text);
// Code points that are no characters (surrogates, above U+10FFFF) are
// written as U+FFFD, so the result is always well-formed.
std::string CodePointsToUtf8(std::u32string_view text);

// UTF-16, as the system's wide-character calls take it. A surrogate without
// its partner reads as U+FFFD.
std::u16string Utf8ToUtf16(std::string_view text);
std::string Utf16ToUtf8(std::u16string_view text);

} // namespace quorvel
