#pragma once

#include <filesystem>

#include "config/device_config.h"
#include "ports/file_system.h"

namespace quorvel {

// config.bin: one first-run byte, then the 2021-byte record.
inline constexpr std::size_t kConfigFileSize = 1 + kDeviceConfigSize;

// The first-run flag and the file config.bin. The record itself belongs to
// the caller (the working configuration); this object keeps the flag. It
// shows nothing: its results say what went wrong, and the caller tells the
// user.
class ConfigFile {
public:
    // `program` is the running executable: never written, whatever the path says.
    ConfigFile(FileSystem& files, std::filesystem::path path, std::filesystem::path program);

    // Fills the record and the first-run flag from the file. On an error
    // (Missing, NotAFile, TooLarge, ReadFailed, WrongSize) the record is
    // unchanged and the file is left as it is. A file that is there but
    // cannot be used was not made by a first run: the flag reads 1, so the
    // user's button labels are not replaced by the defaults.
    FileStatus LoadConfig(DeviceConfig& config);

    // Writes the flag 1 and the record. The program only rewrites a
    // config.bin that is there (Missing otherwise) and never the running
    // program itself (Refused); on WriteFailed the old file is whole.
    FileStatus SaveConfig(const DeviceConfig& config);
    // Writes the record and keeps the first-run flag that LoadConfig read:
    // for a tool that changes the record beside the program, and must not
    // claim that the program has run.
    FileStatus SaveRecord(const DeviceConfig& config);

    // 0 until config.bin has been written once by the program.
    Byte firstRunFlag() const { return firstRunFlag_; }
    const std::filesystem::path& path() const { return path_; }

private:
    FileStatus save(const DeviceConfig& config, Byte flag);

    FileSystem* files_;
    std::filesystem::path path_;
    std::filesystem::path program_;
    Byte firstRunFlag_ = 0;
};

} // namespace quorvel
