#pragma once

#include <array>
#include <string>
#include <string_view>

#include "ports/geometry.h"

namespace quorvel {

// The file names of a skin's images, each relative to the skin folder (the
// leading "/" joins it to the folder path). What they look like and how large
// they are is the skin's choice, as long as each one fits the rectangles it
// is drawn at.

// Window and page backgrounds.
inline constexpr std::string_view kMainBackground = "/main.png";
inline constexpr std::string_view kBasicPageBackground = "/BasicSet2.png";
inline constexpr std::string_view kAdvancedPageBackground = "/AdvancedSet2.png";

// Plain buttons with a caption (OK, Apply, Cancel, Default, Mode A/B, New, ...).
inline constexpr std::string_view kButtonNormal = "/button-normal.png";
inline constexpr std::string_view kButtonOver = "/button-over.png";

// Title-bar and page buttons.
inline constexpr std::string_view kCloseNormal = "/button-close-normal.png";
inline constexpr std::string_view kCloseOver = "/button-close-over.png";
inline constexpr std::string_view kMinimiseNormal = "/button-min-normal.png";
inline constexpr std::string_view kMinimiseOver = "/button-min-over.png";
inline constexpr std::string_view kSkinsNormal = "/button-Skins-normal.png";
inline constexpr std::string_view kSkinsOver = "/button-Skins-over.png";
inline constexpr std::string_view kBasicPageNormal = "/button-PrePage-normal.png";
inline constexpr std::string_view kBasicPageOver = "/button-PrePage-over.png";
inline constexpr std::string_view kAdvancedPageNormal = "/button-NextPage-normal.png";
inline constexpr std::string_view kAdvancedPageOver = "/button-NextPage-over.png";

// The row boxes of the button list, and the smaller lighting fields.
inline constexpr std::string_view kRowBoxNormal = "/DropdownBox-normal.png";
inline constexpr std::string_view kRowBoxOver = "/DropdownBox-over.png";
inline constexpr std::string_view kDropdownField = "/dropdownbox.png";

// Tick boxes, and the lit and unlit cells of the three slider kinds.
inline constexpr std::string_view kTickBoxEmpty = "/Pane.png";
inline constexpr std::string_view kTickBoxTicked = "/PaneMakingTick.png";
inline constexpr std::string_view kDpiCellLit = "/slider-DPI-light.png";
inline constexpr std::string_view kDpiCellUnlit = "/slider-DPI-dark.png";
inline constexpr std::string_view kReportRateLit = "/slider-RP-light.png";
inline constexpr std::string_view kReportRateUnlit = "/slider-RP-dark.png";
inline constexpr std::string_view kSliderCellLit = "/slider-light.png";
inline constexpr std::string_view kSliderCellUnlit = "/slider-dark.png";

// Backgrounds of the sub-dialogs.
inline constexpr std::string_view kSingleKeyBackground = "/single-key.png";
inline constexpr std::string_view kComboKeyBackground = "/combo-key.png";
inline constexpr std::string_view kFireKeyBackground = "/fire-key.png";
inline constexpr std::string_view kMediaKeyBackground = "/media-key.png";
inline constexpr std::string_view kWindowsKeyBackground = "/windows-key.png";
inline constexpr std::string_view kMacroKeyBackground = "/macro-key.png";
inline constexpr std::string_view kDelayTimeBackground = "/delay-time.png";
inline constexpr std::string_view kSkinsBackground = "/skins.png";

// Every image a skin folder holds.
inline constexpr std::array kSkinImageNames = {
    kMainBackground,
    kBasicPageBackground,
    kAdvancedPageBackground,
    kButtonNormal,
    kButtonOver,
    kCloseNormal,
    kCloseOver,
    kMinimiseNormal,
    kMinimiseOver,
    kSkinsNormal,
    kSkinsOver,
    kBasicPageNormal,
    kBasicPageOver,
    kAdvancedPageNormal,
    kAdvancedPageOver,
    kRowBoxNormal,
    kRowBoxOver,
    kDropdownField,
    kTickBoxEmpty,
    kTickBoxTicked,
    kDpiCellLit,
    kDpiCellUnlit,
    kReportRateLit,
    kReportRateUnlit,
    kSliderCellLit,
    kSliderCellUnlit,
    kSingleKeyBackground,
    kComboKeyBackground,
    kFireKeyBackground,
    kMediaKeyBackground,
    kWindowsKeyBackground,
    kMacroKeyBackground,
    kDelayTimeBackground,
    kSkinsBackground,
};
static_assert(kSkinImageNames.size() == 34);

// The images a skin must have of its own, each decoding within the image
// limits, for the program to take it: the window's background, which gives
// the window its size, and the Skins dialog's, the way to another skin. Any
// other image a skin lacks is drawn from the Default skin.
inline constexpr std::array kOwnSkinImages = {kMainBackground, kSkinsBackground};

// The same image drawn at twice the density, for screens with two or more
// device pixels to a layout pixel: "/main.png" has "/main@2x.png" beside it.
// A skin may leave them out; the plain image is then scaled.
inline constexpr std::string_view kDoubleDensitySuffix = "@2x";
inline std::string DoubleDensityName(std::string_view name) {
    const std::size_t dot = name.rfind('.');
    const std::size_t at = dot == std::string_view::npos || dot < name.rfind('/') ? name.size() : dot;
    return std::string(name.substr(0, at)) + std::string(kDoubleDensitySuffix) + std::string(name.substr(at));
}

// The three shapes a control takes in the layout tables of the windows.

// A button drawn from a skin image with its top-left corner at the corner of
// its rectangle, which is also where clicks and the pointer are caught; it
// shows `overImage` while the pointer rests on it (the mode buttons: while their
// mode is the chosen one).
struct ImageButton {
    Rect rect;
    std::string_view normalImage = kButtonNormal;
    std::string_view overImage = kButtonOver;
};

// The two looks of a control that is on or off: a tick box, a lit cell.
struct OnOffImages {
    std::string_view off;
    std::string_view on;
};

// A child window (list, edit, static text): its control identifier and the
// rectangle it is created at.
struct ChildControl {
    int id = 0;
    Rect rect;
};

} // namespace quorvel
