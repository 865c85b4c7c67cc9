#include "settings_command.h"

#include <algorithm>
#include <cstdlib>
#include <istream>
#include <memory>
#include <ostream>
#include <span>
#include <string>
#include <variant>

#include "app/named_settings.h"
#include "app/profile.h"
#include "config/config_file.h"
#include "config/file_error_text.h"
#include "config/ini_file.h"
#include "lang/texts.h"
#include "macro/macro_library.h"
#include "macro_command.h"

namespace quorvel::ctl {

namespace {

constexpr int kExitFailure = 1;
constexpr std::string_view kSensorUnknown =
    "the DPI values depend on the mouse's sensor: connect the mouse or give --sensor-type N";

using Failure = std::string;

// The data folder as the window would edit it: the record, the labels of
// each language str.ini keeps, the macro names.
struct Folder {
    Profile profile;
    SettingContext context;
};

std::variant<Folder, Failure> ReadFolder(FileSystem& files, const DataPaths& paths,
                                         std::optional<Byte> sensor) {
    auto read = ReadDataFolderProfile(files, paths, sensor);
    if (auto* failed = std::get_if<std::string>(&read)) {
        return *failed;
    }
    Folder folder{std::move(std::get<Profile>(read)), {}};
    folder.context.sensorType = sensor;
    for (const ProfileMacro& macro : folder.profile.macros) {
        folder.context.macroNames.push_back(macro.name);
    }
    return folder;
}

bool IsDpiValue(std::string_view name) {
    return name.starts_with("dpi.") && name.find('.', 4) == std::string_view::npos;
}

std::optional<Failure> Show(const Folder& folder, std::ostream& out) {
    bool unknown = false;
    for (const NamedSetting& setting : NamedSettings(folder.context)) {
        const std::optional<std::string> value = setting.read(folder.profile.config, folder.context);
        unknown = unknown || !value;
        out << setting.name << " = " << value.value_or("?") << '\n';
    }
    for (int l = 0; l < kLanguageCount; ++l) {
        const auto& labels = folder.profile.labels[static_cast<std::size_t>(l)];
        if (!labels) {
            continue;
        }
        const std::string prefix =
            "label." + std::string(ProfileLanguageName(static_cast<Language>(l))) + ".";
        for (int mode = 0; mode < 2; ++mode) {
            for (int button = 0; button < kButtonCount; ++button) {
                out << prefix << (mode == 0 ? "A." : "B.") << button + 1 << " = "
                    << (*labels)[static_cast<std::size_t>(mode)][static_cast<std::size_t>(button)] << '\n';
            }
        }
    }
    if (unknown) {
        out << "# ?: the bytes hold no value the window shows"
            << (folder.context.sensorType ? "" : " (a DPI: the sensor is not known, give --sensor-type N)")
            << '\n';
    }
    return std::nullopt;
}

std::optional<Failure> Get(const SettingsCommand& command, const Folder& folder, std::ostream& out) {
    const std::optional<NamedSetting> setting = FindNamedSetting(folder.context, command.name);
    if (!setting) {
        return "'" + command.name + "' is no setting (see quorvelctl --help)";
    }
    if (IsDpiValue(command.name) && !folder.context.sensorType) {
        return command.name + ": " + std::string(kSensorUnknown);
    }
    const std::optional<std::string> value = setting->read(folder.profile.config, folder.context);
    if (!value) {
        return command.name + ": config.bin holds no value the window shows here";
    }
    out << *value << '\n';
    return std::nullopt;
}

FileStatus SaveLabels(FileSystem& files, const DataPaths& paths, const SettingEdit& edit) {
    IniFile file(files, paths.strIni);
    FileResult<IniDocument> document = file.read();
    if (!document) {
        return document.error();
    }
    for (int l = 0; l < kLanguageCount; ++l) {
        const auto& labels = edit.labels[static_cast<std::size_t>(l)];
        if (!labels) {
            continue;
        }
        for (int mode = 0; mode < 2; ++mode) {
            for (int button = 0; button < kButtonCount; ++button) {
                document->setEntry(
                    SectionName(static_cast<Language>(l)), LabelKey(mode, button),
                    (*labels)[static_cast<std::size_t>(mode)][static_cast<std::size_t>(button)]);
            }
        }
    }
    return file.write(*document);
}

std::optional<Failure> Set(const SettingsCommand& command, const DataPaths& paths, FileSystem& files,
                           const SensorTypeSource& sensorType) {
    // Held to the end: the window and other writers wait for it.
    const std::unique_ptr<FolderLock> lock = LockDataFolder(files, paths);
    std::optional<Byte> sensor;
    if (IsDpiValue(command.name)) {
        sensor = sensorType();
        if (!sensor) {
            return command.name + ": " + std::string(kSensorUnknown);
        }
    }
    auto read = ReadFolder(files, paths, sensor);
    if (auto* failed = std::get_if<Failure>(&read)) {
        return *failed;
    }
    const Folder& folder = std::get<Folder>(read);
    const std::optional<NamedSetting> setting = FindNamedSetting(folder.context, command.name);
    if (!setting) {
        return "'" + command.name + "' is no setting (see quorvelctl --help)";
    }
    SettingEdit edit{folder.profile.config, folder.profile.labels, false};
    if (const auto refused = SetNamedSetting(*setting, edit, command.value, folder.context)) {
        return command.name + ": " + *refused;
    }
    ConfigFile configFile(files, paths.configBin, paths.program);
    DeviceConfig loaded = zeroDeviceConfig();
    configFile.LoadConfig(loaded);
    if (const FileStatus error = configFile.SaveRecord(edit.config)) {
        return FileErrorText(*error, Language::kEnglish);
    }
    if (edit.labelsChanged) {
        if (const FileStatus error = SaveLabels(files, paths, edit)) {
            configFile.SaveRecord(folder.profile.config);
            return FileErrorText(*error, Language::kEnglish);
        }
    }
    return std::nullopt;
}

std::optional<Failure> Export(const SettingsCommand& command, const Folder& folder, FileSystem& files,
                              std::ostream& out) {
    const std::string text = WriteProfile(folder.profile);
    if (command.file == "-") {
        out << text;
        return std::nullopt;
    }
    if (const FileStatus error = files.writeAtomically(
            command.file, std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()))) {
        return FileErrorText(*error, Language::kEnglish);
    }
    return std::nullopt;
}

std::optional<Failure> Import(const SettingsCommand& command, const DataPaths& paths, FileSystem& files,
                              std::istream& in) {
    std::string text;
    if (command.file == "-") {
        auto source = ReadSource(command.file, in);
        if (source.index() == 1) {
            return std::get<1>(source);
        }
        text = std::move(std::get<0>(source));
    } else {
        FileResult<std::string> content = files.readAll(command.file);
        if (!content) {
            return FileErrorText(content.error(), Language::kEnglish);
        }
        text = std::move(*content);
    }
    auto read = ReadProfile(text);
    if (const auto* fault = std::get_if<ProfileFault>(&read)) {
        return SourceName(command.file) + " line " + std::to_string(fault->line) + ": " + fault->message;
    }
    const std::unique_ptr<FolderLock> lock = LockDataFolder(files, paths);
    return WriteDataFolderProfile(files, paths, std::get<Profile>(read));
}

std::optional<Failure> Run(const SettingsCommand& command, const DataPaths& paths, FileSystem& files,
                           const SensorTypeSource& sensorType, std::istream& in, std::ostream& out) {
    using Kind = SettingsCommand::Kind;
    switch (command.kind) {
    case Kind::Set:
        return Set(command, paths, files, sensorType);
    case Kind::Import:
        return Import(command, paths, files, in);
    case Kind::Show:
    case Kind::Get:
    case Kind::Export:
        break;
    }
    const bool needsSensor = command.kind != Kind::Get || IsDpiValue(command.name);
    const std::optional<Byte> sensor = needsSensor ? sensorType() : std::nullopt;
    const std::unique_ptr<FolderLock> lock = LockDataFolder(files, paths);
    auto read = ReadFolder(files, paths, sensor);
    if (auto* failed = std::get_if<Failure>(&read)) {
        return *failed;
    }
    const Folder& folder = std::get<Folder>(read);
    if (command.kind == Kind::Show) {
        return Show(folder, out);
    }
    if (command.kind == Kind::Get) {
        return Get(command, folder, out);
    }
    return Export(command, folder, files, out);
}

} // namespace

int RunSettingsCommand(const SettingsCommand& command, const DataPaths& paths, FileSystem& files,
                       const SensorTypeSource& sensorType, std::istream& in, std::ostream& out,
                       std::ostream& err) {
    if (const auto failed = Run(command, paths, files, sensorType, in, out)) {
        err << "quorvelctl: " << *failed << '\n';
        return kExitFailure;
    }
    return EXIT_SUCCESS;
}

} // namespace quorvel::ctl
