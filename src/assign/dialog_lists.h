#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

#include "config/device_config.h"
#include "lang/language.h"

namespace quorvel {

// The fixed lists of the Fire-key, Media and Windows-key dialogs. Each entry
// carries the text the dialog shows and the code its position stands for, so
// the dialogs draw from the same rows that the key-code lookups read.

// One entry of the Fire-key dialog's list: the same text in every language,
// and the key byte of the fire-key word (a keyboard usage or a mouse code).
struct FireKeyEntry {
    std::string_view text;
    Byte code;
};

// One entry of the Media or Windows-key dialog's list: its text in each
// language (indexed by Language) and its HID consumer usage.
struct ConsumerKeyEntry {
    std::array<std::string_view, kLanguageCount> text;
    std::uint16_t usage;
};

inline constexpr int kFireKeyCount = 61;
inline constexpr int kMediaKeyCount = 7;
inline constexpr int kApplicationKeyCount = 11;

// The lists in position order.
std::span<const FireKeyEntry> FireKeyList();
std::span<const ConsumerKeyEntry> MediaKeyList();
std::span<const ConsumerKeyEntry> ApplicationKeyList();

// The entry at `position` of one of the lists, or nullptr outside it.
template <typename Entry> const Entry* EntryAt(std::span<const Entry> list, int position) {
    if (position < 0 || static_cast<std::size_t>(position) >= list.size()) {
        return nullptr;
    }
    return &list[static_cast<std::size_t>(position)];
}

// The text of one entry; empty for a position outside the list.
std::string_view FireKeyText(int position);
std::string_view MediaKeyText(Language language, int position);
std::string_view ApplicationKeyText(Language language, int position);

} // namespace quorvel
