#include "config/config_file.h"

#include <array>
#include <cstring>
#include <string>

namespace quorvel {

namespace {

bool SameFile(const std::filesystem::path& a, const std::filesystem::path& b) {
    std::error_code ec;
    if (std::filesystem::equivalent(a, b, ec)) {
        return true;
    }
    return a.lexically_normal() == b.lexically_normal();
}

} // namespace

ConfigFile::ConfigFile(FileSystem& files, std::filesystem::path path, std::filesystem::path program)
    : files_(&files), path_(std::move(path)), program_(std::move(program)) {
}

FileStatus ConfigFile::LoadConfig(DeviceConfig& config) {
    const auto content = files_->readAll(path_);
    if (!content) {
        if (content.error().kind != FileError::Kind::Missing) {
            firstRunFlag_ = 1;
        }
        return content.error();
    }
    if (content->size() != kConfigFileSize) {
        firstRunFlag_ = 1;
        return FileError{FileError::Kind::WrongSize, path_, 0, content->size()};
    }
    firstRunFlag_ = static_cast<Byte>((*content)[0]);
    std::memcpy(config.bytes().data(), content->data() + 1, kDeviceConfigSize);
    return std::nullopt;
}

FileStatus ConfigFile::SaveConfig(const DeviceConfig& config) {
    return save(config, 1);
}

FileStatus ConfigFile::SaveRecord(const DeviceConfig& config) {
    return save(config, firstRunFlag_);
}

FileStatus ConfigFile::save(const DeviceConfig& config, Byte flag) {
    if (!files_->exists(path_)) {
        return FileError{FileError::Kind::Missing, path_};
    }
    if (!program_.empty() && SameFile(path_, program_)) {
        return FileError{FileError::Kind::Refused, path_};
    }
    std::array<std::uint8_t, kConfigFileSize> bytes{};
    bytes[0] = flag;
    std::memcpy(bytes.data() + 1, config.bytes().data(), kDeviceConfigSize);
    if (auto error = files_->writeAtomically(path_, bytes)) {
        return error;
    }
    firstRunFlag_ = flag;
    return std::nullopt;
}

} // namespace quorvel
