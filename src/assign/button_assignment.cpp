#include "assign/button_assignment.h"

#include <array>
#include <span>

#include "assign/default_buttons.h"
#include "assign/dialog_lists.h"
#include "assign/function_list.h"
#include "assign/key_codes.h"
#include "assign/key_matrices.h"
#include "lang/texts.h"

namespace quorvel {

namespace {

constexpr std::string_view kDpiSwitchTexts[] = {"DPI +", "DPI -", "DPI Loop"};

int OtherMode(int mode) {
    return mode == 0 ? 1 : 0;
}

// Whether `button` is the only one of the buttons the mouse receives that
// holds "Left Click" in `set`. Buttons 10 and 11 never reach the mouse, so
// neither counts as a left button nor needs one kept.
bool OnlyLeftClick(const ButtonSet& set, int button) {
    if (button >= kMouseButtonCount || set.field(kFieldFunction, button) != kFnLeftClick) {
        return false;
    }
    for (int b = 0; b < kMouseButtonCount; ++b) {
        if (b != button && set.field(kFieldFunction, b) == kFnLeftClick) {
            return false;
        }
    }
    return true;
}

// Whether giving `button` of `set` the function `f` leaves the set without
// the left button it had.
bool TakesLastLeftClick(const ButtonSet& set, int button, int f) {
    return f != kFnLeftClick && OnlyLeftClick(set, button);
}

// Whether a button of `set` other than `button` that the mouse receives holds
// "Shift".
bool ShiftElsewhere(const ButtonSet& set, int button) {
    for (int b = 0; b < kMouseButtonCount; ++b) {
        if (b != button && set.field(kFieldFunction, b) == kFnShift) {
            return true;
        }
    }
    return false;
}

Byte ToByte(int value) {
    return static_cast<Byte>(value & 0xFF);
}

} // namespace

std::span<const int> ButtonFieldGroup(int function) {
    static constexpr int kApplication[] = {kFieldApplicationPosition, kFieldApplicationUsageLow,
                                           kFieldApplicationUsageHigh};
    static constexpr int kMedia[] = {kFieldMediaPosition, kFieldMediaUsage};
    static constexpr int kFire[] = {kFieldFirePosition, kFieldFireCode, kFieldFireSpeed, kFieldFireTimes};
    static constexpr int kSingle[] = {kFieldSingleKey};
    static constexpr int kCombo[] = {kFieldComboModifiers, kFieldComboFirstKey, kFieldComboSecondKey};
    static constexpr int kMacro[] = {kFieldMacroPosition, kFieldMacroRepeat};
    switch (function) {
    case kFnWindows:
        return kApplication;
    case kFnMultimedia:
        return kMedia;
    case kFnFireKey:
        return kFire;
    case kFnSingleKey:
        return kSingle;
    case kFnComboKey:
        return kCombo;
    case kFnMacroKey:
        return kMacro;
    default:
        return {};
    }
}

std::string PrefixedLabel(Language language, int function, std::string_view text) {
    return std::string(FunctionListText(language, function)) + "-" + std::string(text);
}

std::string_view DpiSwitchText(int choice) {
    if (choice < kDpiUp || choice > kDpiLoop) {
        return {};
    }
    return kDpiSwitchTexts[choice - kDpiUp];
}

std::string DefaultLabel(Language language, int button) {
    if (button == kDefaultDpiUpButton) {
        return std::string(DpiSwitchText(kDpiUp));
    }
    if (button == kDefaultDpiDownButton) {
        return std::string(DpiSwitchText(kDpiDown));
    }
    if (button < 0 || button >= kDefaultButtonCount) {
        return {};
    }
    return std::string(FunctionListText(language, kDefaultFunctions[static_cast<std::size_t>(button)]));
}

std::string ComboKeyText(const ComboKeyChoice& combo) {
    std::string text;
    const auto add = [&](const std::string& part, Byte code) {
        if (code == 0) {
            return;
        }
        if (!text.empty()) {
            text += "+";
        }
        text += part;
    };
    add(combo.modifier, ModifierBitFromName(combo.modifier));
    add(combo.firstKey, KeyCodeFromName(combo.firstKey));
    add(combo.secondKey, KeyCodeFromName(combo.secondKey));
    return text;
}

ButtonAssignment::ButtonAssignment(DeviceConfig& config, ButtonLabels& labels, Language language,
                                   AssignmentDialogs& dialogs)
    : config_(&config), labels_(&labels), language_(language), dialogs_(&dialogs) {
}

std::string& ButtonAssignment::label(int mode, int button) {
    return labels_->at(static_cast<std::size_t>(mode)).at(static_cast<std::size_t>(button));
}

AssignOutcome ButtonAssignment::AssignButtonFunction(int button, int mode, std::optional<int> entry) {
    if (!entry || *entry == kFnDpiSwitch || *entry < 0 || *entry >= kFunctionCount || button < 0 ||
        button >= kButtonCount) {
        return AssignOutcome::Unchanged;
    }
    const int f = *entry;
    ButtonSet& set = config_->buttonSet(mode);
    ButtonSet& other = config_->buttonSet(OtherMode(mode));

    if (f == kFnShift) {
        // Shift goes to both modes, so neither may hold it elsewhere.
        if (set.field(kFieldFunction, button) == kFnShift || ShiftElsewhere(set, button) ||
            ShiftElsewhere(other, button)) {
            return AssignOutcome::Refused;
        }
        if (TakesLastLeftClick(set, button, f) || TakesLastLeftClick(other, button, f)) {
            return AssignOutcome::RefusedLastLeftClick;
        }
        set.field(kFieldFunction, button) = kFnShift;
        other.field(kFieldFunction, button) = kFnShift;
        label(mode, button) = FunctionListText(language_, kFnShift);
        label(OtherMode(mode), button) = FunctionListText(language_, kFnShift);
        return AssignOutcome::Assigned;
    }

    // The Shift button leaves Shift in both modes at once (below); checked
    // before a parameter dialog asks for anything.
    const bool bothModes = set.field(kFieldFunction, button) == kFnShift;
    if (TakesLastLeftClick(set, button, f) || (bothModes && TakesLastLeftClick(other, button, f))) {
        return AssignOutcome::RefusedLastLeftClick;
    }

    std::string newLabel(FunctionListText(language_, f));
    const auto field = [&](int k) -> Byte& { return set.field(k, button); };
    switch (f) {
    case kFnWindows: {
        const auto choice = dialogs_->ChooseApplicationKey();
        if (!choice) {
            return AssignOutcome::Cancelled;
        }
        const std::uint16_t usage = ApplicationUsage(choice->position);
        field(kFieldApplicationPosition) = ToByte(choice->position);
        field(kFieldApplicationUsageLow) = ToByte(usage);
        field(kFieldApplicationUsageHigh) = ToByte(usage >> 8);
        newLabel = choice->text;
        break;
    }
    case kFnMultimedia: {
        const auto choice = dialogs_->ChooseMediaKey();
        if (!choice) {
            return AssignOutcome::Cancelled;
        }
        field(kFieldMediaPosition) = ToByte(choice->position);
        field(kFieldMediaUsage) = ToByte(MediaUsage(choice->position));
        newLabel = PrefixedLabel(language_, f, choice->text);
        break;
    }
    case kFnFireKey: {
        const auto choice = dialogs_->ChooseFireKey();
        if (!choice) {
            return AssignOutcome::Cancelled;
        }
        field(kFieldFirePosition) = ToByte(choice->position);
        field(kFieldFireCode) = FireKeyCode(choice->position);
        field(kFieldFireSpeed) = ToByte(choice->speed);
        field(kFieldFireTimes) = ToByte(choice->times);
        newLabel = PrefixedLabel(language_, f, choice->text);
        break;
    }
    case kFnSingleKey: {
        const auto choice = dialogs_->ChooseSingleKey();
        if (!choice) {
            return AssignOutcome::Cancelled;
        }
        field(kFieldSingleKey) = KeyCodeFromName(choice->keyName);
        newLabel = PrefixedLabel(language_, f, choice->keyName);
        break;
    }
    case kFnComboKey: {
        const auto choice = dialogs_->ChooseComboKey();
        if (!choice) {
            return AssignOutcome::Cancelled;
        }
        field(kFieldComboModifiers) = ModifierBitFromName(choice->modifier);
        field(kFieldComboFirstKey) = KeyCodeFromName(choice->firstKey);
        field(kFieldComboSecondKey) = KeyCodeFromName(choice->secondKey);
        newLabel = PrefixedLabel(language_, f, ComboKeyText(*choice));
        break;
    }
    case kFnMacroKey: {
        const auto choice = dialogs_->ChooseMacro();
        if (!choice) {
            return AssignOutcome::Cancelled;
        }
        field(kFieldMacroPosition) = ToByte(choice->position);
        field(kFieldMacroRepeat) = ToByte(choice->repeatMode - 1);
        newLabel = PrefixedLabel(language_, f, choice->name);
        break;
    }
    default:
        break;
    }

    if (bothModes) {
        // Both modes then send the word the label promises: the parameters
        // go along.
        other.field(kFieldFunction, button) = ToByte(f);
        for (const int k : ButtonFieldGroup(f)) {
            other.field(k, button) = set.field(k, button);
        }
        label(OtherMode(mode), button) = newLabel;
    }
    set.field(kFieldFunction, button) = ToByte(f);
    label(mode, button) = std::move(newLabel);
    return AssignOutcome::Assigned;
}

AssignOutcome ButtonAssignment::ChooseDpiSwitch(int button, int mode, int choice) {
    if (DpiSwitchText(choice).empty() || button < 0 || button >= kButtonCount) {
        return AssignOutcome::Unchanged;
    }
    ButtonSet& set = config_->buttonSet(mode);
    if (TakesLastLeftClick(set, button, kFnDpiSwitch)) {
        return AssignOutcome::RefusedLastLeftClick;
    }
    set.field(kFieldFunction, button) = kFnDpiSwitch;
    config_->dpiSwitchChoice(mode)[static_cast<std::size_t>(button)] = ToByte(choice);
    label(mode, button) = DpiSwitchText(choice);
    return AssignOutcome::Assigned;
}

bool ButtonAssignment::HoldsLastLeftClick(int button, int mode) const {
    return button >= 0 && button < kButtonCount && OnlyLeftClick(config_->buttonSet(mode), button);
}

void ButtonAssignment::SetDefaults() {
    SetDefaultFunctions(*config_);
    SetDefaultLabels();
}

void ButtonAssignment::SetDefaultLabels() {
    for (int mode = 0; mode < 2; ++mode) {
        for (int button = 0; button < kDefaultButtonCount; ++button) {
            label(mode, button) = DefaultLabel(language_, button);
        }
    }
}

} // namespace quorvel
