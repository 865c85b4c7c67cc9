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

// Holds the calling thread at a real-time priority, where the system lets
// it, while it waits out a pause: woken, it takes the processor at once
// rather than after the time slice of a program that keeps it busy.
class PausePriority {
public:
    PausePriority() {
        sched_param param{};
        if (::pthread_getschedparam(::pthread_self(), &policy_, &param_) != 0 || policy_ != SCHED_OTHER) {
            return;
        }
        param.sched_priority = 1;
        raised_ = ::pthread_setschedparam(::pthread_self(), SCHED_FIFO, &param) == 0;
    }
    ~PausePriority() {
        if (raised_) {
            ::pthread_setschedparam(::pthread_self(), policy_, &param_);
        }
    }
    PausePriority(const PausePriority&) = delete;
    PausePriority& operator=(const PausePriority&) = delete;

private:
    int policy_ = SCHED_OTHER;
    sched_param param_{};
    bool raised_ = false;
};

} // namespace

void MonotonicClock::sleep(std::chrono::milliseconds duration) {
    LeastTimerSlack();
    const PausePriority priority;
    const std::chrono::nanoseconds deadline = AsDuration(Now()) + duration;
    if (duration > kSpunStretch) {
        const timespec wake = AsTimespec(deadline - kSpunStretch);
        while (::clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &wake, nullptr) == EINTR) {
        }
    }
    while (AsDuration(Now()) < deadline) {
    }
}

} // namespace quorvel
