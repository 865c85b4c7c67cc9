// Reading str.ini at start-up when the file has grown large: the wall time of
// one full read of the labels and skin settings, and the peak memory of the
// process, for files of the given sizes in MB (default 1, 4 and 5; files over
// the 4 MB cap are refused). Each read runs in a process of its own, the
// file written before it starts, so the peak memory is that read's; the goal
// is a read that adds at most twice the file's size to the process's peak.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "config/str_ini.h"
#include "system/linux/local_file_system.h"

namespace {

// The labels and the skin, then macro-like sections up to the size: the
// lines of a file that a careless tool kept appending to.
void WriteStrIni(const std::filesystem::path& path, std::size_t bytes) {
    std::string content = "[Skins]\nRColor=255\nGColor=255\nBColor=255\nPath=Default\n[Setting-EN]\n";
    for (int mode = 0; mode < 2; ++mode) {
        for (int button = 0; button < quorvel::kButtonCount; ++button) {
            content += quorvel::LabelKey(mode, button) + "=Left Click\n";
        }
    }
    for (int section = 0; content.size() < bytes; ++section) {
        content += "[Filler " + std::to_string(section) + "]\n";
        for (int line = 0; line < 20 && content.size() < bytes; ++line) {
            content += "Item" + std::to_string(line) + "=Ctrl   Dn\n";
        }
    }
    content.resize(bytes, ';');
    std::ofstream(path, std::ios::binary) << content;
}

// Whether the read was refused (the file is over the cap).
bool Refused(const auto& settings) {
    if constexpr (requires { settings.ok(); }) {
        return !settings.ok();
    } else {
        return false;
    }
}

long PeakKiB() {
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

void Measure(const std::filesystem::path& path, std::size_t bytes) {
    quorvel::LocalFileSystem files;
    const quorvel::StrIni strIni(files, path, "Setting-EN");
    const long before = PeakKiB();
    const auto start = std::chrono::steady_clock::now();
    const auto settings = strIni.ReadAll();
    const double ms =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    const long after = PeakKiB();
    const double added = static_cast<double>(after - before) * 1024.0 / static_cast<double>(bytes);
    std::printf("str.ini %9zu bytes: read in %7.1f ms, peak memory %5.1f MB (%5.1f MB before the read:"
                " the read adds %.2fx the file; goal: at most 2x)%s\n",
                bytes, ms, static_cast<double>(after) / 1024.0, static_cast<double>(before) / 1024.0, added,
                Refused(settings) ? " (refused)" : "");
}

} // namespace

int main(int argc, char** argv) {
    std::vector<double> sizes;
    for (int i = 1; i < argc; ++i) {
        sizes.push_back(std::atof(argv[i]));
    }
    if (sizes.empty()) {
        sizes = {1, 4, 5};
    }
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / "quorvel-bench-files";
    std::filesystem::create_directories(folder);
    const std::filesystem::path path = folder / "str.ini";
    for (const double megabytes : sizes) {
        const auto bytes = static_cast<std::size_t>(megabytes * 1024 * 1024);
        WriteStrIni(path, bytes);
        std::fflush(stdout);
        const pid_t child = ::fork();
        if (child == 0) {
            Measure(path, bytes);
            std::fflush(stdout);
            std::_Exit(0);
        }
        int status = 0;
        ::waitpid(child, &status, 0);
    }
    std::filesystem::remove_all(folder);
    return 0;
}
