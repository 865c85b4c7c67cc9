#pragma once

#include <filesystem>

#include "config/device_config.h"
#include "ports/file_system.h"
#include "ports/message_port.h"

namespace quorvel {

// config.bin: one first-run byte, then the 2021-byte record.
inline constexpr std::size_t kConfigFileSize = 1 + kDeviceConfigSize;

enum class LoadResult {
    Loaded,
    Missing,  // "Config file is not exist." was shown; the record is unchanged
    Unusable, // wrong size or unreadable; nothing shown, the record is unchanged
};

enum class SaveResult {
    Saved,
    Missing,     // the program only rewrites a config.bin that is there
    WriteFailed, // the error box was shown; the old file is untouched
    Refused,     // the path is the program itself; nothing written
};

// Messages config.bin shows the user.
inline constexpr std::string_view kConfigMissingText = "Config file is not exist.";
inline constexpr std::string_view kConfigWriteErrorTitle = "NULL ==fp";

// The first-run flag and the file config.bin. The record itself belongs to
// the caller (the working configuration); this object keeps the flag.
class ConfigFile {
public:
    // `program` is the running executable: never written, whatever the path says.
    ConfigFile(FileSystem& files, MessagePort& messages, std::filesystem::path path,
               std::filesystem::path program);

    LoadResult LoadConfig(DeviceConfig& config);
    SaveResult SaveConfig(const DeviceConfig& config);

    // 0 until config.bin has been written once by the program.
    Byte firstRunFlag() const { return firstRunFlag_; }

private:
    FileSystem* files_;
    MessagePort* messages_;
    std::filesystem::path path_;
    std::filesystem::path program_;
    Byte firstRunFlag_ = 0;
};

} // namespace quorvel
