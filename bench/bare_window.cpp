// The yardstick of bench_startup: a bare Qt window of the given size that is
// shown, waits as the demo's --screenshot does, saves its picture and ends.
//   bench_bare_window WIDTH HEIGHT FILE
#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: bench_bare_window WIDTH HEIGHT FILE\n");
        return 2;
    }
    QApplication app(argc, argv);
    QWidget window;
    window.setFixedSize(std::atoi(argv[1]), std::atoi(argv[2]));
    window.show();
    bool saved = false;
    QTimer::singleShot(300, [&] {
        saved = window.grab().save(QString::fromLocal8Bit(argv[3]));
        app.quit();
    });
    app.exec();
    return saved ? 0 : 1;
}
