// The settings window hidden in the tray after it was shown: the memory the
// process holds (resident) before the program starts, in the tray before the
// window is first shown (the skin the start drew with let go again), while
// it is shown, and after it went back into the tray; and the time to show
// it again, drawn. Goals: hidden, the process is back within 5 MiB of what
// it held in the tray before the window was first shown; showing again
// draws within 50 ms. The start's own share (the libraries and fonts that
// draw text, the device link's threads) stays for the program's life.
// Offscreen, started as the desktop session starts the program.
//   bench_hidden [RUNS]
#include <QApplication>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <unistd.h>
#include <vector>

#include "app/main_window_layout.h"
#include "bench_data_folder.h"
#include "hid/sim/simulated_mouse.h"
#include "qt/program.h"
#include "quiet_ports.h"

namespace {

double ResidentMiB() {
    std::ifstream statm("/proc/self/statm");
    long size = 0, resident = 0;
    statm >> size >> resident;
    return static_cast<double>(resident) * static_cast<double>(::sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}

} // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 11;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    BenchDataFolder data;
    quorvel::SimulatedMouse mouse;
    NoMessages messages;
    quorvel::Program::Options options;
    options.paths = quorvel::DataPathsIn(data.folder, data.folder / "quorvel");
    options.messages = &messages;
    options.startedBy = quorvel::StartedBy::Session;
    quorvel::Program program(mouse, mouse.clock(), std::move(options));
    const double beforeStart = ResidentMiB();
    program.start();
    quorvel::MainWindow& main = program.controller();
    // The tray the session's panel brings: the window goes there.
    main.OnTrayAppeared();
    QCoreApplication::processEvents();
    const double beforeShown = ResidentMiB();

    const auto minimise = quorvel::WindowButtonRect(quorvel::WindowButtonId::Minimise);
    const auto show = [&] {
        main.OnTray(quorvel::TrayAction::LeftUp);
        QCoreApplication::processEvents();
        program.window().repaint();
    };
    const auto hide = [&] {
        main.OnLeftButtonDown({minimise.left + 1, minimise.top + 1});
        QCoreApplication::processEvents();
    };
    show();
    const double shown = ResidentMiB();
    hide();
    const double hidden = ResidentMiB();

    std::vector<double> showMs;
    for (int run = 0; run < runs; ++run) {
        const auto start = std::chrono::steady_clock::now();
        show();
        showMs.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
        hide();
    }
    const bool isHidden = !program.window().isVisible();
    std::sort(showMs.begin(), showMs.end());
    std::printf("resident memory before the program started          %6.1f MiB\n", beforeStart);
    std::printf("                in the tray, not shown yet         %6.1f MiB\n", beforeShown);
    std::printf("                while shown                        %6.1f MiB\n", shown);
    std::printf("                hidden in the tray again           %6.1f MiB: %+.1f MiB (goal: within 5 MiB)\n",
                hidden, hidden - beforeShown);
    std::printf("showing again, drawn: median %.1f ms, worst %.1f ms of %d (goal: within 50 ms)\n",
                showMs[showMs.size() / 2], showMs.back(), runs);
    main.Exit();
    if (!isHidden) {
        std::fprintf(stderr, "bench_hidden: the window did not go into the tray\n");
        return 1;
    }
    return 0;
}
