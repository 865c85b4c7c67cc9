// The macro panel on a full library: twelve macros of 2,000 event lines each
// in record.ini. Prints the wall time of loading the list, selecting a macro
// and Confirm (which writes the file and rebuilds the macro table), and
// their sum; then, for comparison, a rebuild of the table from the file on
// its own and the bare atomic write of a file of that size (flushed to the
// disk, so it depends on the disk more than on the program). Each figure is
// the best of a few runs, on a fresh copy of the file.
//
// Then a long recording in the window (offscreen): 2,100 key events typed
// into the Advanced page, each handled and the window's events run after it
// as the event loop would; prints the wall and processor time of the whole
// recording and of its first and last hundred keys: a list filled anew at
// every key would make the last ones the slowest, a list that grows by the
// lines added costs the same a key throughout.
//
// Goals: load, select and Confirm at most 20 ms together, the rebuild alone
// at most 5 ms; the last hundred keys cost no more than the first hundred.
#include <QApplication>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <span>
#include <string>

#include "app/advanced_page_layout.h"
#include "app/main_window_layout.h"
#include "bench_data_folder.h"
#include "config/device_config.h"
#include "hid/sim/simulated_mouse.h"
#include "macro/macro_library.h"
#include "macro/macro_table.h"
#include "qt/program.h"
#include "quiet_ports.h"
#include "system/linux/local_file_system.h"

namespace {

constexpr int kMacros = 12;
constexpr int kLines = 2000;
constexpr int kRuns = 5;

// Recorded typing: press, pause, release, pause, ... over the letters.
std::string RecordIni() {
    std::string content;
    for (int macro = 0; macro < kMacros; ++macro) {
        content += "[Macro " + std::to_string(macro + 1) + "]\nItemCount=" + std::to_string(kLines) + "\n";
        for (int line = 0; line < kLines; ++line) {
            const char key = static_cast<char>('A' + (line / 4) % 26);
            std::string event;
            if (line % 2 == 1) {
                event = "50 ms";
            } else {
                event = std::string(1, key) + (line % 4 == 0 ? "   Dn" : "   Up");
            }
            content += "Item" + std::to_string(line) + "=" + event + "\n";
        }
    }
    return content;
}

double Since(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

double ProcessorMs() {
    return 1000.0 * static_cast<double>(std::clock()) / CLOCKS_PER_SEC;
}

constexpr int kRecordedKeyEvents = 2100;

// Types kRecordedKeyEvents key events (press and release in turn, A to Z)
// into a recording of the window's Advanced page. False when the recording
// did not take them.
bool RecordInTheWindow() {
    BenchDataFolder data;
    const std::string record = "[Typed]\nItemCount=0\n";
    quorvel::LocalFileSystem files;
    files.writeAtomically(data.folder / "record.ini",
                          std::span(reinterpret_cast<const std::uint8_t*>(record.data()), record.size()));
    quorvel::SimulatedMouse mouse;
    NoMessages messages;
    quorvel::Program::Options options;
    options.paths = quorvel::DataPathsIn(data.folder, data.folder / "quorvel");
    options.messages = &messages;
    quorvel::Program program(mouse, mouse.clock(), std::move(options));
    program.start();
    quorvel::MainWindow& main = program.controller();
    main.OnTray(quorvel::TrayAction::LeftUp);
    const auto click = [&](quorvel::Rect rect) { main.OnLeftButtonDown({rect.left + 1, rect.top + 1}); };
    click(quorvel::WindowButtonRect(quorvel::WindowButtonId::AdvancedPage));
    click(quorvel::kAdvancedPage.startRecording);
    QCoreApplication::processEvents();

    const auto start = std::chrono::steady_clock::now();
    const double processorStart = ProcessorMs();
    std::chrono::steady_clock::time_point lastHundred;
    double processorLastHundred = 0;
    double processorFirstHundred = 0;
    for (int i = 0; i < kRecordedKeyEvents; ++i) {
        if (i == 100) {
            processorFirstHundred = ProcessorMs() - processorStart;
        }
        if (i == kRecordedKeyEvents - 100) {
            lastHundred = std::chrono::steady_clock::now();
            processorLastHundred = ProcessorMs();
        }
        const std::string key(1, static_cast<char>('A' + (i / 2) % 26));
        main.OnKeystroke({key, 0, i % 2 == 1, false}, true);
        QCoreApplication::processEvents();
    }
    const double wall = Since(start);
    const double processor = ProcessorMs() - processorStart;
    const double wallLast = Since(lastHundred);
    const double processorLast = ProcessorMs() - processorLastHundred;
    click(quorvel::kAdvancedPage.stopRecording);
    const int lines = program.window().list(quorvel::kAdvancedPage.eventList.id)->count();

    std::printf("recording      %d key events typed into the window, %d lines in its list\n",
                kRecordedKeyEvents, lines);
    std::printf("               %8.2f ms wall, %8.2f ms processor in all\n", wall, processor);
    std::printf("               %8.3f ms wall, %8.3f ms processor a key over the last hundred\n",
                wallLast / 100, processorLast / 100);
    std::printf("               %8.3f ms processor a key over the first hundred: the last cost %.2fx"
                " (goal: the same, about 1x)\n",
                processorFirstHundred / 100, processorLast / processorFirstHundred);
    main.Exit();
    return lines == 2 * kRecordedKeyEvents - 1;
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    namespace fs = std::filesystem;
    const fs::path folder = fs::temp_directory_path() / "quorvel-bench-macro";
    fs::create_directories(folder);
    const fs::path path = folder / "record.ini";
    const std::string content = RecordIni();

    quorvel::LocalFileSystem files;
    double load = 1e9, select = 1e9, confirm = 1e9, rebuild = 1e9, write = 1e9;
    for (int run = 0; run < kRuns; ++run) {
        std::ofstream(path, std::ios::binary | std::ios::trunc) << content;
        quorvel::DeviceConfig config = quorvel::zeroDeviceConfig();
        quorvel::MacroLibrary library{quorvel::IniFile(files, path)};

        auto start = std::chrono::steady_clock::now();
        library.Load(config);
        load = std::min(load, Since(start));

        start = std::chrono::steady_clock::now();
        library.Select(kMacros / 2, config);
        select = std::min(select, Since(start));

        start = std::chrono::steady_clock::now();
        const auto confirmed = library.Confirm(config);
        confirm = std::min(confirm, Since(start));

        start = std::chrono::steady_clock::now();
        quorvel::RebuildMacroTable(quorvel::IniFile(files, path), config);
        rebuild = std::min(rebuild, Since(start));

        start = std::chrono::steady_clock::now();
        files.writeAtomically(
            path, std::span(reinterpret_cast<const std::uint8_t*>(content.data()), content.size()));
        write = std::min(write, Since(start));

        if (library.events.size() != kLines || !confirmed.done) {
            std::fprintf(stderr, "bench_macro: the library did not read or save the macros\n");
            return 1;
        }
    }
    std::printf("record.ini: %d macros x %d lines, %zu bytes (best of %d)\n", kMacros, kLines, content.size(),
                kRuns);
    std::printf("load list      %8.2f ms\n", load);
    std::printf("select macro   %8.2f ms\n", select);
    std::printf("confirm        %8.2f ms (writes record.ini, rebuilds the table)\n", confirm);
    std::printf("in all         %8.2f ms (goal: at most 20 ms)\n", load + select + confirm);
    std::printf("rebuild table  %8.2f ms (alone, from the file; goal: at most 5 ms)\n", rebuild);
    std::printf("write file     %8.2f ms (alone, atomic and flushed)\n", write);
    fs::remove_all(folder);
    if (!RecordInTheWindow()) {
        std::fprintf(stderr, "bench_macro: the recording did not take every key\n");
        return 1;
    }
    return 0;
}
