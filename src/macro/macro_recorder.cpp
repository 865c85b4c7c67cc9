#include "macro/macro_recorder.h"

#include <cstdio>
#include <utility>

#include "macro/macro_table.h"

namespace quorvel {

std::string RecordedKeyName(const Keystroke& keystroke) {
    if (!keystroke.name.empty()) {
        return keystroke.name;
    }
    char text[32];
    std::snprintf(text, sizeof text, "virtual-key code :%x", keystroke.virtualKey);
    return text;
}

void MacroRecorder::Start() {
    recording_ = true;
    anyEvent_ = false;
    down_.clear();
    lastRelease_.reset();
}

bool MacroRecorder::Stop() {
    const bool wasRecording = recording_;
    recording_ = false;
    down_.clear();
    lastRelease_.reset();
    return wasRecording;
}

std::optional<std::size_t> MacroRecorder::Record(const Keystroke& keystroke, bool macroSelected,
                                                 std::vector<std::string>& events) {
    if (!recording_ || !macroSelected) {
        return std::nullopt;
    }
    const std::string name = RecordedKeyName(keystroke);
    const std::string pause = std::to_string(kRecordedPause) + std::string(kPauseSuffix);
    if (keystroke.release) {
        // A repeating key's platform may send a release before each repeated
        // press: the key is still down.
        if (keystroke.autoRepeat || down_.erase(name) == 0) {
            return std::nullopt;
        }
        const std::size_t first = events.size();
        events.push_back(pause);
        events.push_back(name + std::string(kReleaseSuffix));
        lastRelease_.reset();
        if (keystroke.time) {
            lastRelease_ = RecordedRelease{name, *keystroke.time, first, events.size()};
        }
        return first;
    }
    // The press of an X11 repeat, with the time of the release before it.
    // The list must still end with that release (no edit came between).
    const std::optional<RecordedRelease> release = std::exchange(lastRelease_, std::nullopt);
    if (release && release->name == name && keystroke.time == release->time &&
        events.size() == release->lines) {
        events.resize(release->firstLine);
        down_.insert(name);
        return release->firstLine;
    }
    if (down_.count(name) != 0 || (keystroke.autoRepeat && name == lastPress_)) {
        return std::nullopt;
    }
    const std::size_t first = events.size();
    if (anyEvent_) {
        events.push_back(pause);
    }
    events.push_back(name + std::string(kPressSuffix));
    anyEvent_ = true;
    lastPress_ = name;
    down_.insert(name);
    return first;
}

} // namespace quorvel
