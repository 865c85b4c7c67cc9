// Any bytes as record.ini: the macro panel loads it, shows every macro,
// confirms and deletes, and the macro table is rebuilt from it without
// touching a byte of the record outside the table; a confirmed macro reads
// back as it was confirmed, a deleted one is gone.

#include <algorithm>

#include "fuzz_support.h"
#include "macro/macro_library.h"
#include "macro/macro_table.h"

namespace {

constexpr quorvel::Byte kMark = 0xA5;
constexpr std::size_t kTableStart = 384;
constexpr std::size_t kTableEnd = kTableStart + quorvel::kMacroSlotCount * quorvel::kMacroSlotSize;

// Every byte of the record outside the macro table still holds the mark.
void RequireOnlyTheTableChanged(const quorvel::DeviceConfig& config) {
    const auto bytes = config.bytes();
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (i < kTableStart || i >= kTableEnd) {
            quorvel::fuzz::Require(bytes[i] == kMark, "a byte outside the macro table changed");
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace quorvel;
    using quorvel::fuzz::Require;
    fuzz::InputFile input("/data/record.ini", data, size);
    auto& [path, files] = input;

    DeviceConfig config = zeroDeviceConfig();
    std::fill(config.bytes().begin(), config.bytes().end(), kMark);
    const RebuildResult rebuilt = RebuildMacroTable(IniFile(files, path), config);
    Require(rebuilt.slotsFilled <= kMacroSlotCount, "more slots filled than the table has");
    RequireOnlyTheTableChanged(config);

    MacroLibrary library{IniFile(files, path)};
    library.Load(config);
    Require(library.names() == ReadMacroNames(IniFile(files, path)).names,
            "the list is not the file's macros");
    for (int i = 0; i < static_cast<int>(library.names().size()); ++i) {
        library.Select(i, config);
    }
    if (library.names().empty()) {
        library.nameText = "Copy";
        const NewMacroResult added = library.New(config).result;
        if (added == NewMacroResult::NamesTooLong) {
            // Sections the list cannot show (an empty name ends the list):
            // the new one would stand after them, unseen.
            Require(ReadMacroNames(IniFile(files, path)).someHidden, "a first macro refused with nothing hidden");
            return 0;
        }
        Require(added == NewMacroResult::Added, "a first macro was not added");
    }
    library.Select(0, config);
    const std::string name = library.names().front();
    library.events = {"Ctrl   Dn", "50 ms", "C   Dn", "1271 ms", "C   Up", "50 ms", "Ctrl   Up"};
    const auto confirmed = library.Confirm(config);
    if (confirmed.error) {
        Require(confirmed.error->kind == FileError::Kind::BadName, "Confirm failed on a writable file");
        return 0;
    }
    Require(confirmed.done, "Confirm did nothing with a selected macro");
    Require(ReadMacroEvents(IniFile(files, path), name) == library.events,
            "the confirmed macro reads back otherwise");
    RequireOnlyTheTableChanged(config);
    Require(library.selected() &&
                SameIniName(library.names()[static_cast<std::size_t>(*library.selected())], name),
            "the confirmed macro is no longer the one selected");
    library.Select(0, config);
    Require(!library.Delete(config).error, "Delete failed on a writable file");
    const std::vector<std::string> left = IniFile(files, path).SectionNames();
    Require(
        std::none_of(left.begin(), left.end(), [&](const std::string& n) { return SameIniName(n, name); }),
        "a deleted macro is still in the file");
    return 0;
}
