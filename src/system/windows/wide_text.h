#pragma once

#include <string>
#include <string_view>

namespace quorvel {

// Conversions between the program's UTF-8 text and the UTF-16 of the system's
// wide-character calls.
std::wstring WideFromUtf8(std::string_view text);
std::string Utf8FromWide(std::wstring_view text);

} // namespace quorvel
