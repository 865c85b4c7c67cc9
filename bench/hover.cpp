// Time of one hover redraw of a button: the pointer moves from OK to
// Cancel and back, each move redrawing two buttons and copying the picture
// once. Decoded images come from the cache; the page's background, which the
// picture holds and the cache lets go, is decoded once, at the first move.
#include <QApplication>
#include <chrono>
#include <cstdio>

#include "app/main_window_layout.h"
#include "bench_data_folder.h"
#include "hid/sim/simulated_mouse.h"
#include "qt/program.h"

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    BenchDataFolder data;
    quorvel::SimulatedMouse mouse;
    quorvel::Program::Options options;
    options.paths = quorvel::DataPathsIn(data.folder, data.folder / "quorvel");
    quorvel::Program program(mouse, mouse.clock(), std::move(options));
    program.start();
    quorvel::MainWindow& main = program.controller();
    main.OnTray(quorvel::TrayAction::LeftUp);
    QCoreApplication::processEvents();

    const quorvel::Rect ok = quorvel::kDialogButtons[0].rect;
    const quorvel::Rect cancel = quorvel::kDialogButtons[2].rect;
    const int moves = 2000;
    const auto decodesBefore = main.images().decodes();
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < moves; ++i) {
        const quorvel::Rect& to = i % 2 == 0 ? ok : cancel;
        main.OnMouseMove({to.left + 2, to.top + 2});
        program.window().repaint();
    }
    const double total = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    std::printf("hover redraw (two buttons, one copy to the window): %.3f ms each (goal: under 1 ms)\n",
                total / moves);
    std::printf("PNG decodes during %d hover moves: %zu\n", moves, main.images().decodes() - decodesBefore);
    main.Exit();
    return 0;
}
