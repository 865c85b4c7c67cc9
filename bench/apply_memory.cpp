// Memory held after many Applies against the simulated mouse, as the demo
// makes them over a long session: the link stays open, each Apply changes a
// setting, and nothing clears the mouse's transfer log. Prints the heap in
// use and the resident size per Apply after a warm-up that fills the log.
// Goal: bounded, near 0 bytes per Apply after the warm-up.

#include <malloc.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <unistd.h>

#include "device/device_controller.h"
#include "hid/sim/simulated_mouse.h"
#include "quiet_ports.h"

namespace {

using namespace quorvel;

// Large blocks (a long log's buffer) are mapped on their own and counted apart.
long long HeapInUse() {
    const struct mallinfo2 heap = mallinfo2();
    return static_cast<long long>(heap.uordblks + heap.hblkhd);
}

long long ResidentBytes() {
    std::ifstream statm("/proc/self/statm");
    long long size = 0;
    long long resident = 0;
    statm >> size >> resident;
    return resident * sysconf(_SC_PAGESIZE);
}

} // namespace

int main(int argc, char** argv) {
    const int applies = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3000;
    // Enough Applies to fill the transfer log, whose size is fixed.
    const int warmUp = 200;
    SimulatedMouse mouse;
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
    const auto apply = [&](int n) {
        config.reportRate = static_cast<Byte>(n % 4);
        config.lightingMode = static_cast<Byte>(n % 3);
        return controller.Apply(config) == ApplyResult::Completed;
    };

    for (int n = 0; n < warmUp; ++n) {
        if (!apply(n)) {
            std::fprintf(stderr, "Apply did not complete\n");
            return 1;
        }
    }
    const long long heapBefore = HeapInUse();
    const long long residentBefore = ResidentBytes();
    for (int n = 0; n < applies; ++n) {
        if (!apply(n)) {
            std::fprintf(stderr, "Apply did not complete\n");
            return 1;
        }
    }
    const long long heapGrowth = HeapInUse() - heapBefore;
    const long long residentGrowth = ResidentBytes() - residentBefore;

    std::printf("%d Applies against the simulated mouse after %d to warm up; %zu transfers kept\n", applies,
                warmUp, mouse.transfers().size());
    std::printf("heap in use:   %+lld bytes, %+.1f bytes per Apply\n", heapGrowth,
                static_cast<double>(heapGrowth) / applies);
    std::printf("resident size: %+lld bytes, %+.1f bytes per Apply\n", residentGrowth,
                static_cast<double>(residentGrowth) / applies);
    std::printf("goal: bounded, near 0 bytes per Apply after the warm-up\n");
    return 0;
}
