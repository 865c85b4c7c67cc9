// The Quorvel program wired to a simulated mouse, with a panel that works
// the mouse's own buttons. `--screenshot FILE` shows the settings window,
// saves a picture of it and ends.
#include <QApplication>
#include <QScreen>
#include <QTimer>
#include <iostream>

#include "demo_panel.h"
#include "device/real_clock.h"
#include "qt/program.h"
#include "system/locale_language.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    QApplication::setApplicationName("quorvel-demo");

    QString screenshot;
    const QStringList arguments = QApplication::arguments();
    for (int i = 1; i < arguments.size(); ++i) {
        if (arguments[i] == "--screenshot" && i + 1 < arguments.size()) {
            screenshot = arguments[++i];
        } else if (arguments[i] == "--help") {
            std::cout << "usage: quorvel-demo [--screenshot FILE]\n";
            return 0;
        } else {
            std::cerr << "quorvel-demo: unknown argument " << arguments[i].toStdString() << "\n";
            return 2;
        }
    }

    quorvel::SimulatedMouse mouse;
    quorvel::RealClock realClock;
    mouse.sleepThrough(&realClock);
    quorvel::LocalFileSystem files;
    quorvel::Program::Options options;
    options.paths = quorvel::Program::DefaultDataPaths(files);
    options.langId = quorvel::SystemDefaultLangId();

    quorvel::Program program(mouse, mouse.clock(), std::move(options));
    if (!program.start()) {
        return 0;
    }
    quorvel::DemoPanel panel(mouse, program);
    if (!screenshot.isEmpty()) {
        program.controller().OnTray(quorvel::TrayAction::LeftUp);
        QTimer::singleShot(300, [&] {
            const bool saved = program.window().grab().save(screenshot);
            if (!saved) {
                std::cerr << "quorvel-demo: cannot save " << screenshot.toStdString() << "\n";
            }
            program.controller().Exit();
        });
        return program.exec();
    }
    panel.move(40, 40);
    panel.show();
    return program.exec();
}
