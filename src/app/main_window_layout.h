#pragma once

#include <array>
#include <string_view>

#include "lang/texts.h"
#include "ports/geometry.h"
#include "ui/skin_images.h"

namespace quorvel {

// What the main window shows on both pages. Positions are client pixels of
// the skin's main.png, which also gives the window its size; an image is
// drawn with its top-left corner at its rectangle's top-left corner.

// The client area of the Default skin: every control of both pages lies
// inside it, so that skin's main.png and page backgrounds are this large.
inline constexpr Rect kMainWindowClientArea{0, 0, 880, 640};

// The title-bar buttons and the two page buttons.
enum class WindowButtonId { Skins, Minimise, Close, BasicPage, AdvancedPage };

struct WindowButton {
    WindowButtonId id;
    Rect rect;
    std::string_view normalImage;
    std::string_view overImage;
};

inline constexpr std::array<WindowButton, 5> kWindowButtons{{
    {WindowButtonId::Skins, {701, 5, 719, 23}, kSkinsNormal, kSkinsOver},
    {WindowButtonId::Minimise, {825, 5, 843, 23}, kMinimiseNormal, kMinimiseOver},
    {WindowButtonId::Close, {850, 5, 868, 23}, kCloseNormal, kCloseOver},
    {WindowButtonId::BasicPage, {20, 55, 60, 95}, kBasicPageNormal, kBasicPageOver},
    {WindowButtonId::AdvancedPage, {70, 55, 110, 95}, kAdvancedPageNormal, kAdvancedPageOver},
}};

constexpr Rect WindowButtonRect(WindowButtonId id) {
    for (const WindowButton& button : kWindowButtons) {
        if (button.id == id) {
            return button.rect;
        }
    }
    return {};
}

// OK, Apply and Cancel: the plain button images (kButtonNormal, kButtonOver)
// with the caption centred. Neighbours share one pixel column (x = 617 and
// x = 721), which both of them claim.
struct CaptionButton {
    Rect rect;
    TextId caption;
};

inline constexpr std::array<CaptionButton, 3> kDialogButtons{{
    {{513, 609, 618, 630}, TextId::kOk},
    {{617, 609, 722, 630}, TextId::kApply},
    {{721, 609, 826, 630}, TextId::kCancel},
}};

// The page title beside the page buttons: title font, white, left-aligned,
// vertically centred, one line.
inline constexpr Rect kPageTitle{120, 50, 352, 100};

} // namespace quorvel
