#pragma once

#include <optional>

namespace quorvel {

// The system's pointer settings: acceleration, speed, wheel lines and the
// double-click time. Reads give nothing when the system refuses; writes say
// whether the system took the value.
class PointerSettingsPort {
public:
    // The two acceleration thresholds and the acceleration level.
    struct Acceleration {
        int threshold1 = 0;
        int threshold2 = 0;
        int level = 0;
        bool operator==(const Acceleration&) const = default;
    };

    // How long a change holds: for the running session only (other programs
    // are told of it), or also saved to the user's profile.
    enum class Scope { Session, Profile };

    // The wheel scrolls one screen per notch instead of a number of lines.
    static constexpr int kPageScroll = -1;

    virtual ~PointerSettingsPort() = default;

    virtual std::optional<Acceleration> acceleration() const = 0;
    virtual bool setAcceleration(const Acceleration& value, Scope scope) = 0;
    // 1 (slowest) to 20.
    virtual std::optional<int> speed() const = 0;
    virtual bool setSpeed(int speed, Scope scope) = 0;
    // Lines per notch, or kPageScroll.
    virtual std::optional<int> wheelScrollLines() const = 0;
    virtual bool setWheelScrollLines(int lines, Scope scope) = 0;
    // Milliseconds.
    virtual int doubleClickTime() const = 0;
    virtual bool setDoubleClickTime(int milliseconds, Scope scope) = 0;
};

} // namespace quorvel
