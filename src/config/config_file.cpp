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

ConfigFile::ConfigFile(FileSystem& files, MessagePort& messages, std::filesystem::path path,
                       std::filesystem::path program)
    : files_(&files), messages_(&messages), path_(std::move(path)), program_(std::move(program)) {
}

LoadResult ConfigFile::LoadConfig(DeviceConfig& config) {
    if (!files_->exists(path_)) {
        messages_->showMessage(kConfigMissingText, kApplicationTitle);
        return LoadResult::Missing;
    }
    const auto content = files_->readAll(path_);
    if (!content || content->size() != kConfigFileSize) {
        return LoadResult::Unusable;
    }
    firstRunFlag_ = static_cast<Byte>((*content)[0]);
    std::memcpy(config.bytes().data(), content->data() + 1, kDeviceConfigSize);
    return LoadResult::Loaded;
}

SaveResult ConfigFile::SaveConfig(const DeviceConfig& config) {
    if (!files_->exists(path_)) {
        messages_->showMessage(kConfigMissingText, kApplicationTitle);
        return SaveResult::Missing;
    }
    if (!program_.empty() && SameFile(path_, program_)) {
        return SaveResult::Refused;
    }
    std::array<std::uint8_t, kConfigFileSize> bytes{};
    bytes[0] = 1;
    std::memcpy(bytes.data() + 1, config.bytes().data(), kDeviceConfigSize);
    const int error = files_->writeAtomically(path_, bytes);
    if (error != 0) {
        messages_->showMessage("Error Code is: " + std::to_string(error) + " \n", kConfigWriteErrorTitle);
        return SaveResult::WriteFailed;
    }
    firstRunFlag_ = 1;
    return SaveResult::Saved;
}

} // namespace quorvel
