#pragma once

#include <iosfwd>
#include <string>
#include <variant>

#include "config/data_folder.h"
#include "options.h"
#include "ports/file_system.h"

namespace quorvel::ctl {

// Runs a macro command on the data folder's record.ini and config.bin with
// the window's own macro library. `in` is standard input, for "add NAME -".
// Listings go to `out`, messages to `err`. Returns the exit status: 0, or 1
// when nothing was changed because something was wrong.
// What a file names when it is shown: "standard input" for "-".
std::string SourceName(const std::string& source);

// The whole of a file, or of `in` for "-", read no further than a data
// file's limit: the text (index 0), or the one-line message why not (1).
std::variant<std::string, std::string> ReadSource(const std::string& source, std::istream& in);

int RunMacroCommand(const MacroCommand& command, const DataPaths& paths, FileSystem& files, std::istream& in,
                    std::ostream& out, std::ostream& err);

} // namespace quorvel::ctl
