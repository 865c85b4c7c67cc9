#include "system/windows/wide_text.h"

#include "lang/utf8.h"

namespace quorvel {

// wchar_t holds UTF-16 on Windows; the program's own decoder does the work so
// that a name reads as the same characters here as everywhere else.
static_assert(sizeof(wchar_t) == sizeof(char16_t));

std::wstring WideFromUtf8(std::string_view text) {
    const std::u16string wide = Utf8ToUtf16(text);
    return {wide.begin(), wide.end()};
}

std::string Utf8FromWide(std::wstring_view text) {
    return Utf16ToUtf8(std::u16string(text.begin(), text.end()));
}

} // namespace quorvel
