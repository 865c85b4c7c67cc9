#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "app/named_settings.h"
#include "config/data_folder.h"
#include "config/device_config.h"
#include "config/str_ini.h"
#include "ports/file_system.h"

namespace quorvel {

// The format a profile is written in; a reader refuses a newer one.
inline constexpr int kProfileFormat = 1;

struct ProfileMacro {
    std::string name;
    std::vector<std::string> events;
    bool operator==(const ProfileMacro&) const = default;
};

// Everything of a data folder that makes the user's setup: config.bin
// whole, the button labels of each language str.ini keeps, and record.ini's
// macros in file order. The skin choice is the machine's, not the setup's.
struct Profile {
    Byte firstRunFlag = 0;
    DeviceConfig config = zeroDeviceConfig();
    std::array<std::optional<ButtonLabels>, kLanguageCount> labels;
    std::vector<ProfileMacro> macros;
    // The sensor whose DPI list the DPI stages are written in; without it
    // they are written as bytes.
    std::optional<Byte> sensorType;
};

// The profile as text: a version line, the settings by name where the
// window has a name for their bytes, the other bytes of the record as hex
// lines with their offsets, the labels, the macros, and an end line.
std::string WriteProfile(const Profile& profile);

struct ProfileFault {
    int line = 0; // 1-based
    std::string message;
};

// Reads a whole profile and checks every line; the first fault otherwise.
std::variant<Profile, ProfileFault> ReadProfile(std::string_view text);

// The data folder as a profile; the message when a file cannot be read.
// The caller holds the folder's lock.
std::variant<Profile, std::string> ReadDataFolderProfile(FileSystem& files, const DataPaths& paths,
                                                         std::optional<Byte> sensorType);

// Writes config.bin, the labels into str.ini (its other sections stay) and
// record.ini, each file atomically; when a later file cannot be written, the
// earlier ones are put back. The message when nothing was changed. The
// caller holds the folder's lock.
std::optional<std::string> WriteDataFolderProfile(FileSystem& files, const DataPaths& paths,
                                                  const Profile& profile);

// The names of the languages' labels in a profile ("en", "zh-cn", "zh-tw").
std::string_view ProfileLanguageName(Language language);

} // namespace quorvel
