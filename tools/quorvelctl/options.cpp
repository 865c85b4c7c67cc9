#include "options.h"

#include <charconv>

namespace quorvel::ctl {

const char* const kUsage = R"(Usage: quorvelctl [--data DIR] [--simulate [--sensor-type N]] [--trace] COMMAND
       quorvelctl [--data DIR] macro list|show NAME|add NAME FILE|delete NAME
       quorvelctl [--data DIR] [--sensor-type N] show|get NAME|set NAME VALUE...
       quorvelctl [--data DIR] [--sensor-type N] export FILE|-
       quorvelctl [--data DIR] import FILE|-

Talks to the Quorvel gaming mouse with the same code as the Quorvel program,
and keeps its macros.

Commands:
  info       Find the mouse, run the handshake, read its sensor record and
             show what was found. Exit status 1 when there is no mouse or the
             handshake fails.
  apply      Find the mouse, run the handshake, read and write back the
             sensor record, then send the whole configuration of the data
             folder's config.bin to the mouse, as the window's Apply button
             does. Exit status 0 only when every transfer went through.
             The data files are only read, never written.
  macro list
             The macros of the data folder's record.ini, one name a line,
             in file order (the order of the mouse's macro numbers).
  macro show NAME
             The event lines of the macro NAME (letter case does not
             matter), one a line.
  macro add NAME FILE
             Adds the macro NAME with the event lines of FILE (- for
             standard input), as the window's New and Confirm do: the macro
             is written last in record.ini and the macro table in
             config.bin is rebuilt (send it with apply). A line is a key
             name and "   Dn" or "   Up" (three blanks), or a pause
             "N ms" of 0 to 25599; empty lines are skipped. A new macro
             whose slot holds no loop count plays once.
  macro delete NAME
             Removes the macro NAME from record.ini, as the window's Delete
             does; the macro table follows at the next add or Confirm.
  show       Every setting of the window, one "NAME = VALUE" a line, and
             the button labels of each language ("?": the bytes hold no
             value the window shows).
  get NAME   The value of one setting, as the window shows it.
  set NAME VALUE...
             Changes one setting in the data folder as the window's control
             does before Apply, with the window's rules (the last Left
             Click, the sensor's DPI list, the ranges below); the words of
             VALUE are joined by blanks. Send it with apply.
  export FILE
             Writes a profile of the data folder (- for standard output):
             a UTF-8 text file with a version line, the settings by name,
             the other bytes of config.bin as "bytes OFFSET = .." lines,
             the button labels of each language and the macros.
  import FILE
             Checks the whole profile (- for standard input), then writes
             config.bin, the labels in str.ini and record.ini. A damaged
             or newer profile is refused with the line at fault.
  The settings (N, J, K: numbers; NAME: a macro):
    report-rate                  125, 250, 500 or 1000 (Hz)
    dpi.N                        stage N (1-4): a DPI of the sensor's list
    dpi.N.enabled                on or off; the last enabled stage stays on
    dpi.N.colour.J               colour switch J (1-4) of stage N: on or off
    key-configuration            Mode A or Mode B
    button.A.N, button.B.N       button N (1-12) of Mode A or B: its function
                                 as its label reads: Left Click, DPI +,
                                 Calculator, Multimedia-Next, Single Key-F5,
                                 Combo Key-Left Ctrl+A, Fire Key-A, speed 32,
                                 times 1, Macro Key-Copy, repeat 1, Shift ...
    lighting.mode                Standard Mode, Respiration Mode or Neon Mode
    lighting.brightness          5%, 15%, ... 85%, 100%
    lighting.respiration-period  8S, 7S, 6S, 5S or 4S
    lighting.neon-period         0.5S, 1S, ... 15S
    lighting.colour.K            loop colour K (1-8): #rrggbb
    lighting.colour.K.enabled    on or off
    pointer.speed                1-11
    pointer.wheel-lines          0-11
    pointer.double-click         1-11
    pointer.precision            on or off
    pointer.scroll-one-screen    on or off
    macro.NAME.loops             1-65535
  A DPI needs the mouse's sensor: --sensor-type N, else the mouse is asked
  (the simulated one with --simulate).
  The macro and settings commands never talk to the mouse but for its
  sensor. On an error (an unknown name, a name the window would refuse, a
  thirteenth macro, a line that is no event or pause, a value the window
  would refuse) they say what is wrong in one line, change nothing, and
  exit with status 1.

Options:
  --data DIR         The data folder that holds config.bin and record.ini.
                     By default the program's own (see Data folder below).
  --simulate         Talk to the simulated mouse instead of a real one.
  --sensor-type N    The sensor type (0-255) the simulated mouse reports;
                     for the settings commands, the sensor whose DPI list
                     the DPI stages are read and set in.
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

Options that take a value also take it as --option=VALUE. After --, every
word is an operand (a macro named "-x").
Exit status 2: the command line was not understood.
)";

std::string DataFolderHelp(HelpPlatform platform) {
    switch (platform) {
    case HelpPlatform::Windows:
        return "\nData folder:\n"
               "  The folder of quorvelctl.exe, beside quorvel.exe: config.bin, str.ini,\n"
               "  record.ini and Skins\\ of this portable copy. A copy the installer put\n"
               "  there (installed.txt beside quorvelctl.exe) keeps them in %APPDATA%\\Quorvel.\n";
    case HelpPlatform::Linux:
        break;
    }
    return "\nData folder:\n"
           "  The folder of quorvelctl when a config.bin, str.ini or Skins/Default lies\n"
           "  there (a build, a portable copy), otherwise $XDG_CONFIG_HOME/quorvel\n"
           "  (~/.config/quorvel), first filled from the installed factory files.\n";
}

namespace {

constexpr std::string_view kCommandList = "info, apply, macro, show, get, set, export or import";

std::optional<Byte> ParseByte(const std::string& text) {
    unsigned value = 0;
    const char* end = text.data() + text.size();
    const auto [next, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc{} || next != end || value > 255) {
        return std::nullopt;
    }
    return static_cast<Byte>(value);
}

// The words after "macro": the subcommand and its operands.
ParseResult ParseMacroCommand(Options options, const std::vector<std::string>& words) {
    const struct {
        std::string_view word;
        MacroCommand::Kind kind;
        std::size_t operands;
        std::string_view usage;
    } commands[] = {
        {"list", MacroCommand::Kind::List, 0, "macro list"},
        {"show", MacroCommand::Kind::Show, 1, "macro show NAME"},
        {"add", MacroCommand::Kind::Add, 2, "macro add NAME FILE"},
        {"delete", MacroCommand::Kind::Delete, 1, "macro delete NAME"},
    };
    if (words.empty()) {
        return {std::nullopt, "macro needs list, show, add or delete"};
    }
    for (const auto& command : commands) {
        if (words[0] != command.word) {
            continue;
        }
        if (words.size() != command.operands + 1) {
            return {std::nullopt, "usage: quorvelctl " + std::string(command.usage)};
        }
        options.action = Action::Macro;
        options.macro.kind = command.kind;
        options.macro.name = command.operands > 0 ? words[1] : std::string();
        options.macro.source = command.operands > 1 ? words[2] : std::string();
        return {options, {}};
    }
    return {std::nullopt, "unknown macro command '" + words[0] + "' (list, show, add or delete)"};
}

// The words after show, get, set, export or import.
ParseResult ParseSettingsCommand(Options options, const std::string& command,
                                 const std::vector<std::string>& words) {
    using Kind = SettingsCommand::Kind;
    const struct {
        std::string_view word;
        Kind kind;
        std::size_t operands; // the least; set takes more
        std::string_view usage;
    } commands[] = {
        {"show", Kind::Show, 0, "show"},
        {"get", Kind::Get, 1, "get NAME"},
        {"set", Kind::Set, 2, "set NAME VALUE..."},
        {"export", Kind::Export, 1, "export FILE|-"},
        {"import", Kind::Import, 1, "import FILE|-"},
    };
    for (const auto& entry : commands) {
        if (command != entry.word) {
            continue;
        }
        const bool more = entry.kind == Kind::Set && words.size() > entry.operands;
        if (words.size() != entry.operands && !more) {
            return {std::nullopt, "usage: quorvelctl " + std::string(entry.usage)};
        }
        options.action = Action::Settings;
        options.settings.kind = entry.kind;
        if (entry.kind == Kind::Export || entry.kind == Kind::Import) {
            options.settings.file = words[0];
        } else if (!words.empty()) {
            options.settings.name = words[0];
            for (std::size_t i = 1; i < words.size(); ++i) {
                options.settings.value += (i > 1 ? " " : "") + words[i];
            }
        }
        return {options, {}};
    }
    return {std::nullopt, "unknown command '" + command + "'"};
}

bool IsSettingsCommand(const std::string& word) {
    return word == "show" || word == "get" || word == "set" || word == "export" || word == "import";
}

} // namespace

ParseResult ParseOptions(const std::vector<std::string>& arguments) {
    Options options;
    std::optional<Action> action;
    std::vector<std::string> macroWords;
    std::string settingsCommand;
    bool operandsOnly = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        std::string argument = arguments[i];
        // The words of a macro command, which may be "-" (standard input).
        if ((action == Action::Macro || action == Action::Settings) &&
            (operandsOnly || argument == "-" || !argument.starts_with("-"))) {
            macroWords.push_back(argument);
            continue;
        }
        if (argument == "--" && !operandsOnly) {
            operandsOnly = true;
            continue;
        }
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
        } else if (argument == "macro") {
            action = Action::Macro;
        } else if (IsSettingsCommand(argument)) {
            action = Action::Settings;
            settingsCommand = argument;
        } else {
            return {std::nullopt, "unknown command '" + argument + "' (" + std::string(kCommandList) + ")"};
        }
    }
    if (!action) {
        return {std::nullopt, "no command given (" + std::string(kCommandList) + ")"};
    }
    // The settings commands take the sensor's DPI list from it, too.
    if (options.sensorType && !options.simulate && *action != Action::Settings) {
        return {std::nullopt,
                "--sensor-type is for the simulated mouse (--simulate) and the settings commands"};
    }
    if (*action == Action::Macro) {
        return ParseMacroCommand(options, macroWords);
    }
    if (*action == Action::Settings) {
        return ParseSettingsCommand(options, settingsCommand, macroWords);
    }
    options.action = *action;
    return {options, {}};
}

} // namespace quorvel::ctl
