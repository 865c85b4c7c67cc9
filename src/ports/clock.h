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
};

} // namespace quorvel
