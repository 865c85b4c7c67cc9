// A full Apply against the simulated mouse with the real clock: how much
// longer than its mandated pauses does it take? The goal is a ratio under 1.05.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "device/device_controller.h"
#include "hid/sim/simulated_mouse.h"
#include "quiet_ports.h"

#ifdef _WIN32
#include "system/windows/waitable_timer_clock.h"
using PauseClock = quorvel::WaitableTimerClock;
#else
#include "device/real_clock.h"
using PauseClock = quorvel::RealClock;
#endif

namespace {

using namespace quorvel;

} // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
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
    std::printf("%4s %10s %10s %7s\n", "run", "wall ms", "pauses ms", "ratio");
    std::vector<double> ratios;
    for (int run = 1; run <= runs; ++run) {
        mouse.clearTransfers();
        const auto start = std::chrono::steady_clock::now();
        const ApplyResult result = controller.Apply(config);
        const auto wall = std::chrono::steady_clock::now() - start;
        if (result != ApplyResult::Completed) {
            std::fprintf(stderr, "Apply did not complete\n");
            return 1;
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
    std::printf("median ratio %.4f, worst %.4f (goal: under 1.05)\n", ratios[ratios.size() / 2],
                ratios.back());
    return 0;
}
