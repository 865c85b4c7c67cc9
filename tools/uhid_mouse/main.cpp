// quorvel-uhid-mouse: the simulated mouse as a HID device of the running
// kernel (through /dev/uhid), so that the programs meet it through hidraw and
// udev as they meet the real one. A test tool for the virtual machine of
// tests/vm; it needs root (or access to /dev/uhid).

#include <poll.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <iostream>
#include <mutex>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "hid/trace/tracing_hid_port.h"
#include "uhid_mouse.h"

namespace quorvel::uhid_mouse {
namespace {

constexpr std::string_view kUsage =
    R"(Usage: quorvel-uhid-mouse [--unplugged]

Plugs the simulated mouse in (unless --unplugged) and prints
"ready EVENT-NODE FEATURE-NODE" once the kernel, and udev where it runs, have
its two hidraw nodes. Then takes commands, one a line, on standard input, and
answers each with one line ("ok" unless told otherwise):
  rate | dpi | keys | macro   press the mouse's report-rate, DPI,
                              key-configuration or macro button: it switches
                              and sends its event report
  unplug                      both interfaces go; answers "unplugged"
  plug                        a fresh link (it waits for a handshake); answers "ready ..."
  silent [N]                  takes reports and answers none, at once or after
                              N more requests on the feature interface; then
                              "silenced" comes on its own
  unplug-after N              pulled out after N more requests on the feature
                              interface: "pulled", then "unplugged" on their own
  answers-plain-probe         a mouse of the other kind: echoes the plain probe
  healthy                     answers everything again
  transfers                   every transfer of the mouse so far, one a line,
                              then "end": KIND HEX-BYTES @MILLISECONDS [failed],
                              KIND set-feature, get-feature, write, read or
                              event, the report ID first
  clear                       forgets the transfers
  quit                        (or the end of the input) pulls the mouse out and ends
Anything wrong gives "error ..." and changes nothing.
)";

std::mutex printing;

void Say(std::string_view line) {
    const std::lock_guard lock(printing);
    std::cout << line << '\n' << std::flush;
}

const char* KindName(SimTransfer::Kind kind) {
    switch (kind) {
    case SimTransfer::Kind::SetFeature:
        return "set-feature";
    case SimTransfer::Kind::GetFeature:
        return "get-feature";
    case SimTransfer::Kind::Write:
        return "write";
    case SimTransfer::Kind::Read:
        return "read";
    case SimTransfer::Kind::ReadEvent:
        return "event";
    case SimTransfer::Kind::Pause:
        break;
    }
    return "sleep";
}

std::string TransferLines(const std::vector<SimTransfer>& transfers) {
    std::string text;
    char buffer[32];
    for (const SimTransfer& transfer : transfers) {
        // A chunk read that found the mouse gone is this tool's own, not the program's.
        if (transfer.kind == SimTransfer::Kind::Read && !transfer.ok) {
            continue;
        }
        text += TraceLine(KindName(transfer.kind), transfer.report);
        const double ms = std::chrono::duration<double, std::milli>(transfer.at).count();
        std::snprintf(buffer, sizeof buffer, " @%.3f", ms);
        text += buffer;
        if (!transfer.ok) {
            text += " failed";
        }
        text += '\n';
    }
    return text + "end";
}

std::optional<int> Count(std::string_view word) {
    int value = 0;
    const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), value);
    if (error != std::errc() || end != word.data() + word.size() || value < 0) {
        return std::nullopt;
    }
    return value;
}

std::string ReadyLine(const MouseNodes& nodes) {
    return "ready " + nodes.event + " " + nodes.feature;
}

// Runs one command; false when it was "quit".
bool Command(UhidMouse& mouse, const std::string& line) {
    std::istringstream words(line);
    std::string command;
    std::string argument;
    std::string extra;
    words >> command >> argument >> extra;
    if (command.empty()) {
        return true;
    }
    SimulatedMouse& firmware = mouse.firmware();
    const auto wrong = [&](std::string_view why) { Say("error " + std::string(why) + ": " + line); };
    const bool takesCount = command == "silent" || command == "unplug-after";
    if (!extra.empty() || (!argument.empty() && !takesCount)) {
        wrong("too many words");
        return true;
    }
    const std::optional<int> count = argument.empty() ? std::nullopt : Count(argument);
    if (!argument.empty() && !count) {
        wrong("not a count");
        return true;
    }

    if (command == "rate" || command == "dpi" || command == "keys" || command == "macro") {
        if (!mouse.plugged()) {
            wrong("not plugged in");
            return true;
        }
        if (command == "rate") {
            firmware.pressReportRateButton();
        } else if (command == "dpi") {
            firmware.pressDpiButton();
        } else if (command == "keys") {
            firmware.pressKeyConfigurationButton();
        } else {
            firmware.pressMacroButton();
        }
        Say("ok");
    } else if (command == "unplug") {
        mouse.unplug();
        Say("unplugged");
    } else if (command == "plug") {
        std::string error;
        if (const auto nodes = mouse.plug(error)) {
            Say(ReadyLine(*nodes));
        } else {
            wrong(error);
        }
    } else if (command == "silent") {
        mouse.silent(count);
        Say("ok");
    } else if (command == "unplug-after") {
        if (!count || *count == 0) {
            wrong("needs a count of 1 or more");
            return true;
        }
        mouse.unplugAfter(*count);
        Say("ok");
    } else if (command == "answers-plain-probe") {
        firmware.setAnswersPlainProbe(true);
        Say("ok");
    } else if (command == "healthy") {
        mouse.healthy();
        Say("ok");
    } else if (command == "transfers") {
        Say(TransferLines(firmware.transfers()));
    } else if (command == "clear") {
        firmware.clearTransfers();
        Say("ok");
    } else if (command == "quit") {
        return false;
    } else {
        wrong("unknown command");
    }
    return true;
}

int Run(bool plugged) {
    UhidMouse mouse([](std::string_view notice) { Say(notice); });
    if (plugged) {
        std::string error;
        const auto nodes = mouse.plug(error);
        if (!nodes) {
            std::cerr << "quorvel-uhid-mouse: " << error << '\n';
            return 1;
        }
        Say(ReadyLine(*nodes));
    }
    std::string pending;
    std::array<char, 4096> buffer{};
    std::array<pollfd, 2> fds{{{STDIN_FILENO, POLLIN, 0}, {mouse.pullWakeup(), POLLIN, 0}}};
    for (;;) {
        if (::poll(fds.data(), fds.size(), -1) < 0) {
            if (errno == EINTR) {
                continue;
            }
            return 1;
        }
        if (fds[1].revents != 0 && mouse.followPull()) {
            Say("unplugged");
        }
        if (fds[0].revents == 0) {
            continue;
        }
        const ssize_t got = ::read(STDIN_FILENO, buffer.data(), buffer.size());
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            return 0;
        }
        pending.append(buffer.data(), static_cast<std::size_t>(got));
        for (std::size_t end = pending.find('\n'); end != std::string::npos; end = pending.find('\n')) {
            const std::string line = pending.substr(0, end);
            pending.erase(0, end + 1);
            if (!Command(mouse, line)) {
                return 0;
            }
        }
    }
}

} // namespace
} // namespace quorvel::uhid_mouse

int main(int argc, char** argv) {
    using namespace quorvel::uhid_mouse;
    bool plugged = true;
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (argument == "--unplugged") {
            plugged = false;
        } else if (argument == "--help") {
            std::cout << kUsage;
            return 0;
        } else {
            std::cerr << "quorvel-uhid-mouse: unknown argument '" << argument << "'\n" << kUsage;
            return 2;
        }
    }
    return Run(plugged);
}
