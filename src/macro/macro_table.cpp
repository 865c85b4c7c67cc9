#include "macro/macro_table.h"

#include <algorithm>

#include "assign/function_list.h"
#include "assign/key_codes.h"
#include "lang/utf8.h"
#include "macro/macro_editing.h"
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

// Whether a line presses or releases a key, without reading its name.
MacroLine::Kind MacroLineKind(std::string_view line) {
    if (line.find(kPressSuffix) != std::string_view::npos) {
        return MacroLine::Kind::Press;
    }
    if (line.find(kReleaseSuffix) != std::string_view::npos) {
        return MacroLine::Kind::Release;
    }
    return MacroLine::Kind::Other;
}

} // namespace

MacroLine ParseMacroLine(std::string_view line) {
    MacroLine result;
    result.kind = MacroLineKind(line);
    if (result.kind != MacroLine::Kind::Other) {
        result.keyName =
            RemoveAll(std::string(line), result.kind == MacroLine::Kind::Press ? kPressSuffix : kReleaseSuffix);
    }
    return result;
}

long MacroLinePause(std::string_view line) {
    return LeadingInteger(RemoveAll(std::string(line), kPauseSuffix));
}

bool HasBlankAtEnd(std::string_view text) {
    const auto blank = [](char c) { return kBlankCharacters.find(c) != std::string_view::npos; };
    return !text.empty() && (blank(text.front()) || blank(text.back()));
}

bool HasControlCharacter(std::string_view text) {
    return std::any_of(text.begin(), text.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte < 0x20 || byte == 0x7F;
    });
}

MacroLineFault CheckMacroLine(std::string_view line) {
    const MacroLine parsed = ParseMacroLine(line);
    if (parsed.kind == MacroLine::Kind::Other) {
        // A pause as the list shows it: "%d ms".
        if (!line.ends_with(kPauseSuffix)) {
            return MacroLineFault::NotAnEvent;
        }
        const std::string_view digits = line.substr(0, line.size() - kPauseSuffix.size());
        if (digits.empty() ||
            !std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; })) {
            return MacroLineFault::NotAnEvent;
        }
        return LeadingInteger(digits) > kLongestPause ? MacroLineFault::PauseTooLong : MacroLineFault::None;
    }
    // The marker once, at the end, after a name.
    const std::string_view marker = parsed.kind == MacroLine::Kind::Press ? kPressSuffix : kReleaseSuffix;
    const std::string_view name = parsed.keyName;
    if (name.empty() || !line.ends_with(marker) || name.size() + marker.size() != line.size() ||
        name.find(kPressSuffix) != std::string_view::npos ||
        name.find(kReleaseSuffix) != std::string_view::npos) {
        return MacroLineFault::NotAnEvent;
    }
    if (HasBlankAtEnd(name) || HasControlCharacter(name) || !IsValidUtf8(name) ||
        Utf8ToCodePoints(name).size() > kMacroKeyNameChars) {
        return MacroLineFault::KeyNameNotValid;
    }
    return MacroLineFault::None;
}

EncodeResult EncodeMacroEvents(std::span<const std::string> lines, MacroSlot& slot) {
    std::fill(slot.begin() + 2, slot.end(), Byte{0});
    EncodeResult result;
    std::size_t p = 0;
    for (std::size_t j = 0; j < lines.size(); ++j) {
        if (MacroLineKind(lines[j]) == MacroLine::Kind::Other) {
            continue; // a pause line, taken with the event before it
        }
        if (result.eventsLeftOut > 0) {
            ++result.eventsLeftOut; // nothing after the first left out goes in
            continue;
        }
        const MacroLine line = ParseMacroLine(lines[j]);
        const bool release = line.kind == MacroLine::Kind::Release;
        long pause = j + 1 < lines.size() ? MacroLinePause(lines[j + 1]) : 0;
        // A pause the slot cannot express is held to what it can.
        pause = std::clamp(pause, 0L, static_cast<long>(kLongestPause));

        const bool longPause = pause > kShortPauseLimit;
        const std::size_t need = longPause ? 4 : 2;
        if (p + need > static_cast<std::size_t>(kMacroPairBytes)) {
            ++result.eventsLeftOut;
            continue;
        }
        const Byte delay = static_cast<Byte>((longPause ? pause % 100 : pause / 10) & kDelayBits);
        slot[p + 2] = static_cast<Byte>(delay | (release ? kReleaseBit : 0));
        slot[p + 3] = KeyCodeFromName(line.keyName);
        if (longPause) {
            slot[p + 4] = static_cast<Byte>(pause / 100);
            slot[p + 5] = kLongPauseMarker;
        }
        p += need;
        ++result.eventsWritten;
    }
    return result;
}

std::vector<std::optional<int>> MacroMoves(std::span<const std::string> before,
                                           std::span<const std::string> after) {
    // The n-th macro of a name before is the n-th of that name after.
    const auto occurrence = [](std::span<const std::string> names, std::size_t at) {
        return std::count_if(names.begin(), names.begin() + static_cast<std::ptrdiff_t>(at),
                             [&](const std::string& name) { return SameIniName(name, names[at]); });
    };
    std::vector<std::optional<int>> moves(before.size());
    for (std::size_t j = 0; j < after.size(); ++j) {
        const auto n = occurrence(after, j);
        for (std::size_t i = 0; i < before.size(); ++i) {
            if (SameIniName(before[i], after[j]) && occurrence(before, i) == n) {
                moves[i] = static_cast<int>(j);
                break;
            }
        }
    }
    return moves;
}

RebuildResult RebuildMacroTable(const IniFile& recordIni, DeviceConfig& config) {
    return RebuildMacroTable(recordIni.readOrEmpty(), config);
}

RebuildResult RebuildMacroTable(const IniDocument& recordIni, DeviceConfig& config) {
    const std::vector<std::string> names = ReadMacroNames(recordIni).names;
    return RebuildMacroTable(recordIni, config, names);
}

RebuildResult RebuildMacroTable(const IniDocument& recordIni, DeviceConfig& config,
                                std::span<const std::string> before) {
    RebuildResult result;
    const std::vector<std::string> names = ReadMacroNames(recordIni).names;
    const std::vector<std::optional<int>> moves = MacroMoves(before, names);

    // The loop counts go with their macros before any slot is written.
    std::array<int, kMacroSlotCount> loops{};
    for (std::size_t i = 0; i < moves.size() && i < config.macroSlots.size(); ++i) {
        if (moves[i] && *moves[i] < kMacroSlotCount) {
            loops[static_cast<std::size_t>(*moves[i])] = MacroLoopCount(config.macroSlots[i]);
        }
    }
    for (std::size_t k = 0; k < config.macroSlots.size(); ++k) {
        MacroSlot& slot = config.macroSlots[k];
        if (k >= names.size()) {
            slot.fill(0);
            continue;
        }
        SetMacroLoopCount(slot, std::max(loops[k], 1));
        const std::vector<std::string> events = ReadMacroEvents(recordIni, names[k]);
        if (EncodeMacroEvents(events, slot).eventsLeftOut > 0) {
            result.slotsCut.push_back(static_cast<int>(k));
            result.namesCut.push_back(names[k]);
        }
        ++result.slotsFilled;
    }
    if (names.size() > config.macroSlots.size()) {
        result.sectionsIgnored = static_cast<int>(names.size() - config.macroSlots.size());
    }

    // A button names its macro by its number, the position plus one.
    for (int mode = 0; mode < 2; ++mode) {
        ButtonSet& set = config.buttonSet(mode);
        for (int button = 0; button < kButtonCount; ++button) {
            Byte& position = set.field(kFieldMacroPosition, button);
            if (set.field(kFieldFunction, button) != kFnMacroKey || position >= moves.size()) {
                continue;
            }
            if (const std::optional<int> to = moves[position]) {
                position = static_cast<Byte>(*to);
            } else {
                set.field(kFieldFunction, button) = kFnKeyOff;
                result.buttonsOff.push_back({mode, button});
            }
        }
    }
    return result;
}

int MacroLoopCount(const MacroSlot& slot) {
    return (slot[0] << 8) | slot[1];
}

} // namespace quorvel
