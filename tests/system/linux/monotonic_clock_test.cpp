#include "system/linux/monotonic_clock.h"

#include <gtest/gtest.h>
#include <pthread.h>
#include <sched.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

namespace quorvel {
namespace {

using namespace std::chrono_literals;

TEST(MonotonicClock, APauseLastsAtLeastAsLongAsAsked) {
    MonotonicClock clock;
    for (const auto pause : {0ms, 1ms, 2ms, 3ms, 5ms}) {
        for (int i = 0; i < 20; ++i) {
            const auto start = std::chrono::steady_clock::now();
            clock.sleep(pause);
            EXPECT_GE(std::chrono::steady_clock::now() - start, pause);
        }
    }
}

// A run may hold the thread at a raised priority; afterwards it runs as it
// did before.
TEST(MonotonicClock, TheThreadRunsAsBeforeAfterARun) {
    int policyBefore = -1;
    sched_param paramBefore{};
    ASSERT_EQ(::pthread_getschedparam(::pthread_self(), &policyBefore, &paramBefore), 0);
    MonotonicClock clock;
    {
        const ClockRun run(clock);
        const auto start = std::chrono::steady_clock::now();
        clock.sleep(2ms);
        EXPECT_GE(std::chrono::steady_clock::now() - start, 2ms);
    }
    int policyAfter = -1;
    sched_param paramAfter{};
    ASSERT_EQ(::pthread_getschedparam(::pthread_self(), &policyAfter, &paramAfter), 0);
    EXPECT_EQ(policyAfter, policyBefore);
    EXPECT_EQ(paramAfter.sched_priority, paramBefore.sched_priority);
}

// Other threads keeping the processors busy never shorten a pause, and
// neither does a pause on another thread.
TEST(MonotonicClock, APauseBesideBusyThreadsLastsAtLeastAsLongAsAsked) {
    std::atomic<bool> stop{false};
    std::vector<std::thread> busy;
    for (unsigned i = 0; i < std::max(2U, std::thread::hardware_concurrency()); ++i) {
        busy.emplace_back([&] {
            while (!stop) {
            }
        });
    }
    MonotonicClock clock;
    std::thread other([&] {
        for (int i = 0; i < 20; ++i) {
            clock.sleep(2ms);
        }
    });
    const ClockRun run(clock);
    for (int i = 0; i < 20; ++i) {
        const auto start = std::chrono::steady_clock::now();
        clock.sleep(3ms);
        EXPECT_GE(std::chrono::steady_clock::now() - start, 3ms);
    }
    other.join();
    stop = true;
    for (std::thread& thread : busy) {
        thread.join();
    }
}

} // namespace
} // namespace quorvel
