// What the recorder makes of the keystrokes of a held key, however the
// platform repeats it: X11 with repeats that Qt marked, some of them or none
// (a busy machine), X11 with XKB's detectable auto-repeat, Windows.
#include <gtest/gtest.h>

#include <functional>

#include "macro/macro_recorder.h"

namespace quorvel {
namespace {

using Lines = std::vector<std::string>;

Keystroke Press(std::string name, std::optional<std::uint32_t> time = std::nullopt, bool marked = false) {
    return {std::move(name), 0, false, marked, time};
}
Keystroke Release(std::string name, std::optional<std::uint32_t> time = std::nullopt, bool marked = false) {
    return {std::move(name), 0, true, marked, time};
}

// The list as the panel keeps it, changed only from the line the recorder
// names on.
struct Recording {
    MacroRecorder recorder;
    Lines events;
    Lines shown; // what the list control holds, changed the same way
    Recording() { recorder.Start(); }
    void Type(const std::vector<Keystroke>& keys) {
        for (const Keystroke& key : keys) {
            const Lines before = events;
            if (const auto first = recorder.Record(key, true, events)) {
                ASSERT_LE(*first, before.size());
                ASSERT_TRUE(std::equal(events.begin(), events.begin() + static_cast<std::ptrdiff_t>(*first),
                                       before.begin()))
                    << "lines before " << *first << " changed";
                shown.resize(*first);
                shown.insert(shown.end(), events.begin() + static_cast<std::ptrdiff_t>(*first), events.end());
            } else {
                ASSERT_EQ(events, before);
            }
        }
        EXPECT_EQ(shown, events);
    }
};

// A held A as X11 sends it: the press at 1000, after the repeat delay a
// release and a press of one time for each repeat, the release at the end.
// `marked(i)` says whether Qt marked the i-th repeat pair.
std::vector<Keystroke> HeldOnX11(int repeats, const std::function<bool(int)>& marked) {
    std::vector<Keystroke> keys{Press("A", 1000)};
    for (int i = 0; i < repeats; ++i) {
        const std::uint32_t time = 1200 + 33 * static_cast<std::uint32_t>(i);
        keys.push_back(Release("A", time, marked(i)));
        keys.push_back(Press("A", time, marked(i)));
    }
    keys.push_back(Release("A", 1200 + 33 * static_cast<std::uint32_t>(repeats) + 5));
    return keys;
}

const Lines kHeldA{"A   Dn", "50 ms", "A   Up"};

TEST(MacroRecorder, AKeyHeldOnX11RecordsOnePressAndOneReleaseWhateverQtMarked) {
    const struct {
        const char* what;
        std::function<bool(int)> marked;
    } cases[] = {
        {"every repeat marked (a quiet machine)", [](int) { return true; }},
        {"no repeat marked (both cores busy)", [](int) { return false; }},
        {"every other repeat marked", [](int i) { return i % 2 == 0; }},
        {"only the first marked", [](int i) { return i == 0; }},
        {"only the last marked", [](int i) { return i == 29; }},
    };
    for (const auto& c : cases) {
        Recording r;
        r.Type(HeldOnX11(30, c.marked));
        EXPECT_EQ(r.events, kHeldA) << c.what;
    }
}

TEST(MacroRecorder, AKeyHeldWhereOnlyPressesRepeatRecordsOnePress) {
    // XKB's detectable auto-repeat, or Windows (each repeat says the key was
    // down already, which the shell passes on as marked).
    for (const bool marked : {false, true}) {
        Recording r;
        r.Type({Press("A", 1000)});
        for (std::uint32_t t = 1200; t < 2200; t += 33) {
            r.Type({Press("A", t, marked)});
        }
        r.Type({Release("A", 2210)});
        EXPECT_EQ(r.events, kHeldA) << marked;
    }
    Recording windows; // no times at all
    windows.Type({Press("A"), Press("A", std::nullopt, true), Press("A", std::nullopt, true), Release("A")});
    EXPECT_EQ(windows.events, kHeldA);
}

TEST(MacroRecorder, KeysPressedAgainAfterTheirReleaseAreNewPresses) {
    Recording r;
    // Typed twice: the second press comes later than the release.
    r.Type({Press("A", 100), Release("A", 180), Press("A", 260), Release("A", 330)});
    EXPECT_EQ(r.events, (Lines{"A   Dn", "50 ms", "A   Up", "50 ms", "A   Dn", "50 ms", "A   Up"}));

    // A press of another key at the time of a release is no repeat of it.
    Recording other;
    other.Type({Press("A", 100), Release("A", 180), Press("B", 180), Release("B", 250)});
    EXPECT_EQ(other.events, (Lines{"A   Dn", "50 ms", "A   Up", "50 ms", "B   Dn", "50 ms", "B   Up"}));

    // Without times, a release and a press are what they say.
    Recording untimed;
    untimed.Type({Press("A"), Release("A"), Press("A"), Release("A")});
    EXPECT_EQ(untimed.events, (Lines{"A   Dn", "50 ms", "A   Up", "50 ms", "A   Dn", "50 ms", "A   Up"}));
}

TEST(MacroRecorder, AHeldModifierWithAnotherKeyTypedMeanwhile) {
    Recording r;
    std::vector<Keystroke> keys{Press("Ctrl", 1000)};
    for (std::uint32_t t = 1200; t < 1400; t += 33) {
        keys.push_back(Release("Ctrl", t));
        keys.push_back(Press("Ctrl", t));
    }
    // C goes down; X11 repeats the last key pressed only.
    keys.push_back(Press("C", 1420));
    keys.push_back(Release("C", 1500));
    keys.push_back(Release("Ctrl", 1600));
    r.Type(keys);
    EXPECT_EQ(r.events, (Lines{"Ctrl   Dn", "50 ms", "C   Dn", "50 ms", "C   Up", "50 ms", "Ctrl   Up"}));
}

TEST(MacroRecorder, AReleaseIsTakenBackOnlyWhileItIsTheListsLastLine) {
    Recording r;
    r.Type({Press("A", 100), Release("A", 200)});
    r.events.push_back("L-Button   Dn"); // the user put a mouse event after it meanwhile
    r.shown = r.events;
    r.Type({Press("A", 200)});
    EXPECT_EQ(r.events, (Lines{"A   Dn", "50 ms", "A   Up", "L-Button   Dn", "50 ms", "A   Dn"}));
}

TEST(MacroRecorder, NothingIsRecordedWithoutARecordingOrASelectedMacro) {
    MacroRecorder recorder;
    Lines events;
    EXPECT_EQ(recorder.Record(Press("A", 1), true, events), std::nullopt);
    recorder.Start();
    EXPECT_EQ(recorder.Record(Press("A", 1), false, events), std::nullopt);
    EXPECT_TRUE(events.empty());
    EXPECT_EQ(recorder.Record(Press("A", 1), true, events), 0u);
    EXPECT_TRUE(recorder.Stop());
    EXPECT_FALSE(recorder.Stop());
}

} // namespace
} // namespace quorvel
