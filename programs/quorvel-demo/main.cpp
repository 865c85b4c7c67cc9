// The Quorvel program wired to a simulated mouse, with a panel that works
// the mouse's own buttons. `--screenshot FILE` shows the settings window,
// saves a picture of it and ends; `--open-row N` and `--open-list NAME`
// first open a drop-down list of the Basic page, as a click would;
// `--page advanced` shows the Advanced page first. The desktop's pointer
// settings stay untouched unless QUORVEL_POINTER=gnome is set.
#include <QApplication>
#include <QListWidget>
#include <QMouseEvent>
#include <QScreen>
#include <QTimer>

#include "app/basic_page_layout.h"
#include "assign/function_list.h"
#include "demo_panel.h"
#include "hid/trace/tracing_hid_port.h"
#include "qt/program.h"
#include "quorvel_version.h"
#include "system/linux/gnome_pointer_settings.h"
#include "system/linux/locale_language.h"
#include "system/linux/monotonic_clock.h"
#include "system/linux/program_environment.h"
#include "system/linux/standard_error.h"

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
    // What the desktop shows of the demo: the tray item's title, the sender
    // of its notifications, the class of its windows.
    QApplication::setApplicationName("Quorvel Gaming Mouse Demo");
    QGuiApplication::setDesktopFileName("io.github.quorvel.Quorvel");
    QCommandLineParser parser;
    parser.setApplicationDescription("The Quorvel settings program on a simulated mouse, with a panel that"
                                     " presses the mouse's own buttons. Keeps its own files and lock.");
    const QCommandLineOption screenshotOption("screenshot", "Save a picture of the settings window to FILE and end.",
                                              "FILE");
    const QCommandLineOption rowOption("open-row", "With --screenshot: first open the list of row N (1-8).", "N");
    const QCommandLineOption listOption("open-list", "With --screenshot: first open the list NAME.",
                                        "mode|parameter|stage");
    const QCommandLineOption pageOption("page", "Open the settings window on page PAGE.", "basic|advanced",
                                        "basic");
    const QCommandLineOption tabOption("tab", "With --screenshot: first press Tab N times (the focus ring).", "N");
    parser.addOptions({screenshotOption, rowOption, listOption, pageOption, tabOption});
    if (const auto done = quorvel::Program::ReadCommandLine(parser, argc, argv, QUORVEL_VERSION)) {
        return *done;
    }
    const QString screenshot = parser.value(screenshotOption);
    const QString openList = parser.value(listOption);
    const QString page = parser.value(pageOption);
    if (page != "basic" && page != "advanced") {
        quorvel::PrintErrorLine("--page takes basic or advanced, not '" + page.toStdString() + "'");
        return 2;
    }
    const bool advancedPage = page == "advanced";
    int openRow = 0;
    if (parser.isSet(rowOption)) {
        bool number = false;
        openRow = parser.value(rowOption).toInt(&number);
        if (!number || openRow < 1 || openRow > quorvel::BasicPageLayout::kRowCount) {
            quorvel::PrintErrorLine("--open-row takes a row from 1 to 8, not '" +
                                    parser.value(rowOption).toStdString() + "'");
            return 2;
        }
    }
    if (!openList.isEmpty() && openList != "mode" && openList != "parameter" && openList != "stage") {
        quorvel::PrintErrorLine("--open-list takes mode, parameter or stage, not '" + openList.toStdString() +
                                "'");
        return 2;
    }
    int tabs = 0;
    if (parser.isSet(tabOption)) {
        bool number = false;
        tabs = parser.value(tabOption).toInt(&number);
        if (!number || tabs < 0 || tabs > 200) {
            quorvel::PrintErrorLine("--tab takes a count from 0 to 200, not '" +
                                    parser.value(tabOption).toStdString() + "'");
            return 2;
        }
    }
    if (screenshot.isEmpty() && (parser.isSet(rowOption) || parser.isSet(listOption) || parser.isSet(tabOption))) {
        quorvel::PrintErrorLine("--open-row, --open-list and --tab need --screenshot");
        return 2;
    }
    quorvel::ShareOneHeap();
    const std::unique_ptr<QApplication> app = quorvel::Program::OpenDisplay(argc, argv);

    quorvel::SimulatedMouse mouse;
    quorvel::MonotonicClock realClock;
    mouse.sleepThrough(&realClock);
    quorvel::LocalFileSystem files;
    quorvel::Program::Options options;
    options.paths = quorvel::Program::DefaultDataPaths(files, /*demo=*/true);
    options.langId = quorvel::SystemDefaultLangId();
    options.lockFile = quorvel::LockFileInstance::DefaultLockFile("quorvel-demo");
    // No one answers a message box during a screenshot: messages go to the
    // terminal. A picture run writes nothing of the running demo's, so it
    // may be taken beside one.
    quorvel::ConsoleMessages console;
    quorvel::NoSingleInstance beside;
    if (!screenshot.isEmpty()) {
        options.messages = &console;
        options.instance = &beside;
    }
    const std::unique_ptr<quorvel::PointerSettingsPort> pointer =
        qgetenv("QUORVEL_POINTER") == "gnome" ? quorvel::DesktopPointerSettings()
                                              : std::make_unique<quorvel::KeptPointerSettings>();
    options.pointer = pointer.get();

    // QUORVEL_TRACE=1: every transfer with the simulated mouse on standard error.
    quorvel::TracedWhenAsked ports(mouse, mouse.clock(),
                                   quorvel::TraceAskedFor() ? &quorvel::StandardErrorStream() : nullptr);
    quorvel::Program program(ports.hid(), ports.clock(), std::move(options));
    if (!program.start()) {
        // 0: another demo runs and shows its window; 1: the window cannot be drawn
        return program.startExitStatus();
    }
    if (advancedPage) {
        program.controller().DrawAdvancedPage();
    }
    if (!screenshot.isEmpty()) {
        program.controller().OnTray(quorvel::TrayAction::LeftUp);
        // A click elsewhere closes the lists of rows 1 to 6, so the row comes first.
        const bool row = openRow >= 1 && openRow <= quorvel::BasicPageLayout::kRowCount;
        if (row) {
            program.controller().OnLeftButtonDown(Inside(quorvel::kBasicPage.rowBox(openRow)));
        }
        if (!openList.isEmpty() && !OpenList(program, openList)) {
            quorvel::PrintErrorLine("no list " + openList.toStdString());
            return 2;
        }
        if (row) {
            PointAtDpiSwitch(program, openRow);
        }
        for (int i = 0; i < tabs; ++i) {
            program.controller().OnNavigationKey(quorvel::NavigationKey::Tab);
        }
        bool saved = false;
        QTimer::singleShot(300, [&] {
            // Lossless at any level; the fastest compression keeps the
            // picture's cost near the window's own.
            constexpr int kFastestCompression = 80; // Qt's PNG writer: zlib level 1
            saved = program.window().grab().save(screenshot, nullptr, kFastestCompression);
            if (!saved) {
                quorvel::PrintErrorLine("cannot save " + screenshot.toStdString());
            }
            program.controller().Exit();
        });
        const int code = program.exec();
        return saved ? code : 1;
    }
    // The panel only where someone can press its buttons: a picture run
    // takes the settings window alone.
    quorvel::DemoPanel panel(mouse, program);
    // Beside the settings window, so that neither hides the other.
    const QRect settings = program.window().frameGeometry();
    panel.move(settings.x() + settings.width() + 16, settings.y());
    panel.show();
    return program.exec();
}
