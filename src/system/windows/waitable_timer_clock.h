#pragma once

#include "ports/clock.h"

namespace quorvel {

// The pauses of the real mouse on Windows. A plain Sleep rounds up to the
// system's 15.6 ms tick, which would stretch every 2 or 3 ms pause fivefold;
// a high-resolution waitable timer wakes within a fraction of a millisecond.
// Where the system has none, the timer resolution is raised to 1 ms for the
// clock's lifetime instead. The last stretch of each pause is waited out by
// yielding, so a pause lasts at least as long as asked and hardly longer.
class WaitableTimerClock final : public Clock {
public:
    WaitableTimerClock();
    ~WaitableTimerClock() override;
    WaitableTimerClock(const WaitableTimerClock&) = delete;
    WaitableTimerClock& operator=(const WaitableTimerClock&) = delete;

    void sleep(std::chrono::milliseconds duration) override;

    // False when the system had no high-resolution timer and the clock fell
    // back to the raised timer resolution.
    bool highResolution() const { return highResolution_; }

private:
    void* timer_ = nullptr;
    bool highResolution_ = false;
    bool raisedPeriod_ = false;
};

} // namespace quorvel
