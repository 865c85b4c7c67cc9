#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace quorvel {

// What the command line of the Windows programs asks for. Both answer
// --help and --version; the demo takes the options of its pictures besides.
struct ProgramOptions {
    enum class Action { Run, Help, Version };
    Action action = Action::Run;
    std::filesystem::path screenshot; // empty: run as usual
    bool advancedPage = false;
    int openRow = 0;      // 1-8: that row's list opens first; 0: none
    std::string openList; // "mode", "parameter", "stage" or empty
    bool autostart = false; // started by the session at login (not the demo)
};

// Reads the arguments after the program's name, "--name value" or
// "--name=value". The error says what is wrong.
std::variant<ProgramOptions, std::string> ParseProgramOptions(const std::vector<std::wstring>& arguments,
                                                              bool demo);

// The text of --help.
std::string ProgramHelp(std::string_view program, bool demo);

// Answers --help and --version on standard output, or tells a wrong command
// line on standard error: the exit code when the program ends here.
std::optional<int> AnswerCommandLine(const std::variant<ProgramOptions, std::string>& parsed,
                                     std::string_view program, bool demo, std::string_view version);

// The arguments of this process after its name, as the system splits them.
std::vector<std::wstring> CommandLineArguments();

} // namespace quorvel
