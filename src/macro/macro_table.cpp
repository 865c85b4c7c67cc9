#include "macro/macro_table.h"

#include <algorithm>

#include "assign/key_codes.h"
#include "macro/macro_library.h"

namespace quorvel {

namespace {

constexpr Byte kReleaseBit = 0x80;
constexpr Byte kDelayBits = 0x7F;
constexpr int kShortPauseLimit = 1270; // 127 steps of 10 ms
constexpr Byte kLongPauseMarker = 0x03;

std::string RemoveAll(std::string text, std::string_view part) {
    for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at)) {
        text.erase(at, part.size());
    }
    return text;
}

} // namespace

EncodeResult EncodeMacroEvents(std::span<const std::string> lines, MacroSlot& slot) {
    std::fill(slot.begin() + 2, slot.end(), Byte{0});
    EncodeResult result;
    std::size_t p = 0;
    for (std::size_t j = 0; j < lines.size(); ++j) {
        const std::string& line = lines[j];
        bool release = false;
        std::string_view marker = kPressSuffix;
        if (line.find(kPressSuffix) == std::string::npos) {
            if (line.find(kReleaseSuffix) == std::string::npos) {
                continue; // a pause line, taken with the event before it
            }
            release = true;
            marker = kReleaseSuffix;
        }
        const Byte code = KeyCodeFromName(RemoveAll(line, marker));
        long pause = j + 1 < lines.size() ? LeadingInteger(RemoveAll(lines[j + 1], kPauseSuffix)) : 0;
        // A pause the slot cannot express is held to what it can.
        pause = std::clamp(pause, 0L, static_cast<long>(kLongestPause));

        const bool longPause = pause > kShortPauseLimit;
        const std::size_t need = longPause ? 4 : 2;
        if (p + need > static_cast<std::size_t>(kMacroPairBytes) || result.eventsLeftOut > 0) {
            ++result.eventsLeftOut;
            continue;
        }
        const Byte delay = static_cast<Byte>((longPause ? pause % 100 : pause / 10) & kDelayBits);
        slot[p + 2] = static_cast<Byte>(delay | (release ? kReleaseBit : 0));
        slot[p + 3] = code;
        if (longPause) {
            slot[p + 4] = static_cast<Byte>(pause / 100);
            slot[p + 5] = kLongPauseMarker;
        }
        p += need;
        ++result.eventsWritten;
    }
    return result;
}

RebuildResult RebuildMacroTable(const IniFile& recordIni, DeviceConfig& config) {
    return RebuildMacroTable(recordIni.read().value_or(IniDocument()), config);
}

RebuildResult RebuildMacroTable(const IniDocument& recordIni, DeviceConfig& config) {
    RebuildResult result;
    const std::vector<std::string> names = ReadMacroNames(recordIni).names;
    for (std::size_t k = 0; k < names.size(); ++k) {
        if (k >= config.macroSlots.size()) {
            result.sectionsIgnored = static_cast<int>(names.size() - k);
            break;
        }
        MacroSlot& slot = config.macroSlots[k];
        const std::vector<std::string> events = ReadMacroEvents(recordIni, names[k]);
        if (events.empty()) {
            slot.fill(0);
        } else if (EncodeMacroEvents(events, slot).eventsLeftOut > 0) {
            result.slotsCut.push_back(static_cast<int>(k));
        }
        ++result.slotsFilled;
    }
    return result;
}

int MacroLoopCount(const MacroSlot& slot) {
    return (slot[0] << 8) | slot[1];
}

} // namespace quorvel
