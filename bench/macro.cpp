// The macro panel on a full library: twelve macros of 2,000 event lines each
// in record.ini. Prints the wall time of loading the list, selecting a macro
// and Confirm (which writes the file and rebuilds the macro table), and
// their sum; then, for comparison, a rebuild of the table from the file on
// its own and the bare atomic write of a file of that size (flushed to the
// disk, so it depends on the disk more than on the program). Each figure is
// the best of a few runs, on a fresh copy of the file.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <span>
#include <string>

#include "config/device_config.h"
#include "macro/macro_library.h"
#include "macro/macro_table.h"
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

} // namespace

int main() {
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
    std::printf("in all         %8.2f ms\n", load + select + confirm);
    std::printf("rebuild table  %8.2f ms (alone, from the file)\n", rebuild);
    std::printf("write file     %8.2f ms (alone, atomic and flushed)\n", write);
    fs::remove_all(folder);
    return 0;
}
