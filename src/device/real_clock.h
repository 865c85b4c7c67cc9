#pragma once

#include "ports/clock.h"

namespace quorvel {

// The pauses of the real mouse. A pause lasts at least as long as asked and
// hardly longer: the system's sleep overshoots by a fraction of a
// millisecond, which over the hundred pauses of an Apply would add up, so the
// last stretch of each pause is waited out by yielding.
class RealClock final : public Clock {
public:
    void sleep(std::chrono::milliseconds duration) override;
};

} // namespace quorvel
