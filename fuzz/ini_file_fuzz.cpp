// Any bytes as an INI file, then a few changes through the engine. After
// each change every other section reads back exactly as before, a written
// key reads back as written, a refused change leaves the file alone, and
// the written file reads back as the same file.

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <array>
#include <vector>

#include "config/ini_file.h"
#include "fuzz_support.h"
#include "support/memory_file_system.h"

namespace quorvel::fuzz {
namespace {

const std::filesystem::path kPath = "/data/file.ini";

// Names people and the program use, and names the format cannot hold.
constexpr std::array<std::string_view, 16> kNames = {
    "A", "a",  "Copy", "COPY", " Skins ", "Setting-EN", "Item1",        "ItemCount",
    "",  "[x", "x]",   "k=v",  ";c",      "x\ny",       "\xE9\x94\xAE", "  ",
};

struct Value {
    std::string_view written;
    std::string_view read; // what reading gives back
};
const std::string kLong(1100, 'v');
const std::array<Value, 7> kValues = {{
    {"1", "1"},
    {"", ""},
    {"  padded  ", "  padded  "}, // written in quotes, so the blanks come back
    {"a\nb", "a b"},
    {"\"quoted\"", "\"quoted\""},
    {"x=y;z", "x=y;z"},
    {kLong, std::string_view(kLong).substr(0, kIniBufferChars - 1)},
}};

// What reading finds: each section name once (its first section) with its keys.
using Snapshot = std::vector<std::pair<std::string, std::vector<IniEntry>>>;

Snapshot ReadBack(const IniDocument& document) {
    Snapshot sections;
    for (const std::string& name : document.sectionNames()) {
        if (std::none_of(sections.begin(), sections.end(),
                         [&](const auto& s) { return SameIniName(s.first, name); })) {
            sections.emplace_back(name, document.entries(name));
        }
    }
    return sections;
}

bool SameEntries(const std::vector<IniEntry>& a, const std::vector<IniEntry>& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](const IniEntry& x, const IniEntry& y) {
        return x.key == y.key && x.value == y.value;
    });
}

void RequireOthersUnchanged(const Snapshot& before, const Snapshot& after, std::string_view changed) {
    for (const auto& section : before) {
        if (SameIniName(section.first, Trimmed(changed))) {
            continue;
        }
        const auto found = std::find_if(after.begin(), after.end(),
                                        [&](const auto& s) { return SameIniName(s.first, section.first); });
        Require(found != after.end(), "another section disappeared");
        Require(SameEntries(found->second, section.second), "another section reads back changed");
    }
}

struct Change {
    std::uint8_t kind, section, key, value;
};

} // namespace
} // namespace quorvel::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace quorvel;
    using namespace quorvel::fuzz;
    FuzzedDataProvider input(data, size);
    // The changes come from the end of the input and the file is the rest, so
    // a plain INI file is a good seed.
    std::vector<Change> changes(input.ConsumeIntegralInRange<std::size_t>(1, 4));
    for (Change& change : changes) {
        change = {input.ConsumeIntegral<std::uint8_t>(), input.ConsumeIntegral<std::uint8_t>(),
                  input.ConsumeIntegral<std::uint8_t>(), input.ConsumeIntegral<std::uint8_t>()};
    }
    testing::MemoryFileSystem files;
    files.files[kPath] = input.ConsumeRemainingBytesAsString();
    IniFile file(files, kPath);

    for (const Change& change : changes) {
        const std::string before = files.files[kPath];
        const IniDocument document(before);
        const Snapshot sections = ReadBack(document);
        // A section or key of the file itself, or one of the list.
        std::string section(kNames[change.section % kNames.size()]);
        if ((change.section & 0x80) != 0 && !sections.empty()) {
            section = sections[change.section % sections.size()].first;
        }
        std::string key(kNames[change.key % kNames.size()]);
        const std::vector<IniEntry> keys = document.entries(section);
        if ((change.key & 0x80) != 0 && !keys.empty()) {
            key = keys[change.key % keys.size()].key;
        }
        const Value& value = kValues[change.value % kValues.size()];
        const IniEntry entries[] = {{key, std::string(value.written)}, {"Item0", "A   Dn"}};

        FileStatus result;
        bool written = false;
        switch (change.kind % 4) {
        case 0:
            result = file.WriteString(section, key, value.written);
            written = true;
            break;
        case 1:
            result = file.WriteStrings(section, entries);
            written = true;
            break;
        case 2:
            result = file.ReplaceSection(section, entries);
            written = true;
            break;
        default:
            result = file.RemoveSection(section);
            break;
        }
        const bool fits = IniSectionFits(section) && IniKeyFits(key);
        if (result) {
            Require(result->kind == FileError::Kind::BadName && written && !fits, "a change failed");
            Require(files.files[kPath] == before, "a refused change touched the file");
            continue;
        }
        const std::string& after = files.files[kPath];
        const IniDocument reread(after);
        Require(IniDocument(reread.text()).text() == reread.text(),
                "the written file does not read back as itself");
        RequireOthersUnchanged(sections, ReadBack(reread), section);
        if (written) {
            Require(fits, "a name the format cannot hold was written");
            if (!SameIniName(Trimmed(key), "Item0")) {
                Require(reread.getString(section, key, "<missing>") == value.read,
                        "a written key reads back otherwise");
            }
        } else {
            const std::vector<std::string> names = reread.sectionNames();
            Require(std::none_of(names.begin(), names.end(),
                                 [&](const std::string& n) { return SameIniName(n, Trimmed(section)); }),
                    "a removed section is still there");
        }
    }
    return 0;
}
