#pragma once

#include <string>
#include <string_view>

#include "lang/language.h"
#include "ports/file_error.h"

namespace quorvel {

// The program's long-standing texts about config.bin.
inline constexpr std::string_view kConfigMissingText = "Config file is not exist.";
inline constexpr std::string_view kConfigWriteErrorTitle = "NULL ==fp";
// "Error Code is: 28 \n": the system's error code of a failed save.
std::string ConfigWriteErrorText(int code);

// Which file and what went wrong, in one line for a message box or a
// terminal: "/home/u/.config/quorvel/str.ini: cannot be read: Permission denied".
// The system's reason stays in the system's words.
std::string FileErrorText(const FileError& error, Language language);

} // namespace quorvel
