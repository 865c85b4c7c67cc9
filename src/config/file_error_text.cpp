#include "config/file_error_text.h"

#include <system_error>

#include "config/config_file.h"
#include "lang/texts.h"
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

std::string FileErrorText(const FileError& error, Language language) {
    const auto text = [&](TextId id, std::initializer_list<std::string_view> values = {}) {
        return Utf8FromPath(error.path) + ": " + Filled(Text(language, id), values);
    };
    switch (error.kind) {
    case FileError::Kind::Missing:
        return text(TextId::kFileMissing);
    case FileError::Kind::NotAFile:
        return text(TextId::kFileNotRegular);
    case FileError::Kind::TooLarge:
        return text(TextId::kFileTooLarge,
                    {std::to_string(error.size), std::to_string(kLargestDataFile / (1024 * 1024))});
    case FileError::Kind::ReadFailed:
        return text(TextId::kFileCannotBeRead, {SystemText(error.code)});
    case FileError::Kind::WriteFailed:
        return text(TextId::kFileCannotBeWritten, {SystemText(error.code)});
    case FileError::Kind::WrongSize:
        return text(TextId::kFileWrongSize, {std::to_string(error.size), std::to_string(kConfigFileSize)});
    case FileError::Kind::Refused:
        return text(TextId::kFileIsTheProgram);
    case FileError::Kind::BadName:
        return text(TextId::kFileNameNotStorable);
    }
    return Utf8FromPath(error.path) + ": ";
}

} // namespace quorvel
