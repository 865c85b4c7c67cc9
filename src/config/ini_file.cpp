#include "config/ini_file.h"

#include <algorithm>
#include <optional>

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

// One line of the file as it stood, with what it means to the INI rules.
struct Line {
    enum class Kind { Other, Section, Entry };
    std::string text; // without its line end
    Kind kind = Kind::Other;
    std::string_view name() const { return name_; }
    std::string name_;  // section or key name, trimmed
    std::string value_; // entry value, trimmed
};

struct Document {
    bool bom = false;
    std::string eol = "\n";
    bool finalNewline = true;
    std::vector<Line> lines;
};

Line ParseLine(std::string text) {
    Line line;
    const std::string_view t = Trim(text);
    if (!t.empty() && t.front() == '[') {
        std::string_view inner = t.substr(1);
        const auto close = inner.find(']');
        if (close != std::string_view::npos) {
            inner = inner.substr(0, close);
        }
        line.kind = Line::Kind::Section;
        line.name_ = std::string(Trim(inner));
    } else if (!t.empty() && t.front() != ';') {
        const auto eq = t.find('=');
        if (eq != std::string_view::npos) {
            line.kind = Line::Kind::Entry;
            line.name_ = std::string(Trim(t.substr(0, eq)));
            std::string_view value = Trim(t.substr(eq + 1));
            // A value in matching quotes is read without them.
            if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
                value.back() == value.front()) {
                value = value.substr(1, value.size() - 2);
            }
            line.value_ = std::string(value);
        }
    }
    line.text = std::move(text);
    return line;
}

Document Parse(std::string_view content) {
    Document doc;
    if (content.starts_with(kBom)) {
        doc.bom = true;
        content.remove_prefix(kBom.size());
    }
    if (content.find("\r\n") != std::string_view::npos) {
        doc.eol = "\r\n";
    }
    doc.finalNewline = content.empty() || content.back() == '\n';
    std::size_t start = 0;
    while (start < content.size()) {
        auto end = content.find('\n', start);
        const bool last = end == std::string_view::npos;
        if (last) {
            end = content.size();
        }
        std::string_view raw = content.substr(start, end - start);
        if (!raw.empty() && raw.back() == '\r') {
            raw.remove_suffix(1);
        }
        doc.lines.push_back(ParseLine(std::string(raw)));
        start = end + 1;
    }
    return doc;
}

std::string Serialize(const Document& doc) {
    std::string out;
    if (doc.bom) {
        out += kBom;
    }
    for (std::size_t i = 0; i < doc.lines.size(); ++i) {
        out += doc.lines[i].text;
        if (i + 1 < doc.lines.size() || doc.finalNewline) {
            out += doc.eol;
        }
    }
    return out;
}

// Index of the first section of that name.
std::optional<std::size_t> FindSection(const Document& doc, std::string_view section) {
    for (std::size_t i = 0; i < doc.lines.size(); ++i) {
        if (doc.lines[i].kind == Line::Kind::Section && SameIniName(doc.lines[i].name(), section)) {
            return i;
        }
    }
    return std::nullopt;
}

std::size_t SectionEnd(const Document& doc, std::size_t header) {
    std::size_t i = header + 1;
    while (i < doc.lines.size() && doc.lines[i].kind != Line::Kind::Section) {
        ++i;
    }
    return i;
}

// A name or value is one line: line breaks in it would make keys of their own.
std::string OneLine(std::string_view text) {
    std::string out(Trim(text));
    std::replace_if(
        out.begin(), out.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
    return out;
}

std::string CutToBuffer(std::string_view value) {
    const std::u32string chars = Utf8ToCodePoints(value);
    if (chars.size() < kIniBufferChars) {
        return std::string(value);
    }
    return CodePointsToUtf8(std::u32string_view(chars).substr(0, kIniBufferChars - 1));
}

void SetEntry(Document& doc, std::string_view section, std::string_view key, std::string_view value) {
    const std::string keyName = OneLine(key);
    Line entry = ParseLine(keyName + "=" + OneLine(value));
    const auto header = FindSection(doc, section);
    if (!header) {
        doc.lines.push_back(ParseLine("[" + OneLine(section) + "]"));
        doc.lines.push_back(std::move(entry));
        return;
    }
    const std::size_t end = SectionEnd(doc, *header);
    std::size_t insertAt = *header + 1;
    for (std::size_t i = *header + 1; i < end; ++i) {
        if (doc.lines[i].kind == Line::Kind::Entry) {
            if (SameIniName(doc.lines[i].name(), keyName)) {
                doc.lines[i] = std::move(entry);
                return;
            }
            insertAt = i + 1;
        }
    }
    doc.lines.insert(doc.lines.begin() + static_cast<std::ptrdiff_t>(insertAt), std::move(entry));
}

// Removes the first section of that name with its lines; false when there is none.
bool EraseSection(Document& doc, std::string_view section) {
    const auto header = FindSection(doc, section);
    if (!header) {
        return false;
    }
    const std::size_t end = SectionEnd(doc, *header);
    doc.lines.erase(doc.lines.begin() + static_cast<std::ptrdiff_t>(*header),
                    doc.lines.begin() + static_cast<std::ptrdiff_t>(end));
    return true;
}

int WriteDocument(FileSystem& files, const std::filesystem::path& path, const Document& doc) {
    const std::string out = Serialize(doc);
    return files.writeAtomically(path,
                                 std::span(reinterpret_cast<const std::uint8_t*>(out.data()), out.size()));
}

} // namespace

IniFile::IniFile(FileSystem& files, std::filesystem::path path) : path_(std::move(path)), files_(&files) {
}

bool IniFile::exists() const {
    return files_->exists(path_);
}

std::string IniFile::GetString(std::string_view section, std::string_view key,
                               std::string_view fallback) const {
    const auto content = files_->readAll(path_);
    if (content) {
        const Document doc = Parse(*content);
        if (const auto header = FindSection(doc, section)) {
            const std::size_t end = SectionEnd(doc, *header);
            for (std::size_t i = *header + 1; i < end; ++i) {
                if (doc.lines[i].kind == Line::Kind::Entry && SameIniName(doc.lines[i].name(), key)) {
                    return CutToBuffer(doc.lines[i].value_);
                }
            }
        }
    }
    return CutToBuffer(fallback);
}

int IniFile::WriteString(std::string_view section, std::string_view key, std::string_view value) {
    const IniEntry entry{std::string(key), std::string(value)};
    return WriteStrings(section, std::span(&entry, 1));
}

int IniFile::WriteStrings(std::string_view section, std::span<const IniEntry> entries) {
    Document doc = Parse(files_->readAll(path_).value_or(std::string{}));
    for (const IniEntry& entry : entries) {
        SetEntry(doc, section, entry.key, entry.value);
    }
    doc.finalNewline = true;
    return WriteDocument(*files_, path_, doc);
}

int IniFile::ReplaceSection(std::string_view section, std::span<const IniEntry> entries) {
    Document doc = Parse(files_->readAll(path_).value_or(std::string{}));
    EraseSection(doc, section);
    doc.lines.push_back(ParseLine("[" + OneLine(section) + "]"));
    for (const IniEntry& entry : entries) {
        doc.lines.push_back(ParseLine(OneLine(entry.key) + "=" + OneLine(entry.value)));
    }
    doc.finalNewline = true;
    return WriteDocument(*files_, path_, doc);
}

int IniFile::RemoveSection(std::string_view section) {
    const auto content = files_->readAll(path_);
    if (!content) {
        return 0;
    }
    Document doc = Parse(*content);
    if (!EraseSection(doc, section)) {
        return 0;
    }
    return WriteDocument(*files_, path_, doc);
}

std::vector<std::string> IniFile::SectionNames() const {
    std::vector<std::string> names;
    const auto content = files_->readAll(path_);
    if (!content) {
        return names;
    }
    for (const Line& line : Parse(*content).lines) {
        if (line.kind == Line::Kind::Section) {
            names.push_back(line.name_);
        }
    }
    return names;
}

std::u32string IniFile::SectionNameBuffer(std::size_t bufferChars) const {
    std::u32string list;
    for (const std::string& name : SectionNames()) {
        list += Utf8ToCodePoints(name);
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
    long value = 0;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
        // Saturate instead of overflowing on absurd numbers in a damaged file.
        if (value < 100000000000L) {
            value = value * 10 + (text[i] - '0');
        }
        ++i;
    }
    return negative ? -value : value;
}

bool SameIniName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [](char x, char y) { return AsciiLower(x) == AsciiLower(y); });
}

std::u32string Utf8ToCodePoints(std::string_view text) {
    std::u32string out;
    out.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        const auto c = static_cast<unsigned char>(text[i]);
        int length = 1;
        char32_t cp = c;
        if (c >= 0xF0 && c < 0xF8) {
            length = 4;
            cp = c & 0x07;
        } else if (c >= 0xE0) {
            length = c < 0xF0 ? 3 : 1;
            cp = c < 0xF0 ? (c & 0x0F) : U'\uFFFD';
        } else if (c >= 0xC0) {
            length = 2;
            cp = c & 0x1F;
        } else if (c >= 0x80) {
            cp = U'\uFFFD'; // a stray continuation byte
        }
        bool valid = i + static_cast<std::size_t>(length) <= text.size();
        for (int k = 1; valid && k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + static_cast<std::size_t>(k)]);
            valid = (next & 0xC0) == 0x80;
            cp = (cp << 6) | (next & 0x3F);
        }
        if (!valid) {
            out += U'\uFFFD';
            ++i;
            continue;
        }
        out += cp;
        i += static_cast<std::size_t>(length);
    }
    return out;
}

std::string CodePointsToUtf8(std::u32string_view text) {
    std::string out;
    for (char32_t cp : text) {
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

} // namespace quorvel
