// The processor time and peak memory of `quorvel-demo --screenshot` against a
// bare Qt window of the same size that saves its picture the same way
// (bench_bare_window), each run as a process of its own several times on the
// offscreen platform; the figures are the medians of what the system counts
// for each child (wait4), and the ratios are the medians of the ratios of
// runs taken one after the other. Goals: the demo takes at most 1.5 times the bare
// window's processor time and 1.3 times its peak memory.
//   bench_startup [RUNS]   (21 of each by default)
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
    double processorRatio = 1; // to the first command's, the median of the runs'
    double peakRatio = 1;
};

// Runs the commands in turn, one run of each after the other, so that both
// meet the same moments of a machine whose load comes and goes.
bool Measure(const std::vector<std::vector<std::string>>& commands, int runs, std::vector<Figures>& figures) {
    std::vector<std::vector<double>> processor(commands.size()), peak(commands.size());
    for (int run = 0; run < runs; ++run) {
        for (std::size_t i = 0; i < commands.size(); ++i) {
            const Usage usage = Run(commands[i]);
            if (usage.processorMs < 0) {
                std::fprintf(stderr, "bench_startup: %s failed\n", commands[i].front().c_str());
                return false;
            }
            processor[i].push_back(usage.processorMs);
            peak[i].push_back(usage.peakMiB);
        }
    }
    figures.clear();
    for (std::size_t i = 0; i < commands.size(); ++i) {
        // Against the first command, run by run: the median of those ratios
        // is what a change of load between runs moves least.
        std::vector<double> processorRatio, peakRatio;
        for (int run = 0; run < runs; ++run) {
            processorRatio.push_back(processor[i][run] / processor[0][run]);
            peakRatio.push_back(peak[i][run] / peak[0][run]);
        }
        figures.push_back({Median(processor[i]), Median(peak[i]), Median(processorRatio), Median(peakRatio)});
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 21;
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
    std::vector<Figures> figures;
    const bool measured = Measure({bare, demo}, runs, figures);
    fs::remove_all(folder);
    if (!measured) {
        return 1;
    }
    const Figures& bareFigures = figures[0];
    const Figures& demoFigures = figures[1];
    for (const auto& [what, f] : {std::pair{"bare Qt window", bareFigures}, {"quorvel-demo --screenshot", demoFigures}}) {
        std::printf("%-28s %8.1f ms processor %8.1f MiB peak (medians of %d, runs taken in turn)\n", what,
                    f.processorMs, f.peakMiB, runs);
    }
    std::printf("processor time %.3fx the bare window's (goal: at most 1.5x)\n", demoFigures.processorRatio);
    std::printf("peak memory    %.3fx the bare window's (goal: at most 1.3x)\n", demoFigures.peakRatio);
    return 0;
}
