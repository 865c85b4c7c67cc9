#pragma once

#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace quorvel {

// The pause written between recorded events; real timing is not measured.
inline constexpr int kRecordedPause = 50;

// One key event as the keyboard delivers it to the program's windows.
struct Keystroke {
    std::string name;        // the key's name text; empty when the key has none
    unsigned virtualKey = 0; // named instead when the key has no name
    bool release = false;
    bool autoRepeat = false; // the key was already down: the keyboard repeats it
};

// The name a key is recorded under: its name text, or its virtual-key code
// in lower-case hexadecimal for a key without one.
std::string RecordedKeyName(const Keystroke& keystroke);

// The recorder of the macro panel: while it runs, each key typed into the
// program becomes event lines of the selected macro, "50 ms" between them.
class MacroRecorder {
public:
    bool recording() const { return recording_; }
    // Starts a new recording (the caller clears the event list).
    void Start();
    // Ends the recording; false when none was running.
    bool Stop();

    // Appends the lines of one keystroke to `events`: "50 ms" before every
    // event but the first press, then "NAME   Dn" or "NAME   Up". A held
    // key gives one press. Nothing is appended while no recording runs or
    // no macro is selected. True when lines were appended.
    bool Record(const Keystroke& keystroke, bool macroSelected, std::vector<std::string>& events);

private:
    bool recording_ = false;
    bool anyEvent_ = false;
    // The last recorded press, kept across recordings: its repeats are no
    // new presses.
    std::string lastPress_;
    // The keys pressed since the recording started; the release of a key
    // that went down before (the Enter that closed the "Start Recording"
    // box) is not part of the macro.
    std::set<std::string> down_;
};

} // namespace quorvel
