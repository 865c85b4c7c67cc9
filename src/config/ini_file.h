#pragma once

#include <cstddef>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "ports/file_system.h"

namespace quorvel {

// Read buffers of the interface's INI files hold 1024 characters, the last
// of which is the terminator.
inline constexpr std::size_t kIniBufferChars = 1024;

struct IniEntry {
    std::string key;
    std::string value;
};

// An INI file read and written the way the desktop's private-profile
// functions treat it: section and key names compare without regard to case,
// blanks around names and values are dropped, a missing file reads as empty
// and the first write creates it. Lines it does not understand (comments,
// blank lines, junk) are kept as they are when the file is rewritten. The
// file is never held open: every call reads it anew, every write replaces it
// atomically. Text is UTF-8; a leading byte-order mark is kept.
class IniFile {
public:
    IniFile(FileSystem& files, std::filesystem::path path);

    const std::filesystem::path& path() const { return path_; }
    bool exists() const;

    // The value, cut to what a 1024-character buffer holds; `fallback` when
    // the section or key is missing.
    std::string GetString(std::string_view section, std::string_view key,
                          std::string_view fallback = {}) const;

    // Updates the key in place, appends it to its section, or appends a new
    // section at the end of the file. Returns 0 or the system's error code.
    int WriteString(std::string_view section, std::string_view key, std::string_view value);
    // Several keys of one section in one rewrite of the file.
    int WriteStrings(std::string_view section, std::span<const IniEntry> entries);
    // Removes the section and writes it anew, with these keys, at the end of
    // the file: one rewrite, so a failure leaves the old section in place.
    int ReplaceSection(std::string_view section, std::span<const IniEntry> entries);

    // Removes the section's header and every line up to the next section.
    // A missing section or file is no error. Returns 0 or the system's error code.
    int RemoveSection(std::string_view section);

    // Every section name in file order.
    std::vector<std::string> SectionNames() const;

    // The section names as the private-profile call lays them into a buffer
    // of `bufferChars` characters: each name followed by a terminator, the
    // list ended by a second one. A list that does not fit is cut and still
    // ends with two terminators, as the platform does.
    std::u32string SectionNameBuffer(std::size_t bufferChars) const;

private:
    std::filesystem::path path_;
    FileSystem* files_;
};

// The leading decimal integer of a text as the C library's atoi reads it
// (blanks, a sign, digits); 0 when there is none.
long LeadingInteger(std::string_view text);

// Compares two names as the INI functions do: without regard to case.
bool SameIniName(std::string_view a, std::string_view b);

// UTF-8 <-> code points, for counting characters as the platform counts them.
std::u32string Utf8ToCodePoints(std::string_view text);
std::string CodePointsToUtf8(std::u32string_view text);

} // namespace quorvel
