#include "device/real_clock.h"

#include <thread>

namespace quorvel {

namespace {

using namespace std::chrono_literals;

// Comfortably more than the system's usual oversleep.
constexpr auto kYieldedStretch = 300us;

} // namespace

void RealClock::sleep(std::chrono::milliseconds duration) {
    const auto deadline = std::chrono::steady_clock::now() + duration;
    if (duration > kYieldedStretch) {
        std::this_thread::sleep_until(deadline - kYieldedStretch);
    }
    while (std::chrono::steady_clock::now() < deadline) {
        std::this_thread::yield();
    }
}

} // namespace quorvel
