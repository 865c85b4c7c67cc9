#pragma once

#include <span>
#include <string>
#include <vector>

#include "config/device_config.h"
#include "config/ini_file.h"

namespace quorvel {

// The lines of an event list: "Ctrl   Dn", "50 ms", "C   Up", ...
inline constexpr std::string_view kPressSuffix = "   Dn";
inline constexpr std::string_view kReleaseSuffix = "   Up";
inline constexpr std::string_view kPauseSuffix = " ms";

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

struct RebuildResult {
    int slotsFilled = 0;
    int sectionsIgnored = 0;   // sections past the twelfth
    std::vector<int> slotsCut; // slots whose macro did not fit whole
};

// Rebuilds the macro table of the configuration from record.ini: slot k
// from the k-th macro in file order. Slots after the last macro keep what
// they hold.
RebuildResult RebuildMacroTable(const IniFile& recordIni, DeviceConfig& config);
RebuildResult RebuildMacroTable(const IniDocument& recordIni, DeviceConfig& config);

// The loop count of a slot (bytes 0-1, high byte first).
int MacroLoopCount(const MacroSlot& slot);

} // namespace quorvel
