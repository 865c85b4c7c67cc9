// A full Apply against the simulated mouse with the real clock: how much
// longer than its mandated pauses does it take? First on an idle machine
// (goal: a median ratio under 1.05), then with every core kept busy by
// processes of ordinary priority spinning beside it, as a build or a game
// would (goal: a median under 1.15 and no run over 1.3).

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

#ifndef _WIN32
#include <csignal>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include "device/device_controller.h"
#include "hid/sim/simulated_mouse.h"
#include "quiet_ports.h"

#ifdef _WIN32
#include "system/windows/waitable_timer_clock.h"
using PauseClock = quorvel::WaitableTimerClock;
#else
#include "system/linux/monotonic_clock.h"
using PauseClock = quorvel::MonotonicClock;
#endif

namespace {

using namespace quorvel;

struct Figures {
    double median = 0;
    double worst = 0;
};

// Runs Apply `runs` times and prints each run's wall time against its pauses.
bool Measure(DeviceController& controller, SimulatedMouse& mouse, const DeviceConfig& config, int runs,
             Figures& figures) {
    std::printf("%4s %10s %10s %7s\n", "run", "wall ms", "pauses ms", "ratio");
    std::vector<double> ratios;
    for (int run = 1; run <= runs; ++run) {
        mouse.clearTransfers();
        const auto start = std::chrono::steady_clock::now();
        const ApplyResult result = controller.Apply(config);
        const auto wall = std::chrono::steady_clock::now() - start;
        if (result != ApplyResult::Completed) {
            std::fprintf(stderr, "Apply did not complete\n");
            return false;
        }
        std::chrono::milliseconds pauses{0};
        for (const auto& transfer : mouse.transfers()) {
            pauses += transfer.pause;
        }
        const double wallMs = std::chrono::duration<double, std::milli>(wall).count();
        const double ratio = wallMs / static_cast<double>(pauses.count());
        ratios.push_back(ratio);
        std::printf("%4d %10.2f %10lld %7.4f\n", run, wallMs, static_cast<long long>(pauses.count()), ratio);
    }
    std::sort(ratios.begin(), ratios.end());
    figures = {ratios[ratios.size() / 2], ratios.back()};
    return true;
}

#ifndef _WIN32
// Processes that spin on every core until they are stopped.
class BusyCores {
public:
    BusyCores() {
        const long cores = std::max(1L, ::sysconf(_SC_NPROCESSORS_ONLN));
        for (long i = 0; i < cores; ++i) {
            const pid_t child = ::fork();
            if (child == 0) {
                volatile unsigned long spin = 0;
                for (;;) {
                    spin = spin + 1;
                }
            }
            if (child > 0) {
                children_.push_back(child);
            }
        }
    }
    ~BusyCores() {
        for (const pid_t child : children_) {
            ::kill(child, SIGKILL);
            ::waitpid(child, nullptr, 0);
        }
    }
    BusyCores(const BusyCores&) = delete;
    BusyCores& operator=(const BusyCores&) = delete;
    std::size_t count() const { return children_.size(); }

private:
    std::vector<pid_t> children_;
};
#endif

} // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 11;
    SimulatedMouse mouse;
    PauseClock real;
    mouse.sleepThrough(&real);
    NoWindow window;
    DeviceController controller(mouse, mouse.clock(), window);
    if (controller.OpenDevice() != OpenResult::Opened) {
        std::fprintf(stderr, "the simulated mouse was not found\n");
        return 1;
    }
    controller.Handshake();
    if (!controller.connected() || !controller.SyncSensorInfo()) {
        std::fprintf(stderr, "the simulated mouse did not link\n");
        return 1;
    }
    DeviceConfig config = zeroDeviceConfig();
    config.reportRate = 1;
    config.lightingMode = 1;

    std::printf("Apply against the simulated mouse with the real clock, %d runs\n", runs);
#ifdef _WIN32
    std::printf("pauses on a %s waitable timer\n", real.highResolution() ? "high-resolution" : "1 ms period");
#endif
    Figures idle;
    if (!Measure(controller, mouse, config, runs, idle)) {
        return 1;
    }
    std::printf("idle: median ratio %.4f, worst %.4f (goal: median under 1.05)\n", idle.median, idle.worst);
#ifndef _WIN32
    Figures busy;
    {
        const BusyCores load;
        std::printf("\nthe same beside %zu spinning processes, one a core\n", load.count());
        if (!Measure(controller, mouse, config, runs, busy)) {
            return 1;
        }
    }
    std::printf("busy: median ratio %.4f, worst %.4f (goal: median under 1.15, worst under 1.3)\n",
                busy.median, busy.worst);
#endif
    return 0;
}
