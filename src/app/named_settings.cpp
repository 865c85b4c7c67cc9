#include "app/named_settings.h"

#include <algorithm>
#include <charconv>
#include <cstdio>

#include "app/dpi_controls.h"
#include "app/dpi_levels.h"
#include "app/lighting_controls.h"
#include "assign/button_assignment.h"
#include "assign/dialog_lists.h"
#include "assign/function_list.h"
#include "assign/key_codes.h"
#include "config/ini_file.h"
#include "dialogs/fire_key_dialog.h"
#include "lang/texts.h"
#include "macro/macro_editing.h"
#include "macro/macro_table.h"

namespace quorvel {

namespace {

using Encoded = std::variant<SettingBits, std::string>;
constexpr Language kNames = Language::kEnglish; // the language of the names and values
constexpr std::string_view kOn = "on";
constexpr std::string_view kOff = "off";
constexpr int kRepeatModeCount = 3;

std::size_t At(int i) {
    return static_cast<std::size_t>(i);
}

int Offset(const DeviceConfig& config, const void* field) {
    return static_cast<int>(static_cast<const Byte*>(field) - config.bytes().data());
}

Byte& ByteAt(DeviceConfig& config, int offset) {
    return config.bytes()[At(offset)];
}

std::optional<int> Number(std::string_view text) {
    int value = 0;
    const auto [next, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc{} || next != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

std::string Quoted(std::string_view text) {
    return "'" + std::string(text) + "'";
}

// A setting of one whole byte whose values are a list of texts, the
// position in the list (plus `first`) being the byte.
NamedSetting ListByte(std::string name, int offset, std::function<std::vector<std::string>()> texts,
                      int first = 0) {
    std::string values;
    for (const std::string& text : texts()) {
        values += (values.empty() ? "" : ", ") + text;
    }
    NamedSetting setting{std::move(name), values, nullptr, nullptr, nullptr};
    setting.read = [offset, texts, first](const DeviceConfig& config,
                                          const SettingContext&) -> std::optional<std::string> {
        const std::vector<std::string> list = texts();
        const int index = config.bytes()[At(offset)] - first;
        if (index < 0 || At(index) >= list.size()) {
            return std::nullopt;
        }
        return list[At(index)];
    };
    setting.encode = [offset, texts, first, values](std::string_view text, const SettingContext&,
                                                    DeviceConfig& config) -> Encoded {
        const std::vector<std::string> list = texts();
        const auto found = std::find(list.begin(), list.end(), text);
        if (found == list.end()) {
            return Quoted(text) + " is not one of " + values;
        }
        ByteAt(config, offset) = static_cast<Byte>(first + (found - list.begin()));
        return SettingBits{{offset, 0xFF}};
    };
    return setting;
}

std::vector<std::string> Strings(std::span<const std::string_view> texts) {
    return {texts.begin(), texts.end()};
}

// One bit of the record: "on" or "off".
NamedSetting Switch(std::string name, int offset, Byte mask) {
    NamedSetting setting{std::move(name), "on, off", nullptr, nullptr, nullptr};
    setting.read = [offset, mask](const DeviceConfig& config,
                                  const SettingContext&) -> std::optional<std::string> {
        return std::string((config.bytes()[At(offset)] & mask) != 0 ? kOn : kOff);
    };
    setting.encode = [offset, mask](std::string_view text, const SettingContext&,
                                    DeviceConfig& config) -> Encoded {
        if (text != kOn && text != kOff) {
            return Quoted(text) + " is neither on nor off";
        }
        Byte& byte = ByteAt(config, offset);
        byte = static_cast<Byte>(text == kOn ? (byte | mask) : (byte & ~mask));
        return SettingBits{{offset, mask}};
    };
    return setting;
}

// A flag byte of 0 or 1.
NamedSetting Flag(std::string name, int offset) {
    NamedSetting setting = Switch(std::move(name), offset, 0xFF);
    const auto encode = setting.encode;
    setting.read = [offset](const DeviceConfig& config, const SettingContext&) -> std::optional<std::string> {
        const Byte byte = config.bytes()[At(offset)];
        if (byte > 1) {
            return std::nullopt;
        }
        return std::string(byte == 1 ? kOn : kOff);
    };
    setting.encode = [offset, encode](std::string_view text, const SettingContext& context,
                                      DeviceConfig& config) -> Encoded {
        Encoded bits = encode(text, context, config);
        if (std::holds_alternative<SettingBits>(bits)) {
            ByteAt(config, offset) = text == kOn ? 1 : 0;
        }
        return bits;
    };
    return setting;
}

// A byte holding a number from `low` to `high`.
NamedSetting Range(std::string name, int offset, int low, int high) {
    std::vector<std::string> texts;
    for (int value = low; value <= high; ++value) {
        texts.push_back(std::to_string(value));
    }
    NamedSetting setting = ListByte(
        std::move(name), offset, [texts] { return texts; }, low);
    setting.values = std::to_string(low) + "-" + std::to_string(high);
    return setting;
}

std::string ReportRateText(int segment) {
    return std::to_string(1000 / ReportRateOfSegment(segment));
}

NamedSetting ReportRate(const DeviceConfig& layout) {
    NamedSetting setting{"report-rate", "125, 250, 500, 1000 (Hz)", nullptr, nullptr, nullptr};
    const int offset = Offset(layout, &layout.reportRate);
    setting.read = [](const DeviceConfig& config, const SettingContext&) -> std::optional<std::string> {
        const std::optional<int> segment = SegmentOfReportRate(config.reportRate);
        if (!segment) {
            return std::nullopt;
        }
        return ReportRateText(*segment);
    };
    setting.encode = [offset](std::string_view text, const SettingContext&, DeviceConfig& config) -> Encoded {
        for (int segment = 0; segment < 4; ++segment) {
            if (text == ReportRateText(segment)) {
                config.reportRate = ReportRateOfSegment(segment);
                return SettingBits{{offset, 0xFF}};
            }
        }
        return Quoted(text) + " is no report rate (125, 250, 500 or 1000)";
    };
    return setting;
}

NamedSetting DpiValue(const DeviceConfig& layout, int stage) {
    NamedSetting setting{"dpi." + std::to_string(stage + 1), "a DPI of the sensor's list", nullptr, nullptr,
                         nullptr};
    const int offset = Offset(layout, &layout.dpiValueIndex[At(stage)]);
    setting.read = [stage](const DeviceConfig& config,
                           const SettingContext& context) -> std::optional<std::string> {
        if (!context.sensorType) {
            return std::nullopt;
        }
        const std::string_view label = DpiLabel(*context.sensorType, config.dpiValueIndex[At(stage)]);
        if (label.empty()) {
            return std::nullopt;
        }
        return std::string(label);
    };
    setting.encode = [stage, offset](std::string_view text, const SettingContext& context,
                                     DeviceConfig& config) -> Encoded {
        if (!context.sensorType) {
            return std::string("the DPI values depend on the mouse's sensor, which is not known");
        }
        const auto scale = DpiScale(*context.sensorType);
        std::string values;
        for (std::size_t index = 0; index < scale.size(); ++index) {
            if (scale[index] == text && !DpiLabel(*context.sensorType, static_cast<int>(index)).empty()) {
                config.dpiValueIndex[At(stage)] = static_cast<Byte>(index);
                return SettingBits{{offset, 0xFF}};
            }
            values += (values.empty() ? "" : ", ") + std::string(scale[index]);
        }
        return Quoted(text) + " is not a DPI of this sensor (" + values + ")";
    };
    return setting;
}

NamedSetting DpiEnabled(const DeviceConfig& layout, int stage) {
    NamedSetting setting = Flag("dpi." + std::to_string(stage + 1) + ".enabled",
                                Offset(layout, &layout.dpiStageEnabled[At(stage)]));
    const auto encode = setting.encode;
    setting.set = [stage, encode](SettingEdit& edit, std::string_view text,
                                  const SettingContext& context) -> std::optional<std::string> {
        if (text == kOff && edit.config.dpiStageEnabled[At(stage)] != 0 &&
            !AnotherDpiStageEnabled(edit.config, stage)) {
            return std::string("the last enabled DPI stage stays enabled");
        }
        DeviceConfig changed = edit.config;
        Encoded bits = encode(text, context, changed);
        if (auto* refused = std::get_if<std::string>(&bits)) {
            return *refused;
        }
        edit.config = changed;
        return std::nullopt;
    };
    return setting;
}

NamedSetting DpiColourSwitch(const DeviceConfig& layout, int stage, int colourSwitch) {
    // Stage s owns a nibble: the low one of byte 2017 + s / 2 for even stages.
    const int offset = Offset(layout, &layout.dpiStageColourSwitches[At(stage / 2)]);
    const auto mask = static_cast<Byte>(1u << (colourSwitch + 4 * (stage % 2)));
    return Switch("dpi." + std::to_string(stage + 1) + ".colour." + std::to_string(colourSwitch + 1), offset,
                  mask);
}

// --- Buttons -------------------------------------------------------------

// The answers of the parameter dialogs, given in advance: a button set by
// name runs the very assignment a choice in the window runs.
struct ScriptedDialogs final : AssignmentDialogs {
    std::optional<ApplicationKeyChoice> application;
    std::optional<MediaKeyChoice> media;
    std::optional<FireKeyChoice> fire;
    std::optional<SingleKeyChoice> single;
    std::optional<ComboKeyChoice> combo;
    std::optional<MacroChoice> macro;

    std::optional<ApplicationKeyChoice> ChooseApplicationKey() override { return application; }
    std::optional<MediaKeyChoice> ChooseMediaKey() override { return media; }
    std::optional<FireKeyChoice> ChooseFireKey() override { return fire; }
    std::optional<SingleKeyChoice> ChooseSingleKey() override { return single; }
    std::optional<ComboKeyChoice> ChooseComboKey() override { return combo; }
    std::optional<MacroChoice> ChooseMacro() override { return macro; }

    // The dialogs' texts in `language`, for the label of that language.
    void Translate(Language language) {
        if (application) {
            application->text = ApplicationKeyText(language, application->position);
        }
        if (media) {
            media->text = MediaKeyText(language, media->position);
        }
    }
};

struct ButtonChoice {
    int function = kFnKeyOff;
    int dpiChoice = 0;
    ScriptedDialogs dialogs;
};

std::string_view FunctionName(int function) {
    return FunctionListText(kNames, function);
}

std::string_view ModifierNameOf(Byte bit) {
    for (const ModifierName& modifier : ModifierTable()) {
        if (modifier.bit == bit) {
            return modifier.name;
        }
    }
    return {};
}

constexpr std::string_view kSpeed = ", speed ";
constexpr std::string_view kTimes = ", times ";
constexpr std::string_view kRepeat = ", repeat ";

// The value of a button as its label in the window reads, with what the
// label leaves out (a fire key's speed and times, a macro's repeat mode).
std::optional<std::string> ButtonText(const ButtonSet& set, const std::array<Byte, kButtonCount>& dpiChoices,
                                      int button, const SettingContext& context) {
    const int function = set.field(kFieldFunction, button);
    const auto field = [&](int k) { return static_cast<int>(set.field(k, button)); };
    const auto prefixed = [&](std::string_view text) -> std::optional<std::string> {
        if (text.empty()) {
            return std::nullopt;
        }
        return PrefixedLabel(kNames, function, text);
    };
    switch (function) {
    case kFnDpiSwitch: {
        const std::string_view text = DpiSwitchText(dpiChoices[At(button)]);
        return text.empty() ? std::nullopt : std::optional<std::string>(text);
    }
    case kFnWindows: {
        const std::string_view text = ApplicationKeyText(kNames, field(kFieldApplicationPosition));
        return text.empty() ? std::nullopt : std::optional<std::string>(text);
    }
    case kFnMultimedia:
        return prefixed(MediaKeyText(kNames, field(kFieldMediaPosition)));
    case kFnFireKey: {
        auto text = prefixed(FireKeyText(field(kFieldFirePosition)));
        if (text) {
            *text += std::string(kSpeed) + std::to_string(field(kFieldFireSpeed)) + std::string(kTimes) +
                     std::to_string(field(kFieldFireTimes));
        }
        return text;
    }
    case kFnSingleKey:
        return prefixed(KeyNameFromCode(set.field(kFieldSingleKey, button)));
    case kFnComboKey: {
        const ComboKeyChoice combo{std::string(ModifierNameOf(set.field(kFieldComboModifiers, button))),
                                   std::string(KeyNameFromCode(set.field(kFieldComboFirstKey, button))),
                                   std::string(KeyNameFromCode(set.field(kFieldComboSecondKey, button)))};
        return prefixed(ComboKeyText(combo));
    }
    case kFnMacroKey: {
        const int position = field(kFieldMacroPosition);
        const int repeat = field(kFieldMacroRepeat) + 1;
        if (At(position) >= context.macroNames.size() || repeat > kRepeatModeCount) {
            return std::nullopt;
        }
        return *prefixed(context.macroNames[At(position)]) + std::string(kRepeat) + std::to_string(repeat);
    }
    default:
        break;
    }
    if (function >= kFunctionCount) {
        return std::nullopt;
    }
    return std::string(FunctionName(function));
}

// "TEXT, name N" at the end of `text`: the number, and the text before it.
std::optional<int> TakeNumber(std::string& text, std::string_view name) {
    const std::size_t at = text.rfind(name);
    if (at == std::string::npos) {
        return std::nullopt;
    }
    const std::optional<int> value = Number(std::string_view(text).substr(at + name.size()));
    if (value) {
        text.erase(at);
    }
    return value;
}

template <typename Entry, typename TextOf>
std::optional<int> PositionOf(std::span<const Entry> list, std::string_view text, TextOf textOf) {
    for (std::size_t position = 0; position < list.size(); ++position) {
        if (textOf(static_cast<int>(position)) == text) {
            return static_cast<int>(position);
        }
    }
    return std::nullopt;
}

std::variant<ButtonChoice, std::string> ParseButtonParameter(int function, std::string rest,
                                                             const SettingContext& context) {
    ButtonChoice choice;
    choice.function = function;
    ScriptedDialogs& dialogs = choice.dialogs;
    const std::string no = Quoted(rest) + " is no ";
    switch (function) {
    case kFnMultimedia: {
        const auto position = PositionOf(MediaKeyList(), rest, [](int p) { return MediaKeyText(kNames, p); });
        if (!position) {
            return no + "media key";
        }
        dialogs.media = MediaKeyChoice{*position, rest};
        return choice;
    }
    case kFnFireKey: {
        const int times = TakeNumber(rest, kTimes).value_or(kInitialFireTimes);
        const int speed = TakeNumber(rest, kSpeed).value_or(kInitialFireSpeed);
        const auto position = PositionOf(FireKeyList(), rest, FireKeyText);
        if (!position) {
            return no + "key of the fire-key list";
        }
        if (speed < kFastestFireSpeed || speed > kSlowestFireSpeed) {
            return "a fire key's speed is " + std::to_string(kFastestFireSpeed) + "-" +
                   std::to_string(kSlowestFireSpeed);
        }
        if (times < 0 || times > kMostFireTimes) {
            return "a fire key's times are 0-" + std::to_string(kMostFireTimes);
        }
        dialogs.fire = FireKeyChoice{*position, speed, times, rest};
        return choice;
    }
    case kFnSingleKey:
        if (KeyCodeFromName(rest) == 0) {
            return no + "key name";
        }
        dialogs.single = SingleKeyChoice{rest};
        return choice;
    case kFnComboKey: {
        std::vector<std::string> parts;
        for (std::size_t start = 0;;) {
            const std::size_t plus = rest.find('+', start + 1);
            parts.push_back(rest.substr(start, plus - start));
            if (plus == std::string::npos) {
                break;
            }
            start = plus + 1;
        }
        ComboKeyChoice combo;
        std::size_t next = 0;
        if (ModifierBitFromName(parts[0]) != 0) {
            combo.modifier = parts[next++];
        }
        for (std::string* key : {&combo.firstKey, &combo.secondKey}) {
            if (next < parts.size()) {
                *key = parts[next++];
                if (KeyCodeFromName(*key) == 0) {
                    return Quoted(*key) + " is no key name";
                }
            }
        }
        if (next != parts.size() || rest.empty()) {
            return no + "combination (a modifier and up to two keys, joined by +)";
        }
        dialogs.combo = combo;
        return choice;
    }
    case kFnMacroKey: {
        const int repeat = TakeNumber(rest, kRepeat).value_or(1);
        if (repeat < 1 || repeat > kRepeatModeCount) {
            return std::string("a macro's repeat mode is 1-3");
        }
        for (std::size_t position = 0; position < context.macroNames.size(); ++position) {
            if (SameIniName(context.macroNames[position], rest)) {
                dialogs.macro = MacroChoice{static_cast<int>(position), repeat, context.macroNames[position]};
                return choice;
            }
        }
        return "no macro named " + Quoted(rest);
    }
    default:
        return no + "parameter";
    }
}

std::variant<ButtonChoice, std::string> ParseButtonText(std::string_view text,
                                                        const SettingContext& context) {
    for (int choice = kDpiUp; choice <= kDpiLoop; ++choice) {
        if (text == DpiSwitchText(choice)) {
            return ButtonChoice{kFnDpiSwitch, choice, {}};
        }
    }
    if (const auto position =
            PositionOf(ApplicationKeyList(), text, [](int p) { return ApplicationKeyText(kNames, p); })) {
        ButtonChoice choice{kFnWindows, 0, {}};
        choice.dialogs.application = ApplicationKeyChoice{*position, std::string(text)};
        return choice;
    }
    for (int function = 0; function < kFunctionCount; ++function) {
        const std::string_view name = FunctionName(function);
        const bool parameters = !ButtonFieldGroup(function).empty();
        if (!parameters && function != kFnDpiSwitch && text == name) {
            return ButtonChoice{function, 0, {}};
        }
        // "Single Key-F5" as the label has it, or "Single Key F5".
        if (parameters && function != kFnWindows && text.size() > name.size() + 1 && text.starts_with(name) &&
            (text[name.size()] == '-' || text[name.size()] == ' ')) {
            return ParseButtonParameter(function, std::string(text.substr(name.size() + 1)), context);
        }
    }
    return Quoted(text) +
           " is no button function (Left Click, DPI +, Calculator, Single Key-F5, Combo Key-Left Ctrl+A, "
           "Fire Key-A, speed 32, times 1, Macro Key-Copy, repeat 1, ...)";
}

SettingBits ButtonBits(const DeviceConfig& layout, int mode, int button, int function) {
    const ButtonSet& set = layout.buttonSet(mode);
    SettingBits bits{{Offset(layout, &set.fields[kFieldFunction][At(button)]), 0xFF}};
    for (const int k : ButtonFieldGroup(function)) {
        bits.emplace_back(Offset(layout, &set.fields[At(k)][At(button)]), 0xFF);
    }
    if (function == kFnDpiSwitch) {
        bits.emplace_back(Offset(layout, &layout.dpiSwitchChoice(mode)[At(button)]), 0xFF);
    }
    return bits;
}

// Runs the window's assignment of the choice; the labels of `language`.
AssignOutcome Assign(DeviceConfig& config, ButtonLabels& labels, Language language, int mode, int button,
                     ButtonChoice choice) {
    choice.dialogs.Translate(language);
    ButtonAssignment assignment(config, labels, language, choice.dialogs);
    if (choice.function == kFnDpiSwitch) {
        return assignment.ChooseDpiSwitch(button, mode, choice.dpiChoice);
    }
    return assignment.AssignButtonFunction(button, mode, choice.function);
}

NamedSetting Button(int mode, int button) {
    NamedSetting setting{std::string("button.") + (mode == 0 ? "A." : "B.") + std::to_string(button + 1),
                         "a function as the button's label shows it", nullptr, nullptr, nullptr};
    setting.read = [mode, button](const DeviceConfig& config,
                                  const SettingContext& context) -> std::optional<std::string> {
        return ButtonText(config.buttonSet(mode), config.dpiSwitchChoice(mode), button, context);
    };
    setting.encode = [mode, button](std::string_view text, const SettingContext& context,
                                    DeviceConfig& config) -> Encoded {
        auto parsed = ParseButtonText(text, context);
        if (auto* refused = std::get_if<std::string>(&parsed)) {
            return *refused;
        }
        // On a record where no rule between buttons bites: every button
        // holds Left Click and none Shift.
        DeviceConfig scratch = zeroDeviceConfig();
        ButtonLabels labels;
        Assign(scratch, labels, kNames, mode, button, std::get<ButtonChoice>(parsed));
        const SettingBits bits = ButtonBits(scratch, mode, button, std::get<ButtonChoice>(parsed).function);
        for (const auto& [offset, mask] : bits) {
            ByteAt(config, offset) = scratch.bytes()[At(offset)];
        }
        return bits;
    };
    setting.set = [mode, button](SettingEdit& edit, std::string_view text,
                                 const SettingContext& context) -> std::optional<std::string> {
        auto parsed = ParseButtonText(text, context);
        if (auto* refused = std::get_if<std::string>(&parsed)) {
            return *refused;
        }
        // The same assignment once per language that keeps labels: each
        // gives the same record and that language's label.
        SettingEdit changed = edit;
        ButtonLabels unkept;
        std::vector<std::pair<Language, ButtonLabels*>> languages;
        for (int l = 0; l < kLanguageCount; ++l) {
            if (changed.labels[At(l)]) {
                languages.emplace_back(static_cast<Language>(l), &*changed.labels[At(l)]);
            }
        }
        if (languages.empty()) {
            languages.emplace_back(kNames, &unkept);
        }
        for (const auto& [language, labels] : languages) {
            changed.config = edit.config;
            switch (Assign(changed.config, *labels, language, mode, button, std::get<ButtonChoice>(parsed))) {
            case AssignOutcome::Assigned:
                break;
            case AssignOutcome::RefusedLastLeftClick:
                return std::string(Text(kNames, TextId::kLeftKeyMustBeSelected));
            case AssignOutcome::Refused:
                return std::string("another button already holds Shift");
            case AssignOutcome::Unchanged:
            case AssignOutcome::Cancelled:
                return Quoted(text) + " cannot be given to this button";
            }
        }
        changed.labelsChanged = true;
        edit = std::move(changed);
        return std::nullopt;
    };
    return setting;
}

NamedSetting LoopColour(const DeviceConfig& layout, int slot) {
    NamedSetting setting{"lighting.colour." + std::to_string(slot + 1), "#rrggbb", nullptr, nullptr, nullptr};
    const int offset = Offset(layout, &layout.loopColours[At(slot)]);
    setting.read = [slot](const DeviceConfig& config, const SettingContext&) -> std::optional<std::string> {
        const Rgb& colour = config.loopColours[At(slot)];
        char text[8];
        std::snprintf(text, sizeof text, "#%02x%02x%02x", colour.red, colour.green, colour.blue);
        return std::string(text);
    };
    setting.encode = [slot, offset](std::string_view text, const SettingContext&,
                                    DeviceConfig& config) -> Encoded {
        unsigned value = 0;
        const char* end = text.data() + text.size();
        if (text.size() != 7 || text[0] != '#' ||
            std::from_chars(text.data() + 1, end, value, 16).ptr != end) {
            return Quoted(text) + " is no colour (#rrggbb, for example #ff0000)";
        }
        config.loopColours[At(slot)] =
            Rgb{static_cast<Byte>(value >> 16), static_cast<Byte>(value >> 8), static_cast<Byte>(value)};
        return SettingBits{{offset, 0xFF}, {offset + 1, 0xFF}, {offset + 2, 0xFF}};
    };
    return setting;
}

NamedSetting MacroLoops(const DeviceConfig& layout, int slot, const std::string& name) {
    NamedSetting setting{"macro." + name + ".loops", "1-" + std::to_string(kLongestLoop), nullptr, nullptr,
                         nullptr};
    const int offset = Offset(layout, &layout.macroSlots[At(slot)]);
    setting.read = [slot](const DeviceConfig& config, const SettingContext&) -> std::optional<std::string> {
        const int count = MacroLoopCount(config.macroSlots[At(slot)]);
        if (!LoopCountOfText(std::to_string(count))) {
            return std::nullopt;
        }
        return std::to_string(count);
    };
    setting.encode = [slot, offset](std::string_view text, const SettingContext&,
                                    DeviceConfig& config) -> Encoded {
        const std::optional<int> count = Number(text) ? LoopCountOfText(text) : std::nullopt;
        if (!count) {
            return Quoted(text) + " is no loop count (1-" + std::to_string(kLongestLoop) + ")";
        }
        SetMacroLoopCount(config.macroSlots[At(slot)], *count);
        return SettingBits{{offset, 0xFF}, {offset + 1, 0xFF}};
    };
    return setting;
}

std::function<std::vector<std::string>()> ModeNames() {
    return [] {
        std::vector<std::string> names;
        for (int mode = kLightingOff; mode <= kLightingNeon; ++mode) {
            names.emplace_back(ModeName(kNames, mode));
        }
        return names;
    };
}

} // namespace

std::vector<NamedSetting> NamedSettings(const SettingContext& context) {
    const DeviceConfig layout = zeroDeviceConfig();
    std::vector<NamedSetting> settings;
    settings.push_back(ReportRate(layout));
    for (int stage = 0; stage < kDpiStageCount; ++stage) {
        settings.push_back(DpiValue(layout, stage));
        settings.push_back(DpiEnabled(layout, stage));
        for (int colourSwitch = 0; colourSwitch < 4; ++colourSwitch) {
            settings.push_back(DpiColourSwitch(layout, stage, colourSwitch));
        }
    }
    settings.push_back(ListByte("key-configuration", Offset(layout, &layout.selectedButtonSet), [] {
        return std::vector<std::string>{"Mode A", "Mode B"};
    }));
    for (int mode = 0; mode < 2; ++mode) {
        for (int button = 0; button < kButtonCount; ++button) {
            settings.push_back(Button(mode, button));
        }
    }
    NamedSetting mode = ListByte("lighting.mode", Offset(layout, &layout.lightingMode), ModeNames());
    const auto encodeMode = mode.encode;
    mode.set = [encodeMode](SettingEdit& edit, std::string_view text,
                            const SettingContext& settingContext) -> std::optional<std::string> {
        // The mode list offers no "Off Mode": only a new record has it.
        if (text == ModeName(kNames, kLightingOff)) {
            return Quoted(text) + " is not offered; the modes are Standard Mode, Respiration Mode, Neon Mode";
        }
        Encoded bits = encodeMode(text, settingContext, edit.config);
        if (auto* refused = std::get_if<std::string>(&bits)) {
            return *refused;
        }
        return std::nullopt;
    };
    settings.push_back(mode);
    settings.push_back(ListByte("lighting.brightness", Offset(layout, &layout.standardBrightness),
                                [] { return Strings(ParameterEntries(kLightingStandard)); }));
    settings.push_back(ListByte("lighting.respiration-period", Offset(layout, &layout.respirationPeriod),
                                [] { return Strings(ParameterEntries(kLightingRespiration)); }));
    settings.push_back(ListByte("lighting.neon-period", Offset(layout, &layout.neonPeriod),
                                [] { return Strings(ParameterEntries(kLightingNeon)); }));
    for (int slot = 0; slot < kLoopColourCount; ++slot) {
        settings.push_back(LoopColour(layout, slot));
        settings.push_back(Flag("lighting.colour." + std::to_string(slot + 1) + ".enabled",
                                Offset(layout, &layout.loopColourEnabled[At(slot)])));
    }
    settings.push_back(Range("pointer.speed", Offset(layout, &layout.mouseSpeed), 1, 11));
    settings.push_back(Range("pointer.wheel-lines", Offset(layout, &layout.wheelScrollLines), 0, 11));
    settings.push_back(Range("pointer.double-click", Offset(layout, &layout.doubleClickSpeed), 1, 11));
    settings.push_back(Flag("pointer.precision", Offset(layout, &layout.enhancePointerPrecision)));
    settings.push_back(Flag("pointer.scroll-one-screen", Offset(layout, &layout.scrollOneScreen)));
    for (std::size_t slot = 0; slot < context.macroNames.size() && slot < At(kMacroSlotCount); ++slot) {
        settings.push_back(MacroLoops(layout, static_cast<int>(slot), context.macroNames[slot]));
    }
    return settings;
}

std::optional<NamedSetting> FindNamedSetting(const SettingContext& context, std::string_view name) {
    for (NamedSetting& setting : NamedSettings(context)) {
        if (setting.name == name) {
            return std::move(setting);
        }
    }
    return std::nullopt;
}

std::optional<std::string> SetNamedSetting(const NamedSetting& setting, SettingEdit& edit,
                                           std::string_view text, const SettingContext& context) {
    if (setting.set) {
        return setting.set(edit, text, context);
    }
    DeviceConfig changed = edit.config;
    Encoded bits = setting.encode(text, context, changed);
    if (auto* refused = std::get_if<std::string>(&bits)) {
        return *refused;
    }
    edit.config = changed;
    return std::nullopt;
}

std::optional<std::string> ExactText(const NamedSetting& setting, const DeviceConfig& config,
                                     const SettingContext& context) {
    std::optional<std::string> text = setting.read(config, context);
    if (!text) {
        return std::nullopt;
    }
    // Written over the opposite bits, the text must give back every bit.
    DeviceConfig written = config;
    for (Byte& byte : written.bytes()) {
        byte = static_cast<Byte>(~byte);
    }
    const Encoded bits = setting.encode(*text, context, written);
    const auto* owned = std::get_if<SettingBits>(&bits);
    if (owned == nullptr) {
        return std::nullopt;
    }
    for (const auto& [offset, mask] : *owned) {
        if ((written.bytes()[At(offset)] & mask) != (config.bytes()[At(offset)] & mask)) {
            return std::nullopt;
        }
    }
    return text;
}

} // namespace quorvel
