#pragma once

#include <optional>
#include <string>
#include <vector>

#include "config/device_config.h"

namespace quorvel::ctl {

enum class Action { Info, Apply, Help, Version };

struct Options {
    Action action = Action::Help;
    std::optional<std::string> dataFolder;
    bool simulate = false;
    std::optional<Byte> sensorType;
    bool trace = false;
};

struct ParseResult {
    std::optional<Options> options;
    std::string error; // when there are no options
};

ParseResult ParseOptions(const std::vector<std::string>& arguments);

extern const char* const kUsage;

} // namespace quorvel::ctl
