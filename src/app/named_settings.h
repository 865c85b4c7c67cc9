#pragma once

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

#include "config/device_config.h"
#include "config/str_ini.h"
#include "lang/language.h"

namespace quorvel {

// What a setting's text depends on besides the record: the DPI values are
// those of the mouse's sensor, and a macro is named by its place in
// record.ini.
struct SettingContext {
    std::optional<Byte> sensorType;      // nothing: the sensor is not known
    std::vector<std::string> macroNames; // record.ini's macros in file order
};

// The bits of the record one setting owns: (offset, mask) pairs.
using SettingBits = std::vector<std::pair<int, Byte>>;

// A change made by name, as the window's controls make it: the record and,
// for the buttons, their labels in each language str.ini keeps labels for
// (a language without labels stays without).
struct SettingEdit {
    DeviceConfig config;
    std::array<std::optional<ButtonLabels>, kLanguageCount> labels;
    bool labelsChanged = false;
};

// One setting of the window by a name for scripts and profiles.
//
// `read` gives the setting's text as the window shows it (English); nothing
// when the bytes hold no value the window offers. `encode` writes the bits
// of a text into a record and nothing else, without the window's rules
// between settings: a profile puts back any record. `set` changes the
// setting as the window's control does, with its rules, and says why it
// refused.
struct NamedSetting {
    std::string name;
    std::string values; // what the setting takes, for --help and the manual
    std::function<std::optional<std::string>(const DeviceConfig&, const SettingContext&)> read;
    // The bits written, or why the text is no value of the setting.
    std::function<std::variant<SettingBits, std::string>(std::string_view, const SettingContext&,
                                                         DeviceConfig&)>
        encode;
    // Empty: the setting has no rule beyond its values, and set encodes.
    std::function<std::optional<std::string>(SettingEdit&, std::string_view, const SettingContext&)> set;
};

// Every named setting, in the order `show` lists them; the macros' loop
// counts follow the context's macro names.
std::vector<NamedSetting> NamedSettings(const SettingContext& context);

// The setting named `name` (exact), or nothing.
std::optional<NamedSetting> FindNamedSetting(const SettingContext& context, std::string_view name);

// Changes the setting by the window's rules; the refusal when there is one
// (the edit is then unchanged).
std::optional<std::string> SetNamedSetting(const NamedSetting& setting, SettingEdit& edit,
                                           std::string_view text, const SettingContext& context);

// The setting's text, when writing it back gives the very bits it read:
// only then may a profile carry the bits by name.
std::optional<std::string> ExactText(const NamedSetting& setting, const DeviceConfig& config,
                                     const SettingContext& context);

} // namespace quorvel
