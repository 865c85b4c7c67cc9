#pragma once

#include <string_view>

#include "ports/geometry.h"
#include "ui/skin_images.h"

namespace quorvel {

// The small modal dialogs. Each is sized to its background image and drawn
// from it; positions are client pixels of that image. The dialogs' own texts
// are drawn in white, the OK and Cancel captions in the skin text colour.

// What every sub-dialog has.
struct DialogSkeleton {
    ImageButton close{{352, 6, 370, 24}, kCloseNormal, kCloseOver};
    ImageButton ok{{166, 253, 271, 274}};
    ImageButton cancel{{270, 253, 375, 274}}; // shares the column x = 270 with OK
    // A dialog whose background does not load opens blank at this size, which holds OK, Cancel and
    // close with the margin the backgrounds leave around them.
    constexpr Rect blankClientArea() const { return {0, 0, cancel.rect.right + 12, cancel.rect.bottom + 12}; }
};
inline constexpr DialogSkeleton kDialogSkeleton{};

// The dialogs, as a fault report names them to their owner.
enum class DialogId { SingleKey, ComboKey, FireKey, MediaKey, WindowsKey, MacroKey, DelayTime, Skins };

struct DialogBackground {
    std::string_view image;
    DialogId dialog;
};

// The choice from a fixed list: a static text shows the choice, a click area
// a little wider than it (the rest shows the box's arrow) opens the list.
struct DropDownSelector {
    ChildControl display;
    Rect clickArea;
    ChildControl list;
};

struct SingleKeyDialogLayout {
    DialogBackground background{kSingleKeyBackground, DialogId::SingleKey};
    ChildControl keyName{502, {74, 129, 150, 143}};
    Rect prompt{45, 108, 181, 124}; // centred, one line
};
inline constexpr SingleKeyDialogLayout kSingleKeyDialog{};

struct ComboKeyDialogLayout {
    DialogBackground background{kComboKeyBackground, DialogId::ComboKey};
    DropDownSelector modifier{{512, {50, 70, 116, 84}}, {50, 70, 132, 84}, {515, {50, 86, 132, 226}}};
    ChildControl firstKey{516, {50, 120, 131, 134}};
    ChildControl secondKey{517, {50, 170, 131, 184}};
};
inline constexpr ComboKeyDialogLayout kComboKeyDialog{};

struct FireKeyDialogLayout {
    DialogBackground background{kFireKeyBackground, DialogId::FireKey};
    DropDownSelector key{{572, {50, 70, 116, 84}}, {50, 70, 132, 84}, {573, {50, 86, 132, 256}}};
    ChildControl speed{574, {50, 120, 131, 134}};
    ChildControl times{575, {50, 170, 131, 184}};
    // The texts are left-aligned, vertically centred, one line. "Speed" and
    // "Times" fill the 30 px left of their edits.
    constexpr Rect labelBefore(Rect edit) const { return {edit.left - 30, edit.top, edit.left, edit.bottom}; }
    // The illustration: heading (row 0), speed help (1), times help (2), in
    // 16 px rows from 20 px below the times edit, from 30 px left of it to
    // 350 px right of its left edge.
    constexpr Rect illustrationRow(int row) const {
        const Rect edit = times.rect;
        const int top = edit.top + 20 + 16 * row;
        return {edit.left - 30, top, edit.left + 350, top + 16};
    }
};
inline constexpr FireKeyDialogLayout kFireKeyDialog{};

struct MediaKeyDialogLayout {
    DialogBackground background{kMediaKeyBackground, DialogId::MediaKey};
    DropDownSelector key{{552, {43, 129, 135, 143}}, {43, 129, 151, 143}, {553, {43, 145, 151, 265}}};
};
inline constexpr MediaKeyDialogLayout kMediaKeyDialog{};

struct WindowsKeyDialogLayout {
    DialogBackground background{kWindowsKeyBackground, DialogId::WindowsKey};
    DropDownSelector key{{532, {43, 129, 135, 143}}, {43, 129, 151, 143}, {533, {43, 145, 151, 305}}};
};
inline constexpr WindowsKeyDialogLayout kWindowsKeyDialog{};

struct MacroKeyDialogLayout {
    DialogBackground background{kMacroKeyBackground, DialogId::MacroKey};
    DropDownSelector macro{{592, {43, 129, 136, 143}}, {43, 129, 151, 143}, {593, {43, 146, 151, 285}}};
    // The prompt spans the click area and 30 px more on each side, in the
    // 16 px above it; centred, one line.
    constexpr Rect prompt() const {
        const Rect area = macro.clickArea;
        return {area.left - 30, area.top - 16, area.right + 30, area.top};
    }
    // Repeat modes 1-3, 50 px apart: a tick box and its text, left-aligned and
    // word-wrapped, centred vertically in its rectangle.
    OnOffImages modeBoxImages{kTickBoxEmpty, kTickBoxTicked};
    constexpr Rect modeBox(int mode) const {
        const int down = 50 * (mode - 1);
        return {220, 78 + down, 236, 94 + down};
    }
    constexpr Rect modeText(int mode) const {
        const Rect box = modeBox(mode);
        return {box.right + 1, box.top - 8, 390, box.bottom + 8};
    }
};
inline constexpr MacroKeyDialogLayout kMacroKeyDialog{};

struct DelayTimeDialogLayout {
    DialogBackground background{kDelayTimeBackground, DialogId::DelayTime};
    ChildControl delay{600, {74, 129, 150, 143}};
    Rect prompt{14, 89, 210, 109};     // centred
    Rect rangeNote{14, 109, 210, 129}; // centred
};
inline constexpr DelayTimeDialogLayout kDelayTimeDialog{};

struct SkinsDialogLayout {
    DialogBackground background{kSkinsBackground, DialogId::Skins};
    // The name label shows the chosen skin; the area around it opens the list
    // of skin folders.
    DropDownSelector skin{{560, {42, 128, 136, 144}}, {42, 128, 151, 144}, {562, {42, 146, 151, 266}}};
    // The colour sample, painted in the chosen text colour; a click on it
    // opens the colour chooser. The prompt stands centred just above it.
    ChildControl colourSample{561, {42, 94, 151, 110}};
    Rect prompt{12, 64, 181, 94};
};
inline constexpr SkinsDialogLayout kSkinsDialog{};

} // namespace quorvel
