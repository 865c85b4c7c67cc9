#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
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
    bool autoRepeat = false; // the platform marked it as a repeat of a held key
    // When the key event happened, in milliseconds of the platform's clock
    // of input events; nothing when the platform does not tell.
    std::optional<std::uint32_t> time{};
};

// The name a key is recorded under: its name text, or its virtual-key code
// in lower-case hexadecimal for a key without one.
std::string RecordedKeyName(const Keystroke& keystroke);

// The recorder of the macro panel: while it runs, each key typed into the
// program becomes event lines of the selected macro, "50 ms" between them.
//
// A held key records one press and, when it is let go, one release, however
// the platform repeats it and whether or not it marks the repeats:
// - a press of a key that is down (pressed and not released since) repeats it;
// - X11 repeats a held key as a release and a press of the same time: when
//   such a press follows the release just recorded, the two were a repeat,
//   and the release is taken back out of the list.
class MacroRecorder {
public:
    bool recording() const { return recording_; }
    // Starts a new recording (the caller clears the event list).
    void Start();
    // Ends the recording; false when none was running.
    bool Stop();

    // Changes `events` for one keystroke: appends "50 ms" before every
    // event but the first press, then "NAME   Dn" or "NAME   Up", or takes
    // back the release that a repeat's press shows to have been part of the
    // repeat. Nothing changes while no recording runs or no macro is
    // selected. The position of the first line that changed (lines from
    // there on were added or removed), or nothing when none did.
    std::optional<std::size_t> Record(const Keystroke& keystroke, bool macroSelected,
                                      std::vector<std::string>& events);

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
    // The release recorded last, while it may still turn out to be a repeat's.
    struct RecordedRelease {
        std::string name;
        std::uint32_t time = 0;
        std::size_t firstLine = 0; // where its lines begin
        std::size_t lines = 0;     // the list's length with them
    };
    std::optional<RecordedRelease> lastRelease_;
};

} // namespace quorvel
