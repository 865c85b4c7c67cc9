#include "app/profile.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <map>
#include <memory>
#include <span>

#include "config/config_file.h"
#include "config/file_error_text.h"
#include "config/ini_file.h"
#include "lang/texts.h"
#include "macro/macro_library.h"
#include "macro/macro_table.h"

namespace quorvel {

namespace {

constexpr std::string_view kHeader = "quorvel-profile ";
constexpr std::string_view kEnd = "end";
constexpr std::string_view kFirstRun = "first-run";
constexpr std::string_view kSensorType = "sensor-type";
constexpr std::string_view kBytes = "bytes ";
constexpr std::string_view kLabel = "label.";
constexpr std::string_view kMacro = "macro";
constexpr std::string_view kEvent = "event";
constexpr std::size_t kBytesPerLine = 16;
constexpr std::array<std::string_view, kLanguageCount> kLanguageNames = {"en", "zh-cn", "zh-tw"};
constexpr std::array<std::string_view, 2> kModeLetters = {"A", "B"};

std::size_t At(int i) {
    return static_cast<std::size_t>(i);
}

std::optional<int> Number(std::string_view text, int base = 10) {
    int value = 0;
    const auto [next, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    if (text.empty() || error != std::errc{} || next != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
        text.remove_prefix(1);
    }
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) {
        text.remove_suffix(1);
    }
    return text;
}

std::string LabelName(Language language, int mode, int button) {
    return std::string(kLabel) + std::string(kLanguageNames[At(static_cast<int>(language))]) + "." +
           std::string(kModeLetters[At(mode)]) + "." + std::to_string(button + 1);
}

SettingContext ContextOf(const Profile& profile) {
    SettingContext context{profile.sensorType, {}};
    for (const ProfileMacro& macro : profile.macros) {
        context.macroNames.push_back(macro.name);
    }
    return context;
}

// One "name = value" line of a profile.
struct Entry {
    int line = 0;
    std::string name;
    std::string value;
};

ProfileFault Fault(int line, std::string message) {
    return {line, std::move(message)};
}

// The hex bytes of a "bytes OFFSET = .." line into the record.
std::optional<std::string> TakeBytes(const Entry& entry, DeviceConfig& config,
                                     std::array<Byte, kDeviceConfigSize>& covered) {
    const std::optional<int> offset = Number(Trimmed(std::string_view(entry.name).substr(kBytes.size())));
    if (!offset || *offset < 0 || At(*offset) >= kDeviceConfigSize) {
        return "the offset is no number from 0 to " + std::to_string(kDeviceConfigSize - 1);
    }
    std::size_t at = At(*offset);
    std::string_view hex = entry.value;
    while (!(hex = Trimmed(hex)).empty()) {
        const std::optional<int> value = hex.size() >= 2 && (hex.size() == 2 || hex[2] == ' ')
                                             ? Number(hex.substr(0, 2), 16)
                                             : std::nullopt;
        if (!value) {
            return "'" + std::string(hex.substr(0, hex.find(' '))) + "' is no byte (two hex digits)";
        }
        if (at >= kDeviceConfigSize) {
            return std::string("the bytes run past the end of the record");
        }
        if (covered[at] != 0) {
            return "byte " + std::to_string(at) + " is given twice";
        }
        config.bytes()[at] = static_cast<Byte>(*value);
        covered[at] = 0xFF;
        ++at;
        hex.remove_prefix(2);
    }
    return std::nullopt;
}

// A label line: "label.LANGUAGE.MODE.BUTTON".
std::optional<std::string> TakeLabel(const Entry& entry, Profile& profile) {
    for (int l = 0; l < kLanguageCount; ++l) {
        for (int mode = 0; mode < 2; ++mode) {
            for (int button = 0; button < kButtonCount; ++button) {
                if (entry.name != LabelName(static_cast<Language>(l), mode, button)) {
                    continue;
                }
                auto& labels = profile.labels[At(l)];
                if (!labels) {
                    labels.emplace();
                }
                (*labels)[At(mode)][At(button)] = entry.value;
                return std::nullopt;
            }
        }
    }
    return "'" + entry.name + "' is no button label (label.en.A.1 .. label.zh-tw.B.12)";
}

std::string MacroNameFaultText(MacroNameFault fault) {
    switch (fault) {
    case MacroNameFault::None:
        break;
    case MacroNameFault::Blank:
        return std::string(Text(Language::kEnglish, TextId::kMacroNameIsBlank));
    case MacroNameFault::BlankAtEnd:
    case MacroNameFault::Bracket:
    case MacroNameFault::ControlCharacter:
    case MacroNameFault::InvalidUtf8:
        return std::string(Text(Language::kEnglish, TextId::kMacroNameNotStorable));
    }
    return {};
}

std::string MacroLineFaultText(MacroLineFault fault) {
    switch (fault) {
    case MacroLineFault::None:
        break;
    case MacroLineFault::NotAnEvent:
        return "is no event (KEY   Dn, KEY   Up) or pause (N ms)";
    case MacroLineFault::PauseTooLong:
        return "pauses longer than " + std::to_string(kLongestPause) + " ms";
    case MacroLineFault::KeyNameNotValid:
        return "has no valid key name";
    }
    return {};
}

std::optional<std::string> TakeMacro(const Entry& entry, Profile& profile) {
    if (entry.name == kMacro) {
        if (const MacroNameFault fault = CheckMacroName(entry.value); fault != MacroNameFault::None) {
            return "'" + entry.value + "': " + MacroNameFaultText(fault);
        }
        if (profile.macros.size() >= At(kMacroCountLimit)) {
            return std::string(kMacroNumbersUpTo12);
        }
        if (std::any_of(profile.macros.begin(), profile.macros.end(),
                        [&](const ProfileMacro& macro) { return SameIniName(macro.name, entry.value); })) {
            return "'" + entry.value +
                   "': " + std::string(Text(Language::kEnglish, TextId::kMacroNameAlreadyExists));
        }
        profile.macros.push_back({entry.value, {}});
        return std::nullopt;
    }
    if (profile.macros.empty()) {
        return std::string("an event before the first 'macro = NAME' line");
    }
    if (const MacroLineFault fault = CheckMacroLine(entry.value); fault != MacroLineFault::None) {
        return "'" + entry.value + "' " + MacroLineFaultText(fault);
    }
    profile.macros.back().events.push_back(entry.value);
    return std::nullopt;
}

std::string Hex(std::span<const Byte> bytes) {
    std::string text;
    for (const Byte byte : bytes) {
        char two[4];
        std::snprintf(two, sizeof two, "%02x", byte);
        text += (text.empty() ? "" : " ") + std::string(two);
    }
    return text;
}

std::optional<std::string> ReadError(const FileError& error) {
    if (error.kind == FileError::Kind::Missing) {
        return std::nullopt;
    }
    return FileErrorText(error, Language::kEnglish);
}

FileStatus WriteText(FileSystem& files, const std::filesystem::path& path, const std::string& text) {
    return files.writeAtomically(path,
                                 std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
}

} // namespace

std::string_view ProfileLanguageName(Language language) {
    return kLanguageNames.at(At(static_cast<int>(language)));
}

std::string WriteProfile(const Profile& profile) {
    std::string text = std::string(kHeader) + std::to_string(kProfileFormat) + "\n";
    text += "# Quorvel settings: config.bin by name where the window has names, the rest as\n"
            "# \"bytes OFFSET = ..\" of the record; the button labels; the macros of record.ini.\n";
    text += std::string(kFirstRun) + " = " + std::to_string(profile.firstRunFlag) + "\n";
    if (profile.sensorType) {
        text += std::string(kSensorType) + " = " + std::to_string(*profile.sensorType) + "\n";
    }
    const SettingContext context = ContextOf(profile);
    std::array<Byte, kDeviceConfigSize> covered{};
    for (const NamedSetting& setting : NamedSettings(context)) {
        const std::optional<std::string> value = ExactText(setting, profile.config, context);
        if (!value) {
            continue;
        }
        text += setting.name + " = " + *value + "\n";
        DeviceConfig scratch = profile.config;
        const auto bits = setting.encode(*value, context, scratch);
        for (const auto& [offset, mask] : std::get<SettingBits>(bits)) {
            covered[At(offset)] |= mask;
        }
    }
    const auto bytes = profile.config.bytes();
    for (std::size_t at = 0; at < kDeviceConfigSize;) {
        if (covered[at] == 0xFF) {
            ++at;
            continue;
        }
        std::size_t end = at;
        while (end < kDeviceConfigSize && covered[end] != 0xFF && end - at < kBytesPerLine) {
            ++end;
        }
        text += std::string(kBytes) + std::to_string(at) + " = " + Hex(bytes.subspan(at, end - at)) + "\n";
        at = end;
    }
    for (int l = 0; l < kLanguageCount; ++l) {
        if (!profile.labels[At(l)]) {
            continue;
        }
        for (int mode = 0; mode < 2; ++mode) {
            for (int button = 0; button < kButtonCount; ++button) {
                text += LabelName(static_cast<Language>(l), mode, button) + " = " +
                        (*profile.labels[At(l)])[At(mode)][At(button)] + "\n";
            }
        }
    }
    for (const ProfileMacro& macro : profile.macros) {
        text += std::string(kMacro) + " = " + macro.name + "\n";
        for (const std::string& event : macro.events) {
            text += std::string(kEvent) + " = " + event + "\n";
        }
    }
    return text + std::string(kEnd) + "\n";
}

std::variant<Profile, ProfileFault> ReadProfile(std::string_view text) {
    Profile profile;
    std::vector<Entry> settings;
    std::map<std::string, int> seen;
    std::array<Byte, kDeviceConfigSize> covered{};
    bool firstRunGiven = false;
    int number = 0;
    int endLine = 0;
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        std::string_view line = text.substr(start, end - start);
        start = end + 1;
        ++number;
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        if (number == 1) {
            if (line.starts_with("\xEF\xBB\xBF")) {
                line.remove_prefix(3);
            }
            const std::optional<int> format =
                line.starts_with(kHeader) ? Number(line.substr(kHeader.size())) : std::nullopt;
            if (!format) {
                return Fault(number,
                             "not a Quorvel profile (it begins with '" + std::string(kHeader) + "N')");
            }
            if (*format != kProfileFormat) {
                return Fault(number, "a profile of format " + std::to_string(*format) +
                                         "; this program reads format " + std::to_string(kProfileFormat));
            }
            continue;
        }
        if (Trimmed(line).empty() || line.starts_with("#")) {
            continue;
        }
        if (endLine != 0) {
            return Fault(number, "a line after the 'end' line");
        }
        if (Trimmed(line) == kEnd) {
            endLine = number;
            continue;
        }
        const std::size_t equals = line.find('=');
        if (equals == std::string_view::npos) {
            return Fault(number, "'" + std::string(line) + "' is no 'name = value' line");
        }
        Entry entry{number, std::string(Trimmed(line.substr(0, equals))),
                    std::string(Trimmed(line.substr(equals + 1)))};
        std::optional<std::string> fault;
        if (entry.name.starts_with(kBytes)) {
            fault = TakeBytes(entry, profile.config, covered);
        } else if (entry.name.starts_with(kLabel)) {
            fault = TakeLabel(entry, profile);
        } else if (entry.name == kMacro || entry.name == kEvent) {
            fault = TakeMacro(entry, profile);
        } else if (entry.name == kFirstRun || entry.name == kSensorType) {
            const int highest = entry.name == kFirstRun ? 1 : 255;
            const std::optional<int> value = Number(entry.value);
            if (!value || *value < 0 || *value > highest) {
                fault = entry.name + " is a number from 0 to " + std::to_string(highest);
            } else if (entry.name == kFirstRun) {
                profile.firstRunFlag = static_cast<Byte>(*value);
                firstRunGiven = true;
            } else {
                profile.sensorType = static_cast<Byte>(*value);
            }
        } else if (!seen.emplace(entry.name, number).second) {
            fault = "'" + entry.name + "' is given twice";
        } else {
            settings.push_back(std::move(entry));
        }
        if (fault) {
            return Fault(number, *fault);
        }
    }
    if (number == 0) {
        return Fault(1, "an empty file is no profile");
    }
    if (endLine == 0) {
        return Fault(number, "the profile ends early: its last line is not 'end'");
    }
    if (!firstRunGiven) {
        return Fault(endLine, "the profile gives no first-run line");
    }
    // The settings after the rest: a DPI needs the sensor, a macro its name.
    const SettingContext context = ContextOf(profile);
    for (const Entry& entry : settings) {
        const std::optional<NamedSetting> setting = FindNamedSetting(context, entry.name);
        if (!setting) {
            return Fault(entry.line, "'" + entry.name + "' is no setting");
        }
        const auto bits = setting->encode(entry.value, context, profile.config);
        if (const auto* refused = std::get_if<std::string>(&bits)) {
            return Fault(entry.line, entry.name + ": " + *refused);
        }
        for (const auto& [offset, mask] : std::get<SettingBits>(bits)) {
            covered[At(offset)] |= mask;
        }
    }
    const auto missing = std::find_if(covered.begin(), covered.end(), [](Byte mask) { return mask != 0xFF; });
    if (missing != covered.end()) {
        return Fault(endLine, "the profile does not give byte " + std::to_string(missing - covered.begin()) +
                                  " of the record");
    }
    return profile;
}

std::variant<Profile, std::string> ReadDataFolderProfile(FileSystem& files, const DataPaths& paths,
                                                         std::optional<Byte> sensorType) {
    Profile profile;
    profile.sensorType = sensorType;
    ConfigFile configFile(files, paths.configBin, paths.program);
    if (const FileStatus error = configFile.LoadConfig(profile.config)) {
        return error->kind == FileError::Kind::Missing
                   ? Utf8FromPath(error->path) + ": " + std::string(kConfigMissingText)
                   : FileErrorText(*error, Language::kEnglish);
    }
    profile.firstRunFlag = configFile.firstRunFlag();

    const FileResult<IniDocument> strIni = IniFile(files, paths.strIni).read();
    if (!strIni) {
        if (auto failed = ReadError(strIni.error())) {
            return *failed;
        }
    } else {
        const std::vector<std::string> sections = strIni->sectionNames();
        for (int l = 0; l < kLanguageCount; ++l) {
            const std::string_view section = SectionName(static_cast<Language>(l));
            if (std::none_of(sections.begin(), sections.end(),
                             [&](const std::string& name) { return SameIniName(name, section); })) {
                continue;
            }
            ButtonLabels& labels = profile.labels[At(l)].emplace();
            for (int mode = 0; mode < 2; ++mode) {
                for (int button = 0; button < kButtonCount; ++button) {
                    labels[At(mode)][At(button)] = strIni->getString(section, LabelKey(mode, button));
                }
            }
        }
    }

    const FileResult<IniDocument> recordIni = IniFile(files, paths.recordIni).read();
    if (!recordIni) {
        if (auto failed = ReadError(recordIni.error())) {
            return *failed;
        }
    } else {
        for (const std::string& name : recordIni->sectionNames()) {
            profile.macros.push_back({name, ReadMacroEvents(*recordIni, name)});
        }
    }
    return profile;
}

std::optional<std::string> WriteDataFolderProfile(FileSystem& files, const DataPaths& paths,
                                                  const Profile& profile) {
    if (paths.configBin == paths.program) {
        return Utf8FromPath(paths.configBin) + ": is the program itself";
    }
    // What is there now, to put back when a later file cannot be written.
    struct Written {
        std::filesystem::path path;
        std::optional<std::string> before;
        std::string after;
    };
    std::vector<Written> writes;
    for (const std::filesystem::path* path : {&paths.recordIni, &paths.configBin, &paths.strIni}) {
        FileResult<std::string> content = files.readAll(*path);
        if (!content) {
            if (auto failed = ReadError(content.error())) {
                return *failed;
            }
            writes.push_back({*path, std::nullopt, {}});
        } else {
            writes.push_back({*path, std::move(*content), {}});
        }
    }

    IniDocument record;
    for (const ProfileMacro& macro : profile.macros) {
        std::vector<IniEntry> entries{{"ItemCount", std::to_string(macro.events.size())}};
        for (std::size_t i = 0; i < macro.events.size(); ++i) {
            entries.push_back({"Item" + std::to_string(i), macro.events[i]});
        }
        if (!record.replaceSection(macro.name, entries)) {
            return "'" + macro.name +
                   "': " + std::string(Text(Language::kEnglish, TextId::kMacroNameNotStorable));
        }
    }
    writes[0].after = record.text();

    const auto bytes = profile.config.bytes();
    writes[1].after =
        std::string(1, static_cast<char>(profile.firstRunFlag)) + std::string(bytes.begin(), bytes.end());

    IniDocument labels(writes[2].before.value_or(std::string()));
    for (int l = 0; l < kLanguageCount; ++l) {
        if (!profile.labels[At(l)]) {
            continue;
        }
        for (int mode = 0; mode < 2; ++mode) {
            for (int button = 0; button < kButtonCount; ++button) {
                if (!labels.setEntry(SectionName(static_cast<Language>(l)), LabelKey(mode, button),
                                     (*profile.labels[At(l)])[At(mode)][At(button)])) {
                    return LabelName(static_cast<Language>(l), mode, button) +
                           ": str.ini cannot hold this label";
                }
            }
        }
    }
    writes[2].after = labels.text();

    for (std::size_t i = 0; i < writes.size(); ++i) {
        if (const FileStatus error = WriteText(files, writes[i].path, writes[i].after)) {
            for (std::size_t back = 0; back < i; ++back) {
                WriteText(files, writes[back].path, writes[back].before.value_or(std::string()));
            }
            return FileErrorText(*error, Language::kEnglish);
        }
    }
    return std::nullopt;
}

} // namespace quorvel
