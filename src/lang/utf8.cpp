#include "lang/utf8.h"

namespace quorvel {

namespace {

constexpr char32_t kLastCodePoint = 0x10FFFF;

bool IsSurrogate(char32_t c) {
    return c >= 0xD800 && c <= 0xDFFF;
}

} // namespace

Utf8Char DecodeUtf8(std::string_view text) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char lead = byte(0);
    if (lead < 0x80) {
        return {lead, 1, true};
    }
    // The lead byte fixes the length and narrows the range of the second
    // byte: that is what keeps out overlong forms (E0 below A0, F0 below 90),
    // surrogates (ED above 9F) and code points above U+10FFFF (F4 above 8F).
    std::size_t length = 0;
    char32_t codePoint = 0;
    unsigned char secondLow = 0x80;
    unsigned char secondHigh = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        codePoint = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        codePoint = lead & 0x0F;
        secondLow = lead == 0xE0 ? 0xA0 : 0x80;
        secondHigh = lead == 0xED ? 0x9F : 0xBF;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        codePoint = lead & 0x07;
        secondLow = lead == 0xF0 ? 0x90 : 0x80;
        secondHigh = lead == 0xF4 ? 0x8F : 0xBF;
    } else {
        return {}; // a continuation byte, C0 and C1 (only overlong), F5 and above
    }
    for (std::size_t k = 1; k < length; ++k) {
        const unsigned char low = k == 1 ? secondLow : 0x80;
        const unsigned char high = k == 1 ? secondHigh : 0xBF;
        if (k >= text.size() || byte(k) < low || byte(k) > high) {
            return {kReplacementCharacter, k, false};
        }
        codePoint = (codePoint << 6) | (byte(k) & 0x3F);
    }
    return {codePoint, length, true};
}

bool IsValidUtf8(std::string_view text) {
    while (!text.empty()) {
        const Utf8Char c = DecodeUtf8(text);
        if (!c.valid) {
            return false;
        }
        text.remove_prefix(c.length);
    }
    return true;
}

std::u32string Utf8ToCodePoints(std::string_view text) {
    std::u32string out;
    out.reserve(text.size());
    while (!text.empty()) {
        const Utf8Char c = DecodeUtf8(text);
        out += c.codePoint;
        text.remove_prefix(c.length);
    }
    return out;
}

std::string CodePointsToUtf8(std::u32string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char32_t cp : text) {
        if (IsSurrogate(cp) || cp > kLastCodePoint) {
            cp = kReplacementCharacter;
        }
        if (cp < 0x80) {
            out += static_cast<char>(cp);
        } else if (cp < 0x800) {
            out += static_cast<char>(0xC0 | (cp >> 6));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else if (cp < 0x10000) {
            out += static_cast<char>(0xE0 | (cp >> 12));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (cp >> 18));
            out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        }
    }
    return out;
}

std::u16string Utf8ToUtf16(std::string_view text) {
    std::u16string out;
    out.reserve(text.size());
    for (const char32_t cp : Utf8ToCodePoints(text)) {
        if (cp < 0x10000) {
            out += static_cast<char16_t>(cp);
        } else {
            out += static_cast<char16_t>(0xD800 + ((cp - 0x10000) >> 10));
            out += static_cast<char16_t>(0xDC00 + ((cp - 0x10000) & 0x3FF));
        }
    }
    return out;
}

std::string Utf16ToUtf8(std::u16string_view text) {
    std::u32string codePoints;
    codePoints.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char32_t unit = text[i];
        const bool high = unit >= 0xD800 && unit <= 0xDBFF;
        if (high && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
            const char32_t low = text[i + 1];
            codePoints += static_cast<char32_t>(0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00));
            ++i;
        } else {
            codePoints += IsSurrogate(unit) ? kReplacementCharacter : unit;
        }
    }
    return CodePointsToUtf8(codePoints);
}

} // namespace quorvel
