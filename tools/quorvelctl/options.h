#pragma once

#include <optional>
#include <string>
#include <vector>

#include "config/device_config.h"

namespace quorvel::ctl {

enum class Action { Info, Apply, Macro, Settings, Help, Version };

// "macro list", "macro show NAME", "macro add NAME FILE", "macro delete NAME".
struct MacroCommand {
    enum class Kind { List, Show, Add, Delete };
    Kind kind = Kind::List;
    std::string name;
    std::string source; // add: the file of event lines, "-" for standard input
};

// "show", "get NAME", "set NAME VALUE...", "export FILE", "import FILE".
struct SettingsCommand {
    enum class Kind { Show, Get, Set, Export, Import };
    Kind kind = Kind::Show;
    std::string name;  // get, set
    std::string value; // set: the value words joined by blanks
    std::string file;  // export, import: "-" for standard output or input
};

struct Options {
    Action action = Action::Help;
    std::optional<std::string> dataFolder;
    bool simulate = false;
    std::optional<Byte> sensorType;
    bool trace = false;
    MacroCommand macro;
    SettingsCommand settings;
};

struct ParseResult {
    std::optional<Options> options;
    std::string error; // when there are no options
};

ParseResult ParseOptions(const std::vector<std::string>& arguments);

extern const char* const kUsage;

// Where the program's own data folder is, the last paragraph of --help.
enum class HelpPlatform { Linux, Windows };
#ifdef _WIN32
inline constexpr HelpPlatform kThisPlatform = HelpPlatform::Windows;
#else
inline constexpr HelpPlatform kThisPlatform = HelpPlatform::Linux;
#endif
std::string DataFolderHelp(HelpPlatform platform);

} // namespace quorvel::ctl
