#include "macro/macro_recorder.h"

#include <cstdio>

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
}

bool MacroRecorder::Stop() {
    const bool wasRecording = recording_;
    recording_ = false;
    down_.clear();
    return wasRecording;
}

bool MacroRecorder::Record(const Keystroke& keystroke, bool macroSelected, std::vector<std::string>& events) {
    if (!recording_ || !macroSelected) {
        return false;
    }
    const std::string name = RecordedKeyName(keystroke);
    if (keystroke.release) {
        // A repeating key's platform may send a release before each repeated
        // press: the key is still down.
        if (keystroke.autoRepeat || down_.erase(name) == 0) {
            return false;
        }
        events.push_back(std::to_string(kRecordedPause) + std::string(kPauseSuffix));
        events.push_back(name + std::string(kReleaseSuffix));
        return true;
    }
    if (keystroke.autoRepeat && name == lastPress_) {
        return false;
    }
    if (anyEvent_) {
        events.push_back(std::to_string(kRecordedPause) + std::string(kPauseSuffix));
    }
    events.push_back(name + std::string(kPressSuffix));
    anyEvent_ = true;
    lastPress_ = name;
    down_.insert(name);
    return true;
}

} // namespace quorvel
