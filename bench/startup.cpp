// Time from process start to the main window being ready (shown and
// painted), and the peak memory of the process. Runs the program as the demo
// does, on the simulated mouse, with the platform Qt picks (offscreen when
// there is no display).
#include <QApplication>
#include <QTimer>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <sstream>
#include <sys/resource.h>
#include <unistd.h>

#include "bench_data_folder.h"
#include "hid/sim/simulated_mouse.h"
#include "qt/program.h"
#include "system/linux/monotonic_clock.h"

namespace {

// Seconds since boot at which this process started.
double ProcessStartSeconds() {
    std::ifstream stat("/proc/self/stat");
    std::string line;
    std::getline(stat, line);
    std::istringstream fields(line.substr(line.rfind(')') + 2));
    std::string field;
    for (int i = 3; i <= 22; ++i) {
        fields >> field;
    }
    return std::stod(field) / static_cast<double>(::sysconf(_SC_CLK_TCK));
}

double BootSeconds() {
    timespec now{};
    ::clock_gettime(CLOCK_BOOTTIME, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    const auto mainEntered = std::chrono::steady_clock::now();
    QApplication app(argc, argv);
    BenchDataFolder data;
    quorvel::SimulatedMouse mouse;
    quorvel::MonotonicClock clock;
    mouse.sleepThrough(&clock);
    quorvel::Program::Options options;
    options.paths = quorvel::DataPathsIn(data.folder, data.folder / "quorvel");
    quorvel::Program program(mouse, mouse.clock(), std::move(options));
    program.start();
    program.controller().OnTray(quorvel::TrayAction::LeftUp);
    QCoreApplication::processEvents();
    program.window().repaint();
    const double ready = BootSeconds();
    const auto shown = std::chrono::steady_clock::now();

    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    std::printf("process start to window ready: %.1f ms (goal: under 150 ms)\n",
                (ready - ProcessStartSeconds()) * 1000.0);
    std::printf("of which main() to window ready: %.1f ms\n",
                std::chrono::duration<double, std::milli>(shown - mainEntered).count());
    std::printf("peak memory (max resident set): %.1f MiB\n", static_cast<double>(usage.ru_maxrss) / 1024.0);
    program.controller().Exit();
    return 0;
}
