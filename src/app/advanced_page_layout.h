#pragma once

#include <array>
#include <cstddef>
#include <string_view>

#include "ports/geometry.h"
#include "ui/skin_images.h"

namespace quorvel {

// One pointer-setting slider: its caption (centred) and the top of its row
// of cells.
struct SliderTrack {
    Rect caption;
    int cellsTop = 0;
};

// The Advanced page: the pointer settings on the left, the macro panel on the
// right. Client pixels of the main window.
struct AdvancedPageLayout {
    std::string_view background = kAdvancedPageBackground;
    Point backgroundOrigin{0, 0};

    // --- Pointer settings ------------------------------------------------------

    // Tracks 0-2: mouse speed, wheel scroll lines, double-click speed. Each has
    // eleven cells, counted from 1 at the left, that touch one another.
    static constexpr int kSliderCellCount = 11;
    std::array<SliderTrack, 3> tracks{{
        {{38, 160, 143, 181}, 200},
        {{38, 310, 143, 331}, 350},
        {{38, 460, 143, 481}, 500},
    }};
    OnOffImages sliderCellImages{kSliderCellUnlit, kSliderCellLit};
    constexpr Rect sliderCell(int track, int cell) const {
        const int left = 52 + 24 * (cell - 1);
        const int top = tracks[static_cast<std::size_t>(track)].cellsTop;
        return {left, top, left + 24, top + 11};
    }
    // All eleven cells of a track.
    constexpr Rect trackCells(int track) const {
        return {sliderCell(track, 1).left, sliderCell(track, 1).top,
                sliderCell(track, kSliderCellCount).right, sliderCell(track, 1).bottom};
    }

    // The check boxes; each label is left-aligned from x 77 to 408 on the
    // box's line.
    OnOffImages checkBoxImages{kTickBoxEmpty, kTickBoxTicked};
    Rect enhancePointerPrecisionBox{51, 255, 67, 271};
    Rect scrollOneScreenBox{51, 405, 67, 421};
    constexpr Rect checkBoxLabel(Rect box) const { return {77, box.top, 408, box.bottom}; }

    ImageButton defaultButton{{194, 573, 299, 594}};

    // --- Macro panel -----------------------------------------------------------

    // Captions: "Macro Setting", then the three column captions, centred.
    Rect macroSettingCaption{469, 160, 578, 181};
    Rect selectMacroCaption{457, 196, 592, 220};
    Rect keyPressSequenceCaption{591, 196, 726, 220};
    Rect recordOptionCaption{725, 196, 875, 220};

    ChildControl macroList{151, {462, 220, 591, 512}};
    ChildControl eventList{152, {592, 220, 725, 512}};

    // The recording buttons have no image of their own: the page background
    // shows them. Their captions are word-wrapped and vertically centred.
    Rect startRecording{735, 229, 764, 258};
    Rect stopRecording{735, 265, 764, 294};
    Rect startRecordingCaption{765, 239, 874, 268};
    Rect stopRecordingCaption{765, 275, 874, 304};

    ChildControl macroNameBox{150, {735, 322, 799, 336}};
    ChildControl loopTimesBox{149, {735, 362, 799, 376}};
    // A click on the insert box opens or closes the mouse-event list; the
    // box's text (the last inserted event) leaves its right 15 px free.
    Rect insertBox{735, 402, 854, 416};
    constexpr ChildControl insertBoxText() const {
        return {119, {insertBox.left, insertBox.top, insertBox.right - 15, insertBox.bottom}};
    }
    ChildControl mouseEventList{154, {734, 419, 854, 569}};
    // "Macro Name", "Loop Times" and "Insert A Mouse Event" stand left-aligned
    // in the 20 px directly above their boxes, up to x 874.
    constexpr Rect captionAbove(Rect box) const { return {box.left, box.top - 20, 874, box.top}; }

    // New, Delete and Confirm; neighbours share one pixel column.
    ImageButton newButton{{513, 528, 618, 549}};
    ImageButton deleteButton{{617, 528, 722, 549}};
    ImageButton confirmButton{{721, 528, 826, 549}};
};

inline constexpr AdvancedPageLayout kAdvancedPage{};

} // namespace quorvel
