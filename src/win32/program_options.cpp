#include "win32/program_options.h"

#include <windows.h>

#include <shellapi.h>

#include <cstdio>
#include <iostream>
#include <optional>

#include "app/basic_page_layout.h"
#include "system/windows/wide_text.h"

namespace quorvel {

namespace {

// Which of the two programs takes an option.
enum class TakenBy { Both, Demo, Program };

struct Option {
    std::wstring_view name;
    TakenBy takenBy;
    bool takesValue;
};

constexpr Option kOptions[] = {
    {L"--help", TakenBy::Both, false},         {L"-h", TakenBy::Both, false},
    {L"--version", TakenBy::Both, false},      {L"-v", TakenBy::Both, false},
    {L"--screenshot", TakenBy::Demo, true},    {L"--open-row", TakenBy::Demo, true},
    {L"--open-list", TakenBy::Demo, true},     {L"--page", TakenBy::Demo, true},
    {L"--autostart", TakenBy::Program, false},
};

const Option* FindOption(std::wstring_view name, bool demo) {
    for (const Option& option : kOptions) {
        if (option.name == name &&
            (option.takenBy == TakenBy::Both || (option.takenBy == TakenBy::Demo) == demo)) {
            return &option;
        }
    }
    return nullptr;
}

std::optional<int> RowNumber(std::string_view text) {
    if (text.empty() || text.size() > 2) {
        return std::nullopt;
    }
    int row = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
        row = row * 10 + (c - '0');
    }
    if (row < 1 || row > BasicPageLayout::kRowCount) {
        return std::nullopt;
    }
    return row;
}

} // namespace

std::variant<ProgramOptions, std::string> ParseProgramOptions(const std::vector<std::wstring>& arguments,
                                                              bool demo) {
    ProgramOptions options;
    bool rowGiven = false;
    bool listGiven = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        std::wstring_view argument = arguments[i];
        std::optional<std::wstring> value;
        if (const std::size_t equals = argument.find(L'=');
            argument.starts_with(L"--") && equals != std::wstring::npos) {
            value = std::wstring(argument.substr(equals + 1));
            argument = argument.substr(0, equals);
        }
        const Option* option = FindOption(argument, demo);
        if (option == nullptr) {
            return argument.starts_with(L"-") ? "unknown option '" + Utf8FromWide(argument) + "'"
                                              : "unexpected argument '" + Utf8FromWide(argument) + "'";
        }
        if (option->takesValue && !value) {
            if (i + 1 == arguments.size()) {
                return "missing value after '" + Utf8FromWide(argument) + "'";
            }
            value = arguments[++i];
        } else if (!option->takesValue && value) {
            return "'" + Utf8FromWide(argument) + "' takes no value";
        }
        const std::string text = value ? Utf8FromWide(*value) : std::string();
        if (argument == L"--help" || argument == L"-h") {
            options.action = ProgramOptions::Action::Help;
        } else if (argument == L"--version" || argument == L"-v") {
            if (options.action != ProgramOptions::Action::Help) {
                options.action = ProgramOptions::Action::Version;
            }
        } else if (argument == L"--autostart") {
            options.autostart = true;
        } else if (argument == L"--screenshot") {
            options.screenshot = *value;
            if (options.screenshot.empty()) {
                return std::string("--screenshot needs a file");
            }
        } else if (argument == L"--page") {
            if (text != "basic" && text != "advanced") {
                return "--page takes basic or advanced, not '" + text + "'";
            }
            options.advancedPage = text == "advanced";
        } else if (argument == L"--open-row") {
            const std::optional<int> row = RowNumber(text);
            if (!row) {
                return "--open-row takes a row from 1 to 8, not '" + text + "'";
            }
            options.openRow = *row;
            rowGiven = true;
        } else if (argument == L"--open-list") {
            if (text != "mode" && text != "parameter" && text != "stage") {
                return "--open-list takes mode, parameter or stage, not '" + text + "'";
            }
            options.openList = text;
            listGiven = true;
        }
    }
    if (options.action == ProgramOptions::Action::Run && options.screenshot.empty() &&
        (rowGiven || listGiven)) {
        return std::string("--open-row and --open-list need --screenshot");
    }
    return options;
}

std::string ProgramHelp(std::string_view program, bool demo) {
    std::string help = "Usage: " + std::string(program) + " [options]\n";
    help +=
        demo
            ? "The Quorvel settings program on a simulated mouse, with a panel that presses the mouse's own\n"
              "buttons. Keeps its own files (demo\\ beside the program) and its own lock.\n"
            : "Settings of the Quorvel gaming mouse. Lives in the notification area; a second start shows\n"
              "the running copy's window.\n";
    help += "\nOptions:\n"
            "  -h, --help                Show this help and end.\n"
            "  -v, --version             Show the version and end.\n";
    if (!demo) {
        help +=
            "  --autostart               Started at login (the Run value says so): stay in the notification\n"
            "                            area and tell a missing mouse by a balloon, not a message box.\n";
    }
    if (demo) {
        help += "  --screenshot FILE         Save a picture of the settings window to FILE (PNG) and end.\n"
                "  --open-row N              With --screenshot: first open the list of row N (1-8).\n"
                "  --open-list NAME          With --screenshot: first open the list NAME\n"
                "                            (mode, parameter or stage).\n"
                "  --page PAGE               Open the settings window on page PAGE (basic or advanced).\n";
    }
    return help;
}

namespace {

// A program without a console of its own writes to the one it was started
// from, unless its output goes elsewhere already.
void UseParentConsole() {
    const HANDLE output = ::GetStdHandle(STD_OUTPUT_HANDLE);
    if ((output == nullptr || output == INVALID_HANDLE_VALUE) &&
        ::AttachConsole(ATTACH_PARENT_PROCESS) != FALSE) {
        std::freopen("CONOUT$", "w", stdout);
        std::freopen("CONOUT$", "w", stderr);
    }
}

} // namespace

std::optional<int> AnswerCommandLine(const std::variant<ProgramOptions, std::string>& parsed,
                                     std::string_view program, bool demo, std::string_view version) {
    if (const auto* error = std::get_if<std::string>(&parsed)) {
        UseParentConsole();
        std::cerr << program << ": " << *error << "\nTry '" << program << " --help'." << std::endl;
        return 2;
    }
    switch (std::get<ProgramOptions>(parsed).action) {
    case ProgramOptions::Action::Help:
        UseParentConsole();
        std::cout << ProgramHelp(program, demo) << std::flush;
        return 0;
    case ProgramOptions::Action::Version:
        UseParentConsole();
        std::cout << program << " " << version << std::endl;
        return 0;
    case ProgramOptions::Action::Run:
        break;
    }
    return std::nullopt;
}

std::vector<std::wstring> CommandLineArguments() {
    std::vector<std::wstring> arguments;
    int count = 0;
    LPWSTR* words = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    if (words == nullptr) {
        return arguments;
    }
    for (int i = 1; i < count; ++i) {
        arguments.emplace_back(words[i]);
    }
    ::LocalFree(words);
    return arguments;
}

} // namespace quorvel
