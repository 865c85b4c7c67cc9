#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "config/device_config.h"
#include "config/ini_file.h"

namespace quorvel {

// The lines of an event list: "Ctrl   Dn", "50 ms", "C   Up", ...
inline constexpr std::string_view kPressSuffix = "   Dn";
inline constexpr std::string_view kReleaseSuffix = "   Up";
inline constexpr std::string_view kPauseSuffix = " ms";

// One line of an event list as the macro table reads it.
struct MacroLine {
    enum class Kind { Press, Release, Other }; // Other: a pause, or anything else
    Kind kind = Kind::Other;
    std::string keyName; // a press or release: the line without its "   Dn" or "   Up"
};
MacroLine ParseMacroLine(std::string_view line);
// The pause a line gives the event before it: the leading number of the
// line once every " ms" is removed, 0 when there is none.
long MacroLinePause(std::string_view line);

// What is wrong with a line given to the event list from outside (a file, a
// script): the list holds a key name followed by "   Dn" or "   Up", or a
// pause of 0 to kLongestPause ms written "N ms", and the line must read back
// from record.ini as it stands.
enum class MacroLineFault {
    None,
    NotAnEvent,      // neither a press, a release nor a pause
    PauseTooLong,    // a pause above kLongestPause ms
    KeyNameNotValid, // blanks at either end, control characters, broken UTF-8, too long
};
// Checks of a text that record.ini must give back as it stands: the
// reader drops blanks at either end of a value or name, and a line ends at
// a line break.
inline constexpr std::string_view kBlankCharacters = " \t\r\n\v\f";
bool HasBlankAtEnd(std::string_view text);
bool HasControlCharacter(std::string_view text);

// Key names are at most this many characters long.
inline constexpr std::size_t kMacroKeyNameChars = 31;
MacroLineFault CheckMacroLine(std::string_view line);

// A slot holds the loop count and 63 event pairs.
inline constexpr int kMacroPairBytes = kMacroSlotSize - 2;
// The longest pause a long-pause pair can carry: 255 hundreds and 99 ms.
inline constexpr int kLongestPause = 255 * 100 + 99;

struct EncodeResult {
    int eventsWritten = 0;
    int eventsLeftOut = 0; // events that did not fit in the slot
};

// Writes the events of `lines` into bytes 2-127 of the slot; the loop count
// stays. Events that do not fit are left out from the first that does not,
// so a pause is never parted from its event.
EncodeResult EncodeMacroEvents(std::span<const std::string> lines, MacroSlot& slot);

// A button of one key configuration (0 Mode A, 1 Mode B).
struct MacroButton {
    int mode = 0;
    int button = 0;
    bool operator==(const MacroButton&) const = default;
};

struct RebuildResult {
    int slotsFilled = 0;
    int sectionsIgnored = 0;             // sections past the twelfth
    std::vector<int> slotsCut{};         // slots whose macro did not fit whole
    std::vector<std::string> namesCut{}; // the names of those macros, in slot order
    // Buttons that played a macro that is gone: they play nothing now
    // ("Key Off"), and their labels must say so.
    std::vector<MacroButton> buttonsOff{};
};

// Where each macro of the list went when the list changed from `before` to
// `after`: for the macro at position i before, its position after, nothing
// when it is gone. Names match without regard to case; a name listed twice
// matches its own occurrence.
std::vector<std::optional<int>> MacroMoves(std::span<const std::string> before,
                                           std::span<const std::string> after);

// Rebuilds the macro table from record.ini after the macro list changed
// from `before` to the macros the file lists now, so that everything of a
// macro stays with it:
// - slot k holds the events of the k-th macro in file order, and the loop
//   count that macro had in the slot it held before (1 for a macro that had
//   none, and in place of 0: a listed macro is played at least once);
// - a slot without a macro is cleared, loop count included, so that no
//   button plays a macro that was deleted;
// - a button that plays a macro follows it to its new number, and a button
//   whose macro is gone is set to "Key Off" (listed in buttonsOff).
RebuildResult RebuildMacroTable(const IniDocument& recordIni, DeviceConfig& config,
                                std::span<const std::string> before);
// The same when the list stands as the file lists it (nothing moved).
RebuildResult RebuildMacroTable(const IniFile& recordIni, DeviceConfig& config);
RebuildResult RebuildMacroTable(const IniDocument& recordIni, DeviceConfig& config);

// The loop count of a slot (bytes 0-1, high byte first).
int MacroLoopCount(const MacroSlot& slot);

} // namespace quorvel
