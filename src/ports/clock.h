#pragma once

#include <chrono>

namespace quorvel {

// The mouse needs pauses between some transfers (2, 3 and 5 ms). They all go
// through this port: tests record them instead of sleeping, benchmarks and the
// programs use the real clock.
class Clock {
public:
    virtual ~Clock() = default;
    virtual void sleep(std::chrono::milliseconds duration) = 0;
    // A run of transfers and pauses (an Apply) begins or ends on the calling
    // thread: in between, a clock may hold that thread to time more firmly.
    // The calls pair up, and runs do not overlap.
    virtual void beginRun() {}
    virtual void endRun() {}
};

// A run of the clock for the length of a scope.
class ClockRun {
public:
    explicit ClockRun(Clock& clock) : clock_(clock) { clock_.beginRun(); }
    ~ClockRun() { clock_.endRun(); }
    ClockRun(const ClockRun&) = delete;
    ClockRun& operator=(const ClockRun&) = delete;

private:
    Clock& clock_;
};

} // namespace quorvel
