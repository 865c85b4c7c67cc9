#include "system/windows/waitable_timer_clock.h"

#include <thread>
#include <windows.h>

#include <timeapi.h>

#ifndef CREATE_WAITABLE_TIMER_HIGH_RESOLUTION
#define CREATE_WAITABLE_TIMER_HIGH_RESOLUTION 0x00000002
#endif

namespace quorvel {

namespace {

using namespace std::chrono_literals;

// Comfortably more than the timer's usual lateness.
constexpr auto kYieldedStretch = 300us;

} // namespace

WaitableTimerClock::WaitableTimerClock() {
    timer_ =
        ::CreateWaitableTimerExW(nullptr, nullptr, CREATE_WAITABLE_TIMER_HIGH_RESOLUTION, TIMER_ALL_ACCESS);
    highResolution_ = timer_ != nullptr;
    if (!highResolution_) {
        raisedPeriod_ = ::timeBeginPeriod(1) == TIMERR_NOERROR;
        timer_ = ::CreateWaitableTimerExW(nullptr, nullptr, 0, TIMER_ALL_ACCESS);
    }
}

WaitableTimerClock::~WaitableTimerClock() {
    if (timer_ != nullptr) {
        ::CloseHandle(timer_);
    }
    if (raisedPeriod_) {
        ::timeEndPeriod(1);
    }
}

void WaitableTimerClock::sleep(std::chrono::milliseconds duration) {
    const auto deadline = std::chrono::steady_clock::now() + duration;
    const auto timed = std::chrono::duration_cast<std::chrono::nanoseconds>(duration - kYieldedStretch);
    if (timer_ != nullptr && timed > 0ns) {
        LARGE_INTEGER due{};
        due.QuadPart = -static_cast<LONGLONG>(timed.count() / 100); // relative, in 100 ns
        if (::SetWaitableTimer(timer_, &due, 0, nullptr, nullptr, FALSE) != 0) {
            ::WaitForSingleObject(timer_, INFINITE);
        }
    }
    while (std::chrono::steady_clock::now() < deadline) {
        std::this_thread::yield();
    }
}

} // namespace quorvel
