#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
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

// The lines of one INI file, parsed once for any number of lookups and
// changes, read the way the desktop's private-profile functions read them:
// section and key names compare without regard to case and to the blanks
// around them, blanks around values are dropped, the first section of a name
// and the first key of a name in it are the ones read. Lines it does not
// understand (comments, blank lines, junk) are kept as they are. Text is
// UTF-8; a leading byte-order mark is kept.
class IniDocument {
public:
    IniDocument() = default;
    explicit IniDocument(std::string_view content);

    // The value, cut to what a 1024-character buffer holds; `fallback` when
    // the section or key is missing.
    std::string getString(std::string_view section, std::string_view key,
                          std::string_view fallback = {}) const;
    // The keys of the section as reading finds them: each key once, in file order.
    std::vector<IniEntry> entries(std::string_view section) const;
    // Every section name in file order.
    std::vector<std::string> sectionNames() const;

    // Updates the key in place, appends it to its section, or appends a new
    // section at the end. False, and nothing changed, when a name cannot be
    // held by the format (see IniNameFits).
    bool setEntry(std::string_view section, std::string_view key, std::string_view value);
    // Whether setEntry would leave the text as it is: the key's line in the
    // section already reads so.
    bool holdsEntry(std::string_view section, std::string_view key, std::string_view value) const;
    // Removes every section of that name, as reading would find any of them,
    // with all its lines. False when there was none.
    bool removeSection(std::string_view section);
    // Removes the section and writes it anew, with these keys, at the end.
    bool replaceSection(std::string_view section, std::span<const IniEntry> entries);
    // Gives the section these keys, and no others, where it stands: the
    // first section of the name keeps its place and its header, and the
    // lines in it that are no keys (comments, blank lines) follow the keys;
    // later sections of the name, which reading never finds, are removed.
    // A section that is not there is added at the end.
    bool rewriteSection(std::string_view section, std::span<const IniEntry> entries);

    std::string text() const;

    // One line of the file as it stood, with what it means to the INI rules.
    struct Line {
        enum class Kind { Other, Section, Entry };
        std::string text; // without its line end
        Kind kind = Kind::Other;
        std::string name;  // section or key name, trimmed
        std::string value; // entry value, trimmed
    };
    // The lines of the section as reading finds it (the first of the name),
    // after its header and up to the next section; none when it is missing.
    // Values are as they stand, not yet cut to a read buffer.
    std::span<const Line> sectionLines(std::string_view section) const;

private:
    std::optional<std::size_t> findSection(std::string_view section) const;
    // The line of the key as reading finds it: in the first section of the name.
    std::optional<std::size_t> findEntry(std::string_view section, std::string_view key) const;
    std::size_t sectionEnd(std::size_t header) const;

    bool bom_ = false;
    std::string eol_ = "\n";
    bool finalNewline_ = true;
    std::vector<Line> lines_;
};

// The values of `keys` in one section of an INI file's text, read as
// IniDocument::getString reads them (a missing one reads empty), in one pass
// over the text that keeps none of its lines: for a few values of a file
// that may be large.
std::vector<std::string> IniValues(std::string_view content, std::string_view section,
                                   std::span<const std::string_view> keys);

// A value as a read buffer of kIniBufferChars characters holds it.
std::string CutToIniBuffer(std::string_view value);

// Whether a name survives being written: a key that starts with '[' or ';'
// or holds '=' or a line break would read back as a section, a comment or
// another key; a section name that holds ']' or a line break would read back
// as another section.
bool IniKeyFits(std::string_view key);
bool IniSectionFits(std::string_view section);

// An INI file on disk. The file is never held open: every call reads it
// anew, once, and every change replaces it atomically. A missing file reads
// as empty and the first write creates it. A file that is there but cannot
// be read is never written over: the change fails with the read's error.
class IniFile {
public:
    IniFile(FileSystem& files, std::filesystem::path path);

    const std::filesystem::path& path() const { return path_; }
    bool exists() const;

    // The whole file; an empty document when it is missing.
    FileResult<IniDocument> read() const;
    // The file's text as it stands; empty when it is missing.
    FileResult<std::string> readText() const;
    // The same, with a file that cannot be read read as a missing one.
    IniDocument readOrEmpty() const;

    // One lookup of IniDocument::getString; a file that cannot be read
    // reads as a missing one.
    std::string GetString(std::string_view section, std::string_view key,
                          std::string_view fallback = {}) const;

    // Updates the key in place, appends it to its section, or appends a new
    // section at the end of the file.
    FileStatus WriteString(std::string_view section, std::string_view key, std::string_view value);
    // Several keys of one section in one rewrite of the file.
    FileStatus WriteStrings(std::string_view section, std::span<const IniEntry> entries);
    // Removes the section and writes it anew, with these keys, at the end of
    // the file: one rewrite, so a failure leaves the old section in place.
    FileStatus ReplaceSection(std::string_view section, std::span<const IniEntry> entries);
    // Removes every section of that name with its lines. A missing section
    // or file is no error.
    FileStatus RemoveSection(std::string_view section);

    // Every section name in file order; none when the file cannot be read.
    std::vector<std::string> SectionNames() const;

    // Replaces the file with the document: for a caller that read it,
    // changed it and goes on reading the document without reading the file
    // again.
    FileStatus write(const IniDocument& document);

    // The section names as the private-profile call lays them into a buffer
    // of `bufferChars` characters: each name followed by a terminator, the
    // list ended by a second one. A list that does not fit is cut and still
    // ends with two terminators, as the platform does.
    std::u32string SectionNameBuffer(std::size_t bufferChars) const;

private:
    FileError refused() const;

    std::filesystem::path path_;
    FileSystem* files_;
};

// SectionNameBuffer of a list of names.
std::u32string SectionNameBuffer(const std::vector<std::string>& names, std::size_t bufferChars);

// The leading decimal integer of a text as the C library's atoi reads it
// (blanks, a sign, digits); 0 when there is none.
long LeadingInteger(std::string_view text);

// Compares two names as the INI functions do: without regard to case.
bool SameIniName(std::string_view a, std::string_view b);
// The form of a name under which SameIniName names are equal, for lookups.
std::string IniNameKey(std::string_view name);

} // namespace quorvel
