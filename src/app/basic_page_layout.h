#pragma once

#include <string_view>

#include "config/device_config.h"
#include "ports/geometry.h"
#include "ui/skin_images.h"

namespace quorvel {

// The Basic page: the button list with its two key configurations, the report
// rate, the DPI stages and the lighting. Client pixels of the main window.
//
// What the user counts from one is numbered from one here too (rows, DPI
// cells); what the configuration record holds per stage, slot or switch is
// numbered from zero, as the record counts it.
struct BasicPageLayout {
    std::string_view background = kBasicPageBackground;
    Point backgroundOrigin{0, 0};

    // Headings of the four sections: centred, text font, skin text colour.
    Rect keySettingHeading{259, 160, 364, 181};
    Rect reportRateHeading{504, 161, 609, 182};
    Rect dpiHeading{504, 275, 609, 296};
    Rect rgbEffectHeading{704, 275, 809, 296};

    // --- Button list ---------------------------------------------------------

    static constexpr int kRowCount = 8;
    std::string_view rowBoxNormal = kRowBoxNormal;
    std::string_view rowBoxOver = kRowBoxOver;

    // Row box n (1-8) shows button n - 1; the boxes stand 23 px apart.
    constexpr Rect rowBox(int row) const {
        const int down = 23 * (row - 1);
        return {252, 186 + down, 463, 207 + down};
    }
    // The row number fills the box's left 20 px, the label the rest up to
    // the arrow in the box's right 18 px; both left-aligned, vertically
    // centred, one line.
    int rowArrowWidth = 18;
    constexpr Rect rowNumber(int row) const {
        const Rect box = rowBox(row);
        return {box.left, box.top, box.left + 20, box.bottom};
    }
    constexpr Rect rowLabel(int row) const {
        const Rect box = rowBox(row);
        return {box.left + 20, box.top, box.right - rowArrowWidth, box.bottom};
    }
    // The row's function list opens just below its box; its identifier is
    // 41 + the button index.
    constexpr ChildControl rowList(int row) const {
        const Rect box = rowBox(row);
        return {40 + row, {box.left, box.bottom + 1, box.right, box.bottom + 271}};
    }
    // The DPI sub-list opens beside the row list's "DPI Switch" item, wherever
    // that item is; only its size is fixed. `item` is the item's rectangle
    // inside the list, as the list shows it at that moment.
    int dpiSubListId = 37;
    int dpiSubListWidth = 60;
    int dpiSubListHeight = 60;
    constexpr ChildControl dpiSubList(Rect list, Rect item) const {
        const int left = list.left + item.right;
        const int top = list.top + item.top;
        return {dpiSubListId, {left, top, left + dpiSubListWidth, top + dpiSubListHeight}};
    }

    // The key configurations: the chosen one shows its over image. The two
    // buttons share the pixel column x = 357.
    ImageButton modeA{{253, 518, 358, 539}};
    ImageButton modeB{{357, 518, 462, 539}};
    ImageButton defaultButton{{307, 549, 412, 570}};

    // --- Report rate -----------------------------------------------------------

    // Segment 0-3 stands for 125, 250, 500 and 1000 Hz.
    static constexpr int kReportRateSegmentCount = 4;
    OnOffImages reportRateImages{kReportRateUnlit, kReportRateLit};
    constexpr Rect reportRateSegment(int segment) const {
        const int across = 72 * segment;
        return {542 + across, 204, 612 + across, 215};
    }

    // --- DPI stages ------------------------------------------------------------

    // One column per stage (0-3), 27 px apart; its cells are counted from 1 at
    // the bottom, 18 px apart, up to the DPI count (8 or 12). All twelve cells
    // are hit-tested whatever the count.
    static constexpr int kDpiColumnCount = kDpiStageCount;
    static constexpr int kMaxDpiCells = 12;
    OnOffImages dpiCellImages{kDpiCellUnlit, kDpiCellLit};
    constexpr Rect dpiCell(int stage, int cell) const {
        const int left = 554 + 27 * stage;
        const int top = 518 - 18 * (cell - 1);
        return {left, top, left + 16, top + 16};
    }
    // The stage's tick box, below its column.
    OnOffImages dpiStageTickImages{kTickBoxEmpty, kTickBoxTicked};
    constexpr Rect dpiStageTickBox(int stage) const {
        const int left = dpiCell(stage, 1).left;
        return {left, 541, left + 16, 557};
    }
    // The label of DPI list position `index` (0-based) stands level with cell
    // index + 1, right-aligned, ending 10 px left of the first column; with
    // twelve levels its box starts 40 px left of the column instead of 60.
    constexpr Rect dpiLabel(int index, int dpiCount) const {
        const Rect cell = dpiCell(0, index + 1);
        return {cell.left - (dpiCount == kMaxDpiCells ? 40 : 60), cell.top, cell.left - 10, cell.bottom};
    }

    // The colour switches 0-3 of one DPI stage, lit when the bit is set, and
    // the drop-down that chooses the stage they show. The chooser has no image
    // of its own: the page background shows its box.
    OnOffImages dpiColourSwitchImages{kDpiCellUnlit, kDpiCellLit};
    constexpr Rect dpiColourSwitch(int colourSwitch) const {
        const int left = 737 + 26 * colourSwitch;
        return {left, 540, left + 16, 556};
    }
    Rect dpiStageChooser{741, 510, 826, 526};
    // Four entries, opening below the chooser as the lighting lists open
    // below their fields. The chooser list, the lighting lists and the swatches
    // take identifiers that no other control of the window uses.
    ChildControl dpiStageChooserList{36, {741, 529, 826, 605}};
    Rect dpiColourHeading{697, 480, 870, 500}; // left-aligned

    // --- Lighting -----------------------------------------------------------

    // The mode and parameter fields show their texts on the field image; a
    // click opens or closes the list below.
    std::string_view lightingFieldImage = kDropdownField;
    // A field's text stands left-aligned clear of the chevron at the field's
    // right end (the stage chooser's box has the same chevron).
    int fieldTextInset = 4;
    int fieldChevronWidth = 14;
    constexpr Rect fieldText(Rect field) const {
        return {field.left + fieldTextInset, field.top, field.right - fieldChevronWidth, field.bottom};
    }
    Rect lightingModeField{766, 329, 851, 344};
    Rect lightingParameterField{766, 359, 851, 374};
    ChildControl lightingModeList{38, {766, 347, 851, 407}};
    // The parameter list is as long as the mode's list of entries needs:
    // 10 brightness steps (mode 1), 5 periods (mode 2), 30 periods otherwise.
    constexpr ChildControl lightingParameterList(int mode) const {
        const int bottom = mode == 1 ? 547 : mode == 2 ? 467 : 577;
        return {39, {lightingParameterField.left, 377, lightingParameterField.right, bottom}};
    }
    // "Mode" and "Parameter" stand right-aligned before their fields, from
    // 70 px to 10 px left of them.
    constexpr Rect captionBefore(Rect field) const {
        return {field.left - 70, field.top, field.left - 10, field.bottom};
    }
    constexpr Rect lightingModeCaption() const { return captionBefore(lightingModeField); }
    constexpr Rect lightingParameterCaption() const { return captionBefore(lightingParameterField); }

    // Loop colour slots 0-7: a swatch (a child control painted in the slot's
    // colour) above the slot's tick box, 21 px apart.
    Rect loopColourHeading{697, 390, 870, 420}; // left-aligned
    OnOffImages loopColourTickImages{kTickBoxEmpty, kTickBoxTicked};
    constexpr ChildControl loopColourSwatch(int slot) const {
        const int left = 703 + 21 * slot;
        return {60 + slot, {left, 420, left + 16, 436}};
    }
    constexpr Rect loopColourTickBox(int slot) const {
        const Rect swatch = loopColourSwatch(slot).rect;
        return {swatch.left, 440, swatch.right, 456};
    }
};

inline constexpr BasicPageLayout kBasicPage{};

} // namespace quorvel
