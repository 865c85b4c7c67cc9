#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "config/device_config.h"
#include "config/ini_file.h"
#include "macro/macro_table.h"

namespace quorvel {

inline constexpr int kMacroCountLimit = kMacroSlotCount;
// What the user is told when New would make a thirteenth macro; the same in
// every language.
inline constexpr std::string_view kMacroNumbersUpTo12 = "Macro numbers up to 12.";
// The macro list shows at most this many characters of a name.
inline constexpr std::size_t kMacroNameShown = 31;
// Only this many characters of the section-name list are looked at.
inline constexpr std::size_t kSectionNameWindow = 255;

// The macros of record.ini in file order, as the macro list and the Macro
// dialog see them: the section-name list is read into a 1024-character
// buffer and its first 255 characters are examined; a name that is cut by
// that window is not listed.
struct MacroNames {
    std::vector<std::string> names;
    bool someHidden = false; // sections beyond the window
};
MacroNames ReadMacroNames(const IniFile& recordIni);
MacroNames ReadMacroNames(const IniDocument& recordIni);
// The same for a list of section names in file order.
MacroNames ReadMacroNames(const std::vector<std::string>& sections);

// The event list of one macro: the items Item0 .. Item(N-1) that the
// section holds, in order, N from "ItemCount" (0 when it is negative or no
// number). A count larger than the items there reads only those items.
std::vector<std::string> ReadMacroEvents(const IniFile& recordIni, const std::string& name);
std::vector<std::string> ReadMacroEvents(const IniDocument& recordIni, const std::string& name);

// What the list shows for a name: at most 31 characters.
std::string ShownMacroName(const std::string& name);

// A macro's name is the name of its section in record.ini, and the file
// keeps only names that read back as themselves: the reader trims blanks
// inside "[...]" and ends a name at the first "]", and an empty "[]" ends
// the section list for the macro table.
enum class MacroNameFault {
    None,
    Blank,            // empty, or blanks only
    BlankAtEnd,       // a blank before or after the name
    Bracket,          // "[" or "]"
    ControlCharacter, // a line break, a tab or another control character
    InvalidUtf8,
};
MacroNameFault CheckMacroName(std::string_view name);

// NameNotStorable: CheckMacroName found a fault other than Blank.
enum class NewMacroResult {
    Added,
    NameBlank,
    NameNotStorable,
    TooMany,
    NameExists,
    NamesTooLong, // the list would not show it: the names pass the section-name window
    NotSaved,     // record.ini could not be read or written: the change says why
};

// What New, Delete and Confirm did to record.ini and the macro table.
struct MacroChange {
    FileStatus error;  // the file could not be read or written: nothing changed
    bool done = false; // the file was written and the table rebuilt from it
    RebuildResult rebuild;
};

// The macro panel's state and operations, without any widget: the macro
// list with its selection, the event list of the selected macro, the
// Macro Name and Loop Times boxes.
//
// The list is always the macros of record.ini in file order, and a macro's
// position in it is its slot in the macro table and its number on the
// buttons: New appends a section at once, Confirm rewrites the section
// where it stands, Delete removes it, and after each the table is rebuilt
// so that every macro keeps its loop count and its buttons (see
// RebuildMacroTable).
class MacroLibrary {
public:
    explicit MacroLibrary(IniFile recordIni);

    const std::vector<std::string>& names() const { return names_; }
    std::optional<int> selected() const { return selected_; }
    std::vector<std::string> events; // the event list shown
    std::string nameText;            // the Macro Name box
    std::string loopText;            // the Loop Times box

    // Fills the list from the file and selects the first macro.
    void Load(const DeviceConfig& config);
    // Reads the list again after another program changed the file: the
    // macro shown stays selected where it stands now (nothing when it is
    // gone), and the boxes and the events shown keep what they hold.
    void Refresh();
    // Shows the macro at `index` of the list, with its loop count.
    void Select(int index, const DeviceConfig& config);

    struct NewOutcome {
        NewMacroResult result = NewMacroResult::Added;
        MacroChange change;
    };
    // Adds the name in the Macro Name box as a macro without events, last
    // in the list and the file, with the loop count 1, and selects it.
    NewOutcome New(DeviceConfig& config);
    // Removes the selected macro from the list and its section from the
    // file; the macros after it move up a slot. On an error the list is
    // unchanged.
    MacroChange Delete(DeviceConfig& config);
    // Saves the selected macro's events in its section, where it stands in
    // the file, and rebuilds the macro table from the file.
    MacroChange Confirm(DeviceConfig& config);

private:
    // Writes the document, takes the list from it and rebuilds the table.
    MacroChange Save(const IniDocument& document, DeviceConfig& config);

    IniFile file_;
    std::vector<std::string> names_;
    std::optional<int> selected_;
    bool someHidden_ = false; // the file has sections the list cannot show
};

} // namespace quorvel
