#include "options.h"

#include <charconv>

namespace quorvel::ctl {

const char* const kUsage = R"(Usage: quorvelctl [--data DIR] [--simulate [--sensor-type N]] [--trace] COMMAND

Talks to the Quorvel gaming mouse with the same code as the Quorvel program.

Commands:
  info       Find the mouse, run the handshake, read its sensor record and
             show what was found. Exit status 1 when there is no mouse or the
             handshake fails.
  apply      Find the mouse, run the handshake, read and write back the
             sensor record, then send the whole configuration of the data
             folder's config.bin to the mouse, as the window's Apply button
             does. Exit status 0 only when every transfer went through.
             The data files are only read, never written.

Options:
  --data DIR         The data folder that holds config.bin. By default the
                     program's own: the folder of quorvelctl when a config.bin
                     lies there, otherwise $XDG_CONFIG_HOME/quorvel
                     (~/.config/quorvel).
  --simulate         Talk to the simulated mouse instead of a real one.
  --sensor-type N    The sensor type (0-255) the simulated mouse reports.
  --trace            Print every transfer on standard output, one line each,
                     and nothing else there (messages go to standard error):
                       set-feature <bytes>   a feature report sent
                       get-feature <bytes>   a feature report as it came back
                       write <bytes>         a data chunk sent
                       read <bytes>          a data chunk as it came back
                       sleep <ms>            a pause
                     Bytes are the whole report as on the wire: report ID
                     first, scrambled, in lower-case hex.
  -h, --help         Show this text.
  --version          Show the version of quorvelctl.

Options that take a value also take it as --option=VALUE.
Exit status 2: the command line was not understood.
)";

namespace {

std::optional<Byte> ParseByte(const std::string& text) {
    unsigned value = 0;
    const char* end = text.data() + text.size();
    const auto [next, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc{} || next != end || value > 255) {
        return std::nullopt;
    }
    return static_cast<Byte>(value);
}

} // namespace

ParseResult ParseOptions(const std::vector<std::string>& arguments) {
    Options options;
    std::optional<Action> action;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        std::string argument = arguments[i];
        std::optional<std::string> attached;
        if (argument.starts_with("--") && argument.find('=') != std::string::npos) {
            attached = argument.substr(argument.find('=') + 1);
            argument = argument.substr(0, argument.find('='));
        }
        const auto value = [&]() -> std::optional<std::string> {
            if (attached) {
                return attached;
            }
            if (i + 1 < arguments.size()) {
                return arguments[++i];
            }
            return std::nullopt;
        };
        if (argument == "-h" || argument == "--help") {
            options.action = Action::Help;
            return {options, {}};
        }
        if (argument == "--version") {
            options.action = Action::Version;
            return {options, {}};
        }
        if (argument == "--data") {
            const auto folder = value();
            if (!folder || folder->empty()) {
                return {std::nullopt, "--data needs a folder"};
            }
            options.dataFolder = *folder;
        } else if (argument == "--sensor-type") {
            const auto text = value();
            if (!text) {
                return {std::nullopt, "--sensor-type needs a number from 0 to 255"};
            }
            options.sensorType = ParseByte(*text);
            if (!options.sensorType) {
                return {std::nullopt, "--sensor-type: '" + *text + "' is not a number from 0 to 255"};
            }
        } else if ((argument == "--simulate" || argument == "--trace") && !attached) {
            (argument == "--simulate" ? options.simulate : options.trace) = true;
        } else if (argument.starts_with("-")) {
            return {std::nullopt, "unknown option '" + arguments[i] + "'"};
        } else if (action) {
            return {std::nullopt, "one command only, not also '" + argument + "'"};
        } else if (argument == "info") {
            action = Action::Info;
        } else if (argument == "apply") {
            action = Action::Apply;
        } else {
            return {std::nullopt, "unknown command '" + argument + "' (info or apply)"};
        }
    }
    if (!action) {
        return {std::nullopt, "no command given (info or apply)"};
    }
    if (options.sensorType && !options.simulate) {
        return {std::nullopt, "--sensor-type is for the simulated mouse (--simulate)"};
    }
    options.action = *action;
    return {options, {}};
}

} // namespace quorvel::ctl
