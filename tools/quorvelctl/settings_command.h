#pragma once

#include <functional>
#include <iosfwd>
#include <optional>

#include "config/data_folder.h"
#include "config/device_config.h"
#include "options.h"
#include "ports/file_system.h"

namespace quorvel::ctl {

// The sensor type of the mouse, asked only when a DPI is shown or changed
// by its value; nothing when it cannot be known.
using SensorTypeSource = std::function<std::optional<Byte>()>;

// Runs show, get, set, export or import on the data folder with the
// window's own rules. `in` is standard input, for "import -"; settings and
// profiles go to `out` (export -), messages to `err`. Returns the exit
// status: 0, or 1 when nothing was changed because something was wrong.
int RunSettingsCommand(const SettingsCommand& command, const DataPaths& paths, FileSystem& files,
                       const SensorTypeSource& sensorType, std::istream& in, std::ostream& out,
                       std::ostream& err);

} // namespace quorvel::ctl
