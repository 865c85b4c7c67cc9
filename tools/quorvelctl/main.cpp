// quorvelctl: the mouse from the command line, on the program's own core.

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "app/device_messages.h"
#include "config/config_file.h"
#include "config/data_folder.h"
#include "config/file_error_text.h"
#include "device/device_controller.h"
#include "hid/sim/simulated_mouse.h"
#include "hid/trace/tracing_hid_port.h"
#include "macro_command.h"
#include "options.h"
#include "quorvel_version.h"
#include "settings_command.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>

#include "hid/windows/windows_hid_port.h"
#include "system/windows/console_output.h"
#include "system/windows/program_environment.h"
#include "system/windows/waitable_timer_clock.h"
#include "system/windows/wide_text.h"
#include "system/windows/windows_file_system.h"
#else
#include "system/linux/local_file_system.h"
#include "system/linux/monotonic_clock.h"
#include "system/linux/program_environment.h"
#endif

#ifdef QUORVELCTL_HAVE_HID_LINUX
#include "hid/linux/linux_hid_port.h"
#endif

namespace quorvel::ctl {
namespace {

#ifdef _WIN32
using PlatformFileSystem = WindowsFileSystem;
using PlatformClock = WaitableTimerClock;
#else
using PlatformFileSystem = LocalFileSystem;
using PlatformClock = MonotonicClock;
#endif

constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;

// The command line has no window: link up and down are read from the link itself.
class NoWindow final : public DeviceEventPort {
public:
    void deliver(DeviceEventCode, int) override {}
    void hideWindow() override {}
};

void Fail(const std::string& message) {
    std::cerr << "quorvelctl: " << message << '\n';
}

// The data folder when --data names none: the window program's own.
DataPaths DefaultDataPaths(FileSystem& files) {
    DataPaths paths = ResolveDataPaths(ThisProgramEnvironment(), files);
    if (const FileStatus error = SeedDataFolder(files, paths)) {
        Fail(FileErrorText(*error, Language::kEnglish));
    }
    return paths;
}

// The configuration to apply: config.bin of the data folder.
std::optional<DeviceConfig> ReadConfigFile(const DataPaths& paths, FileSystem& files) {
    ConfigFile file(files, paths.configBin, paths.program);
    DeviceConfig config = zeroDeviceConfig();
    const FileStatus error = file.LoadConfig(config);
    if (!error) {
        return config;
    }
    if (error->kind == FileError::Kind::Missing) {
        Fail(error->path.string() + ": " + std::string(kConfigMissingText));
    } else {
        Fail(FileErrorText(*error, Language::kEnglish));
    }
    return std::nullopt;
}

// The system's HID devices, where this build can reach them.
std::unique_ptr<HidPort> OpenSystemHidPort() {
#if defined(_WIN32)
    return std::make_unique<WindowsHidPort>();
#elif defined(QUORVELCTL_HAVE_HID_LINUX)
    return std::make_unique<LinuxHidPort>();
#else
    return nullptr;
#endif
}

std::string HexByte(Byte value) {
    char text[8];
    std::snprintf(text, sizeof text, "0x%02x", value);
    return text;
}

int ShowInfo(DeviceController& controller, std::ostream& out) {
    const auto record = controller.ReadSensorRecord();
    if (!record) {
        Fail("the mouse did not answer the sensor record read");
        return kExitFailure;
    }
    const FeatureChannel& link = controller.channel();
    out << "Gaming mouse: " << controller.devicePath() << '\n'
        << "Link: up, scrambled\n"
        << "Sensor type: " << HexByte(record->sensorType) << '\n'
        << "Rate: " << HexByte(record->rate) << '\n'
        << "Option1: " << HexByte(record->option1) << '\n'
        << "Option2: " << HexByte(record->option2) << '\n'
        << "Report lengths: feature " << link.featureReportLength() << ", chunk in " << link.chunkInLength()
        << ", chunk out " << link.chunkOutLength() << ", event " << controller.eventReportLength() << '\n';
    return EXIT_SUCCESS;
}

int RunApply(DeviceController& controller, const DeviceConfig& config, std::ostream& out) {
    if (!controller.SyncSensorInfo()) {
        Fail("the mouse did not answer the sensor record read");
        return kExitFailure;
    }
    // Applying from the command line leaves the data files alone: nothing the
    // user chose has changed, and a rewritten config.bin would claim that the
    // window had already written its button labels.
    switch (controller.Apply(config)) {
    case ApplyResult::Completed:
        out << "Applied the configuration to the mouse (sensor type "
            << HexByte(controller.image().currentSensorType) << ").\n";
        return EXIT_SUCCESS;
    case ApplyResult::LinkBroken:
        Fail("the link to the mouse broke during Apply; the rest was not sent");
        return kExitFailure;
    case ApplyResult::UnusableAnswer:
        Fail(std::string(Text(Language::kEnglish, TextId::kMouseAnswerUnusable)) + " The rest was not sent.");
        return kExitFailure;
    case ApplyResult::NotConnected:
        break;
    }
    Fail("the mouse is not connected");
    return kExitFailure;
}

// The sensor type for the settings commands: --sensor-type, else the
// mouse's own (the simulated one with --simulate), asked quietly.
std::optional<Byte> AskSensorType(const Options& options) {
    if (options.sensorType && !options.simulate) {
        return options.sensorType;
    }
    std::unique_ptr<HidPort> hid;
    if (options.simulate) {
        auto simulated = std::make_unique<SimulatedMouse>();
        if (options.sensorType) {
            simulated->setSensorType(*options.sensorType);
        }
        hid = std::move(simulated);
    } else {
        hid = OpenSystemHidPort();
    }
    if (!hid) {
        return std::nullopt;
    }
    PlatformClock clock;
    NoWindow window;
    DeviceController controller(*hid, clock, window);
    if (controller.OpenDevice() != OpenResult::Opened) {
        return std::nullopt;
    }
    controller.Handshake();
    const auto record = controller.connected() ? controller.ReadSensorRecord() : std::nullopt;
    if (!record) {
        return std::nullopt;
    }
    return record->sensorType;
}

int Run(const Options& options) {
    // With --trace, standard output carries the transfers and nothing else.
    std::ostream& out = options.trace ? std::cerr : std::cout;
    PlatformFileSystem files;
    if (options.action == Action::Macro) {
        const DataPaths paths =
            options.dataFolder ? DataPathsIn(PathFromUtf8(*options.dataFolder)) : DefaultDataPaths(files);
        return RunMacroCommand(options.macro, paths, files, std::cin, std::cout, std::cerr);
    }
    if (options.action == Action::Settings) {
        const DataPaths paths =
            options.dataFolder ? DataPathsIn(*options.dataFolder) : DefaultDataPaths(files);
        return RunSettingsCommand(
            options.settings, paths, files, [&] { return AskSensorType(options); }, std::cin, std::cout,
            std::cerr);
    }

    std::optional<DeviceConfig> config;
    if (options.action == Action::Apply) {
        const DataPaths paths =
            options.dataFolder ? DataPathsIn(PathFromUtf8(*options.dataFolder)) : DefaultDataPaths(files);
        config = ReadConfigFile(paths, files);
        if (!config) {
            return kExitFailure;
        }
    }

    std::unique_ptr<SimulatedMouse> simulated;
    std::unique_ptr<HidPort> system;
    HidPort* hid = nullptr;
    if (options.simulate) {
        simulated = std::make_unique<SimulatedMouse>();
        if (options.sensorType) {
            simulated->setSensorType(*options.sensorType);
        }
        hid = simulated.get();
    } else {
        system = OpenSystemHidPort();
        if (!system) {
            Fail("this build cannot reach the system's HID devices; try --simulate");
            return kExitFailure;
        }
        hid = system.get();
    }
    PlatformClock realClock;
    TracedWhenAsked ports(*hid, realClock, options.trace ? &std::cout : nullptr);

    NoWindow window;
    DeviceController controller(ports.hid(), ports.clock(), window);
    const OpenResult opened = controller.OpenDevice();
    if (const auto failure = OpenFailureText(opened, Language::kEnglish)) {
        Fail(std::string(*failure));
        return kExitFailure;
    }
    if (opened != OpenResult::Opened) {
        Fail("no gaming mouse found");
        return kExitFailure;
    }
    controller.Handshake();
    if (!controller.connected()) {
        Fail("the mouse did not answer the handshake");
        return kExitFailure;
    }
    return options.action == Action::Info ? ShowInfo(controller, out) : RunApply(controller, *config, out);
}

} // namespace
} // namespace quorvel::ctl

namespace {

// The arguments as UTF-8, the program's own text: on Windows from the UTF-16
// command line, since the narrow one is in the ANSI code page and loses what
// that page lacks.
#ifdef _WIN32
std::vector<std::string> Arguments(int argc, wchar_t** argv) {
    std::vector<std::string> arguments;
    for (int i = 1; i < argc; ++i) {
        arguments.push_back(quorvel::Utf8FromWide(argv[i]));
    }
    return arguments;
}
#else
std::vector<std::string> Arguments(int argc, char** argv) {
    return {argv + 1, argv + argc};
}
#endif

int Main(const std::vector<std::string>& arguments) {
    using namespace quorvel::ctl;
#ifdef _WIN32
    // The same bytes as on Linux, so that traces compare equal.
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
    quorvel::WriteUtf8ToConsoles();
#endif
    const ParseResult parsed = ParseOptions(arguments);
    if (!parsed.options) {
        std::cerr << "quorvelctl: " << parsed.error << "\nTry 'quorvelctl --help'.\n";
        return kExitUsage;
    }
    if (parsed.options->action == Action::Help) {
        std::cout << kUsage << DataFolderHelp(kThisPlatform);
        return EXIT_SUCCESS;
    }
    if (parsed.options->action == Action::Version) {
        std::cout << "quorvelctl " QUORVEL_VERSION "\n";
        return EXIT_SUCCESS;
    }
    return Run(*parsed.options);
}

} // namespace

#ifdef _WIN32
int wmain(int argc, wchar_t** argv) {
    return Main(Arguments(argc, argv));
}
#else
int main(int argc, char** argv) {
    return Main(Arguments(argc, argv));
}
#endif
