#pragma once

namespace quorvel {

// Positions of the sixteen entries of a button's function list; the position
// is the function index stored in the button model.
enum ButtonFunctionIndex : int {
    kFnLeftClick = 0,
    kFnRightClick = 1,
    kFnMidClick = 2,
    kFnForward = 3,
    kFnBackward = 4,
    kFnTripleClick = 5,
    kFnDpiSwitch = 6,
    kFnRgbOnOff = 7,
    kFnWindows = 8,
    kFnMultimedia = 9,
    kFnFireKey = 10,
    kFnSingleKey = 11,
    kFnComboKey = 12,
    kFnMacroKey = 13,
    kFnShift = 14,
    kFnKeyOff = 15,
};
inline constexpr int kFunctionCount = 16;

// Fields of a button's sixteen-field column (see ButtonSet).
enum ButtonField : int {
    kFieldFunction = 0,
    kFieldMediaPosition = 1,
    kFieldMediaUsage = 2,
    kFieldApplicationPosition = 3,
    kFieldApplicationUsageLow = 4,
    kFieldApplicationUsageHigh = 5,
    kFieldFirePosition = 6,
    kFieldFireCode = 7,
    kFieldFireSpeed = 8,
    kFieldFireTimes = 9,
    kFieldSingleKey = 10,
    kFieldComboModifiers = 11,
    kFieldComboFirstKey = 12,
    kFieldComboSecondKey = 13,
    kFieldMacroPosition = 14,
    kFieldMacroRepeat = 15,
};

// DPI sub-choices of the DPI Switch function.
enum DpiSwitchChoice : int { kDpiUp = 1, kDpiDown = 2, kDpiLoop = 3 };

} // namespace quorvel
