#include "config/file_error_text.h"

#include <system_error>

#include "config/config_file.h"
#include "ports/file_system.h"

namespace quorvel {

namespace {

std::string SystemText(int code) {
    return std::generic_category().message(code);
}

} // namespace

std::string ConfigWriteErrorText(int code) {
    return "Error Code is: " + std::to_string(code) + " \n";
}

std::string FileErrorText(const FileError& error) {
    std::string text = error.path.string() + ": ";
    switch (error.kind) {
    case FileError::Kind::Missing:
        return text + "no such file";
    case FileError::Kind::NotAFile:
        return text + "not a regular file (a folder, a FIFO or a device); not read";
    case FileError::Kind::TooLarge:
        return text + std::to_string(error.size) + " bytes, more than the " +
               std::to_string(kLargestDataFile / (1024 * 1024)) + " MB a data file may have; not read";
    case FileError::Kind::ReadFailed:
        return text + "cannot be read: " + SystemText(error.code);
    case FileError::Kind::WriteFailed:
        return text + "cannot be written: " + SystemText(error.code);
    case FileError::Kind::WrongSize:
        return text + std::to_string(error.size) + " bytes; a configuration file has " +
               std::to_string(kConfigFileSize);
    case FileError::Kind::Refused:
        return text + "not written: it is the running program itself";
    case FileError::Kind::BadName:
        return text + "not written: a name that starts with '[' or ';' or holds '=', ']' or a line break "
                      "cannot be stored";
    }
    return text;
}

} // namespace quorvel
