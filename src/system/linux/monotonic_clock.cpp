#include "system/linux/monotonic_clock.h"

#include <cerrno>
#include <ctime>
#include <pthread.h>
#include <sched.h>
#include <sys/prctl.h>

namespace quorvel {

namespace {

using namespace std::chrono_literals;

// Comfortably more than the wake-up's usual lateness on an idle machine.
constexpr auto kSpunStretch = 100us;

timespec Now() {
    timespec now{};
    ::clock_gettime(CLOCK_MONOTONIC, &now);
    return now;
}

std::chrono::nanoseconds AsDuration(const timespec& time) {
    return std::chrono::seconds(time.tv_sec) + std::chrono::nanoseconds(time.tv_nsec);
}

timespec AsTimespec(std::chrono::nanoseconds time) {
    const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(time);
    return {static_cast<time_t>(seconds.count()), static_cast<long>((time - seconds).count())};
}

// The timer slack belongs to a thread; pauses come from the thread that
// applies, so each thread sets its own the first time it pauses.
void LeastTimerSlack() {
    thread_local const bool set = ::prctl(PR_SET_TIMERSLACK, 1UL, 0UL, 0UL, 0UL) == 0;
    (void)set;
}

} // namespace

void MonotonicClock::sleep(std::chrono::milliseconds duration) {
    LeastTimerSlack();
    const std::chrono::nanoseconds deadline = AsDuration(Now()) + duration;
    if (duration > kSpunStretch) {
        const timespec wake = AsTimespec(deadline - kSpunStretch);
        while (::clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &wake, nullptr) == EINTR) {
        }
    }
    while (AsDuration(Now()) < deadline) {
    }
}

void MonotonicClock::beginRun() {
    sched_param param{};
    if (::pthread_getschedparam(::pthread_self(), &policy_, &param) != 0 || policy_ != SCHED_OTHER) {
        return;
    }
    priority_ = param.sched_priority;
    param.sched_priority = 1;
    raised_ = ::pthread_setschedparam(::pthread_self(), SCHED_FIFO, &param) == 0;
}

void MonotonicClock::endRun() {
    if (raised_) {
        sched_param param{};
        param.sched_priority = priority_;
        ::pthread_setschedparam(::pthread_self(), policy_, &param);
        raised_ = false;
    }
}

} // namespace quorvel
