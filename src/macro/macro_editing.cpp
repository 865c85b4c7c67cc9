#include "macro/macro_editing.h"

#include "config/ini_file.h"
#include "macro/macro_table.h"

namespace quorvel {

namespace {

constexpr std::string_view kClick = " Click";

std::string RecordedPauseLine() {
    return std::to_string(kShortestTypedPause) + std::string(kPauseSuffix);
}

} // namespace

bool IsPauseLine(std::string_view line) {
    return line.find("ms") != std::string_view::npos;
}

std::string TypedPauseLine(int value, std::string_view text) {
    if (value < kShortestTypedPause || value > kLongestTypedPause) {
        return RecordedPauseLine();
    }
    return std::string(text) + std::string(kPauseSuffix);
}

InsertedEvents InsertMouseEvent(std::vector<std::string>& events, std::optional<int> selectedLine,
                                bool macroSelected, std::string_view event) {
    const std::string pause = RecordedPauseLine();
    std::vector<std::string> lines;
    if (const std::size_t click = event.find(kClick); click != std::string_view::npos) {
        const std::string button(event.substr(0, click));
        lines = {button + std::string(kPressSuffix), pause, button + std::string(kReleaseSuffix), pause};
    } else {
        lines = {std::string(event), pause};
    }
    if (!selectedLine || *selectedLine < 0 || *selectedLine >= static_cast<int>(events.size())) {
        if (!events.empty() || !macroSelected) {
            return {};
        }
        events = std::move(lines);
        return {0, events.size(), std::nullopt};
    }
    const int at = *selectedLine;
    const bool afterPause = IsPauseLine(events[static_cast<std::size_t>(at)]);
    if (!afterPause) {
        // After an event line the pause comes first: event, pause, event.
        lines.pop_back();
        lines.insert(lines.begin(), pause);
    }
    events.insert(events.begin() + at + 1, lines.begin(), lines.end());
    return {static_cast<std::size_t>(at) + 1, lines.size(), afterPause ? at + 1 : at + 2};
}

std::optional<int> LoopCountOfText(std::string_view text) {
    const long value = LeadingInteger(text);
    if (value < 1 || value > kLongestLoop) {
        return std::nullopt;
    }
    return static_cast<int>(value);
}

void SetMacroLoopCount(MacroSlot& slot, int count) {
    slot[0] = static_cast<Byte>((count >> 8) & 0xFF);
    slot[1] = static_cast<Byte>(count & 0xFF);
}

} // namespace quorvel
