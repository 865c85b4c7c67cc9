// The processor time and peak memory of `quorvel-demo --screenshot` against a
// bare Qt window of the same size that saves its picture the same way
// (bench_bare_window), each run as a process of its own several times on the
// offscreen platform; the figures are the medians of what the system counts
// for each child (wait4). Goals: the demo takes at most 1.5 times the bare
// window's processor time and 1.3 times its peak memory.
//   bench_startup [RUNS]
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

struct Usage {
    double processorMs = 0;
    double peakMiB = 0;
};

// Runs the command with its output thrown away; a negative processor time
// when it failed.
Usage Run(const std::vector<std::string>& command) {
    std::fflush(stdout);
    const pid_t child = ::fork();
    if (child == 0) {
        std::freopen("/dev/null", "w", stdout);
        std::freopen("/dev/null", "w", stderr);
        std::vector<char*> argv;
        for (const std::string& part : command) {
            argv.push_back(const_cast<char*>(part.c_str()));
        }
        argv.push_back(nullptr);
        ::execv(argv[0], argv.data());
        std::_Exit(127);
    }
    int status = 0;
    rusage usage{};
    if (child < 0 || ::wait4(child, &status, 0, &usage) != child || !WIFEXITED(status) ||
        WEXITSTATUS(status) != 0) {
        return {-1, 0};
    }
    const auto ms = [](const timeval& t) { return static_cast<double>(t.tv_sec) * 1e3 + t.tv_usec / 1e3; };
    return {ms(usage.ru_utime) + ms(usage.ru_stime), static_cast<double>(usage.ru_maxrss) / 1024.0};
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// The width and height of a PNG picture, from its header.
bool PictureSize(const std::filesystem::path& path, int& width, int& height) {
    std::ifstream in(path, std::ios::binary);
    unsigned char header[24] = {};
    if (!in.read(reinterpret_cast<char*>(header), sizeof header)) {
        return false;
    }
    const auto be32 = [&](int at) {
        return (header[at] << 24) | (header[at + 1] << 16) | (header[at + 2] << 8) | header[at + 3];
    };
    width = be32(16);
    height = be32(20);
    return width > 0 && height > 0;
}

struct Figures {
    double processorMs = 0;
    double peakMiB = 0;
};

bool Measure(const char* what, const std::vector<std::string>& command, int runs, Figures& figures) {
    std::vector<double> processor, peak;
    for (int run = 0; run < runs; ++run) {
        const Usage usage = Run(command);
        if (usage.processorMs < 0) {
            std::fprintf(stderr, "bench_startup: %s failed\n", command.front().c_str());
            return false;
        }
        processor.push_back(usage.processorMs);
        peak.push_back(usage.peakMiB);
    }
    figures = {Median(processor), Median(peak)};
    std::printf("%-28s %8.1f ms processor %8.1f MiB peak (medians of %d)\n", what, figures.processorMs,
                figures.peakMiB, runs);
    return true;
}

} // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 11;
    namespace fs = std::filesystem;
    std::string pattern = (fs::temp_directory_path() / "quorvel-bench-startup-XXXXXX").string();
    const fs::path folder = ::mkdtemp(pattern.data());
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    ::setenv("XDG_RUNTIME_DIR", folder.c_str(), 1);

    const std::string demoPicture = (folder / "demo.png").string();
    const std::vector<std::string> demo = {QUORVEL_DEMO, "--screenshot", demoPicture};
    // One run first: its picture gives the bare window its size.
    int width = 0, height = 0;
    if (Run(demo).processorMs < 0 || !PictureSize(demoPicture, width, height)) {
        std::fprintf(stderr, "bench_startup: quorvel-demo took no picture\n");
        return 1;
    }
    std::printf("a %dx%d window, shown and saved as a picture, offscreen\n", width, height);
    const std::vector<std::string> bare = {QUORVEL_BARE_WINDOW, std::to_string(width), std::to_string(height),
                                           (folder / "bare.png").string()};
    Figures demoFigures, bareFigures;
    const bool measured = Measure("bare Qt window", bare, runs, bareFigures) &&
                          Measure("quorvel-demo --screenshot", demo, runs, demoFigures);
    fs::remove_all(folder);
    if (!measured) {
        return 1;
    }
    std::printf("processor time %.2fx the bare window's (goal: at most 1.5x)\n",
                demoFigures.processorMs / bareFigures.processorMs);
    std::printf("peak memory    %.2fx the bare window's (goal: at most 1.3x)\n",
                demoFigures.peakMiB / bareFigures.peakMiB);
    return 0;
}
