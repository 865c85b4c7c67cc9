#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

#include "lang/language.h"

namespace quorvel {

// The texts of the main window, named after their English wording (other
// parts of the behaviour refer to a text by that wording). The order is the
// order of the language table.
enum class TextId : int {
    // Page names and window buttons.
    kBasicSettings,
    kAdvancedSettings,
    kColorSetting,
    kOk,
    kApply,
    kCancel,
    // Basic page headings and key configurations.
    kKeySetting,
    kReportRateSetting,
    kDpiSetting,
    kBasicDefault, // "Default", the key-reset button of the Basic page
    kKeyConfiguration1,
    kKeyConfiguration2,
    kKeyConfiguration3,
    kKeyConfiguration4,
    // Lighting headings.
    kAuxiliaryLedSetting,
    kAsRespirationLed,
    kAsHeartBeatLed,
    kAsKeyGroupSwitchLed,
    kRgbEffectHeading, // "RGB Effect" as a heading; kRgbEffect is the colour kind
    kMode,
    kParameter,
    kSpeed,
    kBrightness,
    kLoopColorSetting,
    kDpiSelfColorLedSetting,
    // Lighting modes and colour kinds.
    kOffMode,
    kStandardMode,
    kRespirationMode,
    kNeonMode,
    kNonDisolay, // sic: the English text is "Non-Disolay"
    kRgbEffect,
    kRgbFlash,
    kRgbFixedOn,
    kSelfColorLed,
    kLoopColor,
    kDpiColor,
    kFixedColor,
    // Button functions and the left-key rule.
    kLeftClick,
    kRightClick,
    kMidClick,
    kForward,
    kBackward,
    kTripleClick,
    kDpiSwitch,
    kReportRateSwitch,
    kShift,
    kRgbOnOff,
    kWindows,
    kMultimedia,
    kFireKey,
    kSingleKey,
    kComboKey,
    kMacroKey,
    kKeyOff,
    kLeftKeyMustBeSelected,
    // Device notices, notification-area menu and detection messages.
    kMakerWebSite, // the maker's web-site address, the same in every language
    kSwitchReportRateInto1000Hz,
    kSwitchReportRateInto500Hz,
    kSwitchReportRateInto250Hz,
    kSwitchReportRateInto125Hz,
    kSwitchDpiIntoFirstStage,
    kSwitchDpiIntoSecondStage,
    kSwitchDpiIntoThirdStage,
    kSwitchDpiIntoFourthStage,
    kSwitchToKeyMatrix1,
    kSwitchToKeyMatrix2,
    kSwitchToKeyMatrix3,
    kSwitchToKeyMatrix4,
    kSwitchToMacroKey,
    kExit,
    kSystemDidNotDetectMouse,
    kSystemDetectMouse,
    // Advanced page: pointer settings and macro panel.
    kMouseSpeed,
    kScrollingSpeed,
    kDoubleClickSpeed,
    kMacroSetting,
    kSelectMacro,
    kKeyPressSequence,
    kRecordOption,
    kEnhancePointerPrecision,
    kScrollOneScreen,
    kAdvancedDefault, // "Default", the Default button of the Advanced page
    kMacroName,
    kStartRecording,
    kStopRecording,
    kRecordMouseEvent,
    kLoopTimes,
    kInsertAMouseEvent,
    kNew,
    kDelete,
    kConfirm,
    kMacroNameIsBlank,
    kMacroNameAlreadyExists,
    kMacroNameNotStorable,
    kMacroNamesTooLong,
    kMacrosBeyondTwelfthIgnored, // "%s": how many
    kMacrosCutToFitTheirSlots,   // "%s": the names
    kPressCtrlBreakKeyToStopRecording,
    kItDoesntStartRecording,
    // What went wrong with a file, after its path.
    kFileMissing,
    kFileNotRegular,
    kFileTooLarge,        // "%s": its size in bytes; "%s": the largest in MB
    kFileCannotBeRead,    // "%s": the system's reason
    kFileCannotBeWritten, // "%s": the system's reason
    kFileWrongSize,       // "%s": its size; "%s": the size of the format
    kFileIsTheProgram,
    kFileNameNotStorable,
    // What follows from a file error at start-up.
    kSettingsStartEmpty,
    kLabelsStartEmpty,
    kSettingsCannotBeSaved,
    kNoSkinInFolder,    // "%s": the folder
    kSkinCannotBeDrawn, // "%s": the skin's name
    kWindowCannotBeDrawn,
    // What is wrong with a skin image, after its path.
    kImageNotReadable,
    kImageTooLarge, // "%s" x "%s": its size; "%s" x "%s": the largest
    // The mouse found but not usable.
    kMouseNotAllowed,
    kMouseAnswerUnusable,
    // The tray menu's choice of starting with the desktop session.
    kStartWithDesktop,
    kStartWithDesktopNotSaved,
    // Another program (quorvelctl) changed the data files while the window was open.
    kSettingsChangedOutside,
    // The menu's profile actions, and what is said when one fails ("%s": why).
    kExportSettings,
    kImportSettings,
    kSettingsNotExported,
    kSettingsNotImported,
    // The names of the controls that show a picture and no text, as the
    // keyboard focus and screen readers name them ("%s": a number from 1).
    kSkins,
    kMinimise,
    kClose,
    kDpiStageNumber,
    kUseDpiStage,
    kColourSwitchNumber,
    kUseLoopColour,
    kLoopColourNumber,
    kKeyConfigurationGroup,
    kReportRate,
    kDelayTime, // the title of the Delay-time dialog
    // Language section name of str.ini.
    kSettingSection, // the section of the button labels in str.ini
};
inline constexpr int kTextCount = 136;

// The text `id` in `language`, UTF-8, exactly as the interface shows it
// (trailing blanks included). Empty for a value outside both enums.
std::string_view Text(Language language, TextId id);

// `text` with each "%s" replaced by the next of `values`, in order.
std::string Filled(std::string_view text, std::initializer_list<std::string_view> values);

// The str.ini section that holds the button labels of `language`:
// "Setting-EN", "Setting-CHS" or "Setting-CHT".
std::string_view SectionName(Language language);

// The sixteen entries of a button's function list, in list order (the
// position is the function index of the button model).
inline constexpr int kFunctionListCount = 16;

// The text of function-list entry `index` in `language`; empty outside 0-15.
std::string_view FunctionListText(Language language, int index);

} // namespace quorvel
