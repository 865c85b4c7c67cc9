// The Quorvel program wired to a simulated mouse, with a panel that works
// the mouse's own buttons. `--screenshot FILE` shows the settings window,
// saves a picture of it and ends; `--open-row N` and `--open-list NAME`
// first open a drop-down list of the Basic page, as a click would.
#include <QApplication>
#include <QListWidget>
#include <QMouseEvent>
#include <QScreen>
#include <QTimer>
#include <iostream>

#include "app/basic_page_layout.h"
#include "assign/function_list.h"
#include "demo_panel.h"
#include "device/real_clock.h"
#include "qt/program.h"
#include "system/linux/locale_language.h"

namespace {

quorvel::Point Inside(const quorvel::Rect& rect) { return {rect.left + 2, rect.top + 2}; }

// Rests the pointer on the "DPI Switch" entry of row `row`'s open list, so
// that the DPI sub-list opens beside it.
void PointAtDpiSwitch(quorvel::Program& program, int row) {
    QListWidget* list = program.window().list(quorvel::kBasicPage.rowList(row).id);
    if (list == nullptr) {
        return;
    }
    const QPoint at = list->visualItemRect(list->item(quorvel::kFnDpiSwitch)).center();
    QMouseEvent move(QEvent::MouseMove, at, list->viewport()->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(list->viewport(), &move);
}

// Clicks the box of the lighting list or stage chooser `name`.
bool OpenList(quorvel::Program& program, const QString& name) {
    const quorvel::BasicPageLayout& b = quorvel::kBasicPage;
    const quorvel::Rect box = name == "mode"        ? b.lightingModeField
                              : name == "parameter" ? b.lightingParameterField
                              : name == "stage"     ? b.dpiStageChooser
                                                    : quorvel::Rect{};
    if (box.empty()) {
        return false;
    }
    program.controller().OnLeftButtonDown(Inside(box));
    return true;
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    QApplication::setApplicationName("quorvel-demo");

    QString screenshot;
    int openRow = 0;
    QString openList;
    const QStringList arguments = QApplication::arguments();
    for (int i = 1; i < arguments.size(); ++i) {
        if (arguments[i] == "--screenshot" && i + 1 < arguments.size()) {
            screenshot = arguments[++i];
        } else if (arguments[i] == "--open-row" && i + 1 < arguments.size()) {
            openRow = arguments[++i].toInt();
        } else if (arguments[i] == "--open-list" && i + 1 < arguments.size()) {
            openList = arguments[++i];
        } else if (arguments[i] == "--help") {
            std::cout << "usage: quorvel-demo [--screenshot FILE [--open-row 1-8]"
                         " [--open-list mode|parameter|stage]]\n";
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
        // A click elsewhere closes the lists of rows 1 to 6, so the row comes first.
        const bool row = openRow >= 1 && openRow <= quorvel::BasicPageLayout::kRowCount;
        if (row) {
            program.controller().OnLeftButtonDown(Inside(quorvel::kBasicPage.rowBox(openRow)));
        }
        if (!openList.isEmpty() && !OpenList(program, openList)) {
            std::cerr << "quorvel-demo: no list " << openList.toStdString() << "\n";
            return 2;
        }
        if (row) {
            PointAtDpiSwitch(program, openRow);
        }
        QTimer::singleShot(300, [&] {
            const bool saved = program.window().grab().save(screenshot);
            if (!saved) {
                std::cerr << "quorvel-demo: cannot save " << screenshot.toStdString() << "\n";
            }
            program.controller().Exit();
        });
        return program.exec();
    }
    // Beside the settings window, so that neither hides the other.
    const QRect settings = program.window().frameGeometry();
    panel.move(settings.x() + settings.width() + 16, settings.y());
    panel.show();
    return program.exec();
}
