#include "config/ini_file.h"

#include <algorithm>
#include <iterator>
#include <limits>
#include <optional>
#include <unordered_set>

#include "lang/utf8.h"

namespace quorvel {

namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";

std::string_view Trim(std::string_view s) {
    const auto blank = [](char c) {
        return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
    };
    while (!s.empty() && blank(s.front())) {
        s.remove_prefix(1);
    }
    while (!s.empty() && blank(s.back())) {
        s.remove_suffix(1);
    }
    return s;
}

char AsciiLower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

using Line = IniDocument::Line;

// What one line means to the INI rules, as views into its text.
struct LineMeaning {
    Line::Kind kind = Line::Kind::Other;
    std::string_view name;  // section or key name, trimmed
    std::string_view value; // entry value, trimmed
};

LineMeaning ReadLine(std::string_view text) {
    LineMeaning line;
    const std::string_view t = Trim(text);
    if (!t.empty() && t.front() == '[') {
        std::string_view inner = t.substr(1);
        const auto close = inner.find(']');
        if (close != std::string_view::npos) {
            inner = inner.substr(0, close);
        }
        line.kind = Line::Kind::Section;
        line.name = Trim(inner);
    } else if (!t.empty() && t.front() != ';') {
        const auto eq = t.find('=');
        if (eq != std::string_view::npos) {
            line.kind = Line::Kind::Entry;
            line.name = Trim(t.substr(0, eq));
            std::string_view value = Trim(t.substr(eq + 1));
            // A value in matching quotes is read without them.
            if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
                value.back() == value.front()) {
                value = value.substr(1, value.size() - 2);
            }
            line.value = value;
        }
    }
    return line;
}

Line ParseLine(std::string text) {
    const LineMeaning meaning = ReadLine(text);
    Line line;
    line.kind = meaning.kind;
    line.name = std::string(meaning.name);
    line.value = std::string(meaning.value);
    line.text = std::move(text);
    return line;
}

// Calls `each` with every line of a file's text (without its byte-order
// mark), without its line end, until `each` returns false. Carriage returns
// at a line's end are its line break (or junk after it): kept, a second
// reading would take them for one.
template <typename Each> void ForEachLine(std::string_view content, Each&& each) {
    std::size_t start = 0;
    while (start < content.size()) {
        auto end = content.find('\n', start);
        if (end == std::string_view::npos) {
            end = content.size();
        }
        std::string_view raw = content.substr(start, end - start);
        while (!raw.empty() && raw.back() == '\r') {
            raw.remove_suffix(1);
        }
        if (!each(raw)) {
            return;
        }
        start = end + 1;
    }
}

// Names are looked up as they are read: without the blanks around them.
bool SameName(std::string_view stored, std::string_view wanted) {
    return SameIniName(stored, Trim(wanted));
}

// A value is one line: line breaks in it would make keys of their own (those
// at its ends go, those inside become blanks). A value that reading would
// change, with blanks at either end or in outer quotes of its own, is written
// in quotes, which reading takes off again.
std::string OneLine(std::string_view text) {
    while (!text.empty() && (text.front() == '\r' || text.front() == '\n')) {
        text.remove_prefix(1);
    }
    while (!text.empty() && (text.back() == '\r' || text.back() == '\n')) {
        text.remove_suffix(1);
    }
    std::string out(text);
    std::replace_if(
        out.begin(), out.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
    const bool blankEnds = !out.empty() && (Trim(out).size() != out.size());
    const bool ownQuotes =
        out.size() >= 2 && (out.front() == '"' || out.front() == '\'') && out.back() == out.front();
    if (blankEnds || ownQuotes) {
        return '"' + out + '"';
    }
    return out;
}

Line SectionHeader(std::string_view section) {
    return ParseLine("[" + std::string(Trim(section)) + "]");
}

Line EntryLine(std::string_view key, std::string_view value) {
    return ParseLine(std::string(Trim(key)) + "=" + OneLine(value));
}

bool HasLineBreak(std::string_view text) {
    return text.find_first_of("\r\n") != std::string_view::npos;
}

} // namespace

std::string CutToIniBuffer(std::string_view value) {
    if (value.size() < kIniBufferChars) {
        return std::string(value); // fewer bytes than the buffer, so fewer characters
    }
    const std::u32string chars = Utf8ToCodePoints(value);
    if (chars.size() < kIniBufferChars) {
        return std::string(value);
    }
    return CodePointsToUtf8(std::u32string_view(chars).substr(0, kIniBufferChars - 1));
}

bool IniKeyFits(std::string_view key) {
    const std::string_view name = Trim(key);
    return !HasLineBreak(key) && name.find('=') == std::string_view::npos &&
           !(name.starts_with('[') || name.starts_with(';'));
}

bool IniSectionFits(std::string_view section) {
    return !HasLineBreak(section) && section.find(']') == std::string_view::npos;
}

IniDocument::IniDocument(std::string_view content) {
    if (content.starts_with(kBom)) {
        bom_ = true;
        content.remove_prefix(kBom.size());
    }
    if (content.find("\r\n") != std::string_view::npos) {
        eol_ = "\r\n";
    }
    finalNewline_ = content.empty() || content.back() == '\n';
    lines_.reserve(static_cast<std::size_t>(std::count(content.begin(), content.end(), '\n')) + 1);
    ForEachLine(content, [this](std::string_view raw) {
        lines_.push_back(ParseLine(std::string(raw)));
        return true;
    });
}

std::string IniDocument::text() const {
    std::string out;
    if (bom_) {
        out += kBom;
    }
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        out += lines_[i].text;
        if (i + 1 < lines_.size() || finalNewline_) {
            out += eol_;
        }
    }
    return out;
}

std::optional<std::size_t> IniDocument::findSection(std::string_view section) const {
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        if (lines_[i].kind == Line::Kind::Section && SameName(lines_[i].name, section)) {
            return i;
        }
    }
    return std::nullopt;
}

std::size_t IniDocument::sectionEnd(std::size_t header) const {
    std::size_t i = header + 1;
    while (i < lines_.size() && lines_[i].kind != Line::Kind::Section) {
        ++i;
    }
    return i;
}

std::optional<std::size_t> IniDocument::findEntry(std::string_view section, std::string_view key) const {
    if (const auto header = findSection(section)) {
        const std::size_t end = sectionEnd(*header);
        for (std::size_t i = *header + 1; i < end; ++i) {
            if (lines_[i].kind == Line::Kind::Entry && SameName(lines_[i].name, key)) {
                return i;
            }
        }
    }
    return std::nullopt;
}

std::string IniDocument::getString(std::string_view section, std::string_view key,
                                   std::string_view fallback) const {
    const auto entry = findEntry(section, key);
    return CutToIniBuffer(entry ? std::string_view(lines_[*entry].value) : fallback);
}

std::span<const Line> IniDocument::sectionLines(std::string_view section) const {
    const auto header = findSection(section);
    if (!header) {
        return {};
    }
    return std::span(lines_).subspan(*header + 1, sectionEnd(*header) - (*header + 1));
}

std::vector<IniEntry> IniDocument::entries(std::string_view section) const {
    std::vector<IniEntry> found;
    std::unordered_set<std::string> seen;
    if (const auto header = findSection(section)) {
        const std::size_t end = sectionEnd(*header);
        for (std::size_t i = *header + 1; i < end; ++i) {
            const Line& line = lines_[i];
            if (line.kind == Line::Kind::Entry && seen.insert(IniNameKey(line.name)).second) {
                found.push_back({line.name, CutToIniBuffer(line.value)});
            }
        }
    }
    return found;
}

std::vector<std::string> IniValues(std::string_view content, std::string_view section,
                                   std::span<const std::string_view> keys) {
    std::vector<std::string> values(keys.size());
    std::vector<bool> found(keys.size(), false);
    bool inSection = false;
    if (content.starts_with(kBom)) {
        content.remove_prefix(kBom.size());
    }
    ForEachLine(content, [&](std::string_view raw) {
        const LineMeaning line = ReadLine(raw);
        if (line.kind == Line::Kind::Section) {
            // Only the first section of the name is read: the scan ends
            // where it does.
            if (inSection) {
                return false;
            }
            inSection = SameName(line.name, section);
        } else if (inSection && line.kind == Line::Kind::Entry) {
            for (std::size_t k = 0; k < keys.size(); ++k) {
                if (!found[k] && SameName(line.name, keys[k])) {
                    found[k] = true;
                    values[k] = CutToIniBuffer(line.value);
                }
            }
        }
        return true;
    });
    return values;
}

std::vector<std::string> IniDocument::sectionNames() const {
    std::vector<std::string> names;
    for (const Line& line : lines_) {
        if (line.kind == Line::Kind::Section) {
            names.push_back(line.name);
        }
    }
    return names;
}

bool IniDocument::setEntry(std::string_view section, std::string_view key, std::string_view value) {
    if (!IniSectionFits(section) || !IniKeyFits(key)) {
        return false;
    }
    Line entry = EntryLine(key, value);
    finalNewline_ = true;
    const auto header = findSection(section);
    if (!header) {
        lines_.push_back(SectionHeader(section));
        lines_.push_back(std::move(entry));
        return true;
    }
    const std::size_t end = sectionEnd(*header);
    std::size_t insertAt = *header + 1;
    for (std::size_t i = *header + 1; i < end; ++i) {
        if (lines_[i].kind == Line::Kind::Entry) {
            if (SameName(lines_[i].name, key)) {
                lines_[i] = std::move(entry);
                return true;
            }
            insertAt = i + 1;
        }
    }
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(insertAt), std::move(entry));
    return true;
}

bool IniDocument::holdsEntry(std::string_view section, std::string_view key, std::string_view value) const {
    // A name the format cannot hold is never held, though a line may read so.
    if (!IniSectionFits(section) || !IniKeyFits(key)) {
        return false;
    }
    const auto entry = findEntry(section, key);
    return finalNewline_ && entry && lines_[*entry].text == EntryLine(key, value).text;
}

bool IniDocument::removeSection(std::string_view section) {
    bool removed = false;
    while (const auto header = findSection(section)) {
        lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(*header),
                     lines_.begin() + static_cast<std::ptrdiff_t>(sectionEnd(*header)));
        removed = true;
    }
    return removed;
}

bool IniDocument::replaceSection(std::string_view section, std::span<const IniEntry> entries) {
    if (!IniSectionFits(section) ||
        !std::all_of(entries.begin(), entries.end(), [](const IniEntry& e) { return IniKeyFits(e.key); })) {
        return false;
    }
    removeSection(section);
    finalNewline_ = true;
    lines_.push_back(SectionHeader(section));
    for (const IniEntry& entry : entries) {
        lines_.push_back(EntryLine(entry.key, entry.value));
    }
    return true;
}

bool IniDocument::rewriteSection(std::string_view section, std::span<const IniEntry> entries) {
    const auto header = findSection(section);
    if (!header) {
        return replaceSection(section, entries);
    }
    if (!std::all_of(entries.begin(), entries.end(), [](const IniEntry& e) { return IniKeyFits(e.key); })) {
        return false;
    }
    const std::size_t end = sectionEnd(*header);
    for (std::size_t i = end; i < lines_.size();) {
        if (lines_[i].kind == Line::Kind::Section && SameName(lines_[i].name, section)) {
            lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(i),
                         lines_.begin() + static_cast<std::ptrdiff_t>(sectionEnd(i)));
        } else {
            ++i;
        }
    }
    std::vector<Line> body;
    body.reserve(entries.size() + (end - *header));
    for (const IniEntry& entry : entries) {
        body.push_back(EntryLine(entry.key, entry.value));
    }
    for (std::size_t i = *header + 1; i < end; ++i) {
        if (lines_[i].kind != Line::Kind::Entry) {
            body.push_back(std::move(lines_[i]));
        }
    }
    const auto first = lines_.begin() + static_cast<std::ptrdiff_t>(*header + 1);
    lines_.erase(first, lines_.begin() + static_cast<std::ptrdiff_t>(end));
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(*header + 1),
                  std::make_move_iterator(body.begin()), std::make_move_iterator(body.end()));
    finalNewline_ = true;
    return true;
}

IniFile::IniFile(FileSystem& files, std::filesystem::path path) : path_(std::move(path)), files_(&files) {
}

bool IniFile::exists() const {
    return files_->exists(path_);
}

FileResult<std::string> IniFile::readText() const {
    auto content = files_->readAll(path_);
    if (!content && content.error().kind == FileError::Kind::Missing) {
        return std::string();
    }
    return content;
}

FileResult<IniDocument> IniFile::read() const {
    const auto content = readText();
    if (!content) {
        return content.error();
    }
    return IniDocument(*content);
}

IniDocument IniFile::readOrEmpty() const {
    FileResult<IniDocument> document = read();
    return document ? std::move(document).value() : IniDocument();
}

FileStatus IniFile::write(const IniDocument& document) {
    const std::string out = document.text();
    return files_->writeAtomically(path_,
                                   std::span(reinterpret_cast<const std::uint8_t*>(out.data()), out.size()));
}

FileError IniFile::refused() const {
    return FileError{FileError::Kind::BadName, path_};
}

std::string IniFile::GetString(std::string_view section, std::string_view key,
                               std::string_view fallback) const {
    return readOrEmpty().getString(section, key, fallback);
}

FileStatus IniFile::WriteString(std::string_view section, std::string_view key, std::string_view value) {
    const IniEntry entry{std::string(key), std::string(value)};
    return WriteStrings(section, std::span(&entry, 1));
}

FileStatus IniFile::WriteStrings(std::string_view section, std::span<const IniEntry> entries) {
    auto document = read();
    if (!document) {
        return document.error();
    }
    // A file that already reads so is left as it is: nothing written, nothing flushed.
    if (std::ranges::all_of(entries, [&](const IniEntry& entry) {
            return document->holdsEntry(section, entry.key, entry.value);
        })) {
        return std::nullopt;
    }
    for (const IniEntry& entry : entries) {
        if (!document->setEntry(section, entry.key, entry.value)) {
            return refused();
        }
    }
    return write(*document);
}

FileStatus IniFile::ReplaceSection(std::string_view section, std::span<const IniEntry> entries) {
    auto document = read();
    if (!document) {
        return document.error();
    }
    if (!document->replaceSection(section, entries)) {
        return refused();
    }
    return write(*document);
}

FileStatus IniFile::RemoveSection(std::string_view section) {
    auto document = read();
    if (!document) {
        return document.error();
    }
    if (!document->removeSection(section)) {
        return std::nullopt;
    }
    return write(*document);
}

std::vector<std::string> IniFile::SectionNames() const {
    return readOrEmpty().sectionNames();
}

std::u32string IniFile::SectionNameBuffer(std::size_t bufferChars) const {
    return quorvel::SectionNameBuffer(SectionNames(), bufferChars);
}

std::u32string SectionNameBuffer(const std::vector<std::string>& names, std::size_t bufferChars) {
    std::u32string list;
    for (const std::string& name : names) {
        // A NUL byte inside a name would end the list there: it shows replaced.
        std::u32string points = Utf8ToCodePoints(name);
        std::replace(points.begin(), points.end(), U'\0', U'\uFFFD');
        list += points;
        list += U'\0';
    }
    list += U'\0';
    if (bufferChars < 2) {
        return std::u32string(bufferChars, U'\0');
    }
    if (list.size() > bufferChars) {
        list.resize(bufferChars);
        list[bufferChars - 2] = U'\0';
        list[bufferChars - 1] = U'\0';
    }
    return list;
}

long LeadingInteger(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    long long value = 0;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
        // Saturate instead of overflowing on absurd numbers in a damaged file.
        if (value < 100000000000LL) {
            value = value * 10 + (text[i] - '0');
        }
        ++i;
    }
    // long has 32 bits on Windows.
    value = std::min<long long>(value, std::numeric_limits<long>::max());
    return static_cast<long>(negative ? -value : value);
}

std::string IniNameKey(std::string_view name) {
    std::string key(name);
    std::transform(key.begin(), key.end(), key.begin(), AsciiLower);
    return key;
}

bool SameIniName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [](char x, char y) { return AsciiLower(x) == AsciiLower(y); });
}

} // namespace quorvel
