#pragma once

#include "ports/clock.h"

namespace quorvel {

// The pauses of the real mouse on Linux. A pause lasts at least as long as
// asked and hardly longer, also while other programs keep every core busy:
// it sleeps to an absolute deadline on the monotonic clock with the
// thread's timer slack at its least (the kernel lets a sleep run 50 µs late
// by default to gather wake-ups), and then waits out the last stretch
// without giving the processor away, since a thread that yields on a busy
// machine may not get it back for a whole time slice. During a run (an
// Apply), where the system allows it, the thread runs at a real-time
// priority, so that neither its wake-ups nor the transfers between the
// pauses queue behind other programs.
class MonotonicClock final : public Clock {
public:
    void sleep(std::chrono::milliseconds duration) override;
    void beginRun() override;
    void endRun() override;

private:
    int policy_ = 0; // the thread's own, put back when the run ends
    int priority_ = 0;
    bool raised_ = false;
};

} // namespace quorvel
