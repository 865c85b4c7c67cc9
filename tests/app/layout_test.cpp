#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "app/advanced_page_layout.h"
#include "app/basic_page_layout.h"
#include "app/main_window_layout.h"
#include "ui/dialog_layout.h"

namespace quorvel {

static std::ostream& operator<<(std::ostream& out, const Rect& r) {
    return out << "(" << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << ")";
}

namespace {

struct Named {
    std::string name;
    Rect rect;
};

bool Overlap(Rect a, Rect b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

// Every pair of overlapping rectangles, as "a / b".
std::vector<std::string> Overlaps(const std::vector<Named>& rects) {
    std::vector<std::string> found;
    for (std::size_t i = 0; i < rects.size(); ++i) {
        for (std::size_t j = i + 1; j < rects.size(); ++j) {
            if (Overlap(rects[i].rect, rects[j].rect)) {
                found.push_back(rects[i].name + " / " + rects[j].name);
            }
        }
    }
    return found;
}

std::string N(const char* what, int i) {
    return std::string(what) + " " + std::to_string(i);
}
std::string N(const char* what, int i, int j) {
    return N(what, i) + "/" + std::to_string(j);
}

const BasicPageLayout& B = kBasicPage;
const AdvancedPageLayout& A = kAdvancedPage;

std::vector<Named> WindowControls() {
    const char* const windowNames[] = {"skins", "minimise", "close", "Basic page", "Advanced page"};
    const char* const captionNames[] = {"OK", "Apply", "Cancel"};
    std::vector<Named> rects;
    for (const WindowButton& b : kWindowButtons) {
        rects.push_back({windowNames[static_cast<int>(b.id)], b.rect});
    }
    for (std::size_t i = 0; i < kDialogButtons.size(); ++i) {
        rects.push_back({captionNames[i], kDialogButtons[i].rect});
    }
    return rects;
}

// What a click on the Basic page can hit, besides the window's buttons.
std::vector<Named> BasicClickables() {
    std::vector<Named> rects{{"Mode A", B.modeA.rect},
                             {"Mode B", B.modeB.rect},
                             {"Default", B.defaultButton.rect},
                             {"stage chooser", B.dpiStageChooser},
                             {"lighting mode", B.lightingModeField},
                             {"lighting parameter", B.lightingParameterField}};
    for (int row = 1; row <= BasicPageLayout::kRowCount; ++row) {
        rects.push_back({N("row box", row), B.rowBox(row)});
    }
    for (int i = 0; i < BasicPageLayout::kReportRateSegmentCount; ++i) {
        rects.push_back({N("rate segment", i), B.reportRateSegment(i)});
    }
    for (int stage = 0; stage < BasicPageLayout::kDpiColumnCount; ++stage) {
        rects.push_back({N("stage tick box", stage), B.dpiStageTickBox(stage)});
        rects.push_back({N("colour switch", stage), B.dpiColourSwitch(stage)});
        for (int cell = 1; cell <= BasicPageLayout::kMaxDpiCells; ++cell) {
            rects.push_back({N("DPI cell", stage, cell), B.dpiCell(stage, cell)});
        }
    }
    for (int slot = 0; slot < kLoopColourCount; ++slot) {
        rects.push_back({N("swatch", slot), B.loopColourSwatch(slot).rect});
        rects.push_back({N("loop tick box", slot), B.loopColourTickBox(slot)});
    }
    return rects;
}

std::vector<Named> AdvancedClickables() {
    std::vector<Named> rects{{"precision box", A.enhancePointerPrecisionBox},
                             {"scroll box", A.scrollOneScreenBox},
                             {"Default", A.defaultButton.rect},
                             {"start recording", A.startRecording},
                             {"stop recording", A.stopRecording},
                             {"New", A.newButton.rect},
                             {"Delete", A.deleteButton.rect},
                             {"Confirm", A.confirmButton.rect},
                             {"insert box", A.insertBox},
                             {"macro list", A.macroList.rect},
                             {"event list", A.eventList.rect},
                             {"macro name", A.macroNameBox.rect},
                             {"loop times", A.loopTimesBox.rect}};
    for (int track = 0; track < 3; ++track) {
        for (int cell = 1; cell <= AdvancedPageLayout::kSliderCellCount; ++cell) {
            rects.push_back({N("slider cell", track, cell), A.sliderCell(track, cell)});
        }
    }
    return rects;
}

// Everything drawn or created on a page, texts and open lists included.
std::vector<Named> BasicEverything() {
    std::vector<Named> rects = BasicClickables();
    const std::vector<Named> more{{"title", kPageTitle},
                                  {"key heading", B.keySettingHeading},
                                  {"rate heading", B.reportRateHeading},
                                  {"DPI heading", B.dpiHeading},
                                  {"RGB heading", B.rgbEffectHeading},
                                  {"loop heading", B.loopColourHeading},
                                  {"DPI colour heading", B.dpiColourHeading},
                                  {"stage chooser list", B.dpiStageChooserList.rect},
                                  {"mode list", B.lightingModeList.rect},
                                  {"mode caption", B.lightingModeCaption()},
                                  {"parameter caption", B.lightingParameterCaption()}};
    rects.insert(rects.end(), more.begin(), more.end());
    for (int mode = 0; mode <= 3; ++mode) {
        rects.push_back({N("parameter list", mode), B.lightingParameterList(mode).rect});
    }
    for (int row = 1; row <= BasicPageLayout::kRowCount; ++row) {
        rects.push_back({N("row list", row), B.rowList(row).rect});
    }
    for (int index = 0; index < BasicPageLayout::kMaxDpiCells; ++index) {
        rects.push_back({N("DPI label", index), B.dpiLabel(index, 8)});
        rects.push_back({N("DPI label", index), B.dpiLabel(index, 12)});
    }
    return rects;
}

std::vector<Named> AdvancedEverything() {
    std::vector<Named> rects = AdvancedClickables();
    const std::vector<Named> more{{"macro setting", A.macroSettingCaption},
                                  {"select macro", A.selectMacroCaption},
                                  {"key press sequence", A.keyPressSequenceCaption},
                                  {"record option", A.recordOptionCaption},
                                  {"start caption", A.startRecordingCaption},
                                  {"stop caption", A.stopRecordingCaption},
                                  {"mouse-event list", A.mouseEventList.rect},
                                  {"insert caption", A.captionAbove(A.insertBox)},
                                  {"precision label", A.checkBoxLabel(A.enhancePointerPrecisionBox)}};
    rects.insert(rects.end(), more.begin(), more.end());
    for (const SliderTrack& track : A.tracks) {
        rects.push_back({"track caption", track.caption});
    }
    return rects;
}

// Where the layout computes a position, it lands where the window's design
// puts it.
TEST(Layout, ComputedPositionsLandOnTheirPlaces) {
    const struct {
        const char* what;
        Rect actual;
        Rect expected;
    } cases[] = {
        {"row box 1", B.rowBox(1), {252, 186, 463, 207}},
        {"row box 8", B.rowBox(8), {252, 347, 463, 368}},
        {"row 3 number", B.rowNumber(3), {252, 232, 272, 253}},
        {"row 3 label", B.rowLabel(3), {272, 232, 445, 253}}, // clear of the arrow
        {"row list 1", B.rowList(1).rect, {252, 208, 463, 478}},
        {"row list 8", B.rowList(8).rect, {252, 369, 463, 639}},
        {"125 Hz", B.reportRateSegment(0), {542, 204, 612, 215}},
        {"250 Hz", B.reportRateSegment(1), {614, 204, 684, 215}},
        {"500 Hz", B.reportRateSegment(2), {686, 204, 756, 215}},
        {"1000 Hz", B.reportRateSegment(3), {758, 204, 828, 215}},
        {"DPI stage 1 cell 1", B.dpiCell(0, 1), {554, 518, 570, 534}},
        {"DPI stage 4 cell 12", B.dpiCell(3, 12), {635, 320, 651, 336}},
        {"DPI stage 2 tick box", B.dpiStageTickBox(1), {581, 541, 597, 557}},
        {"DPI label 0 of 8", B.dpiLabel(0, 8), {494, 518, 544, 534}},
        {"DPI label 7 of 8", B.dpiLabel(7, 8), {494, 392, 544, 408}},
        {"DPI label 11 of 12", B.dpiLabel(11, 12), {514, 320, 544, 336}},
        {"colour switch 4", B.dpiColourSwitch(3), {815, 540, 831, 556}},
        {"mode caption", B.lightingModeCaption(), {696, 329, 756, 344}},
        {"parameter caption", B.lightingParameterCaption(), {696, 359, 756, 374}},
        {"brightness list", B.lightingParameterList(1).rect, {766, 377, 851, 547}},
        {"respiration list", B.lightingParameterList(2).rect, {766, 377, 851, 467}},
        {"neon list", B.lightingParameterList(3).rect, {766, 377, 851, 577}},
        {"swatch 8", B.loopColourSwatch(7).rect, {850, 420, 866, 436}},
        {"loop tick box 1", B.loopColourTickBox(0), {703, 440, 719, 456}},
        {"wheel cell 1", A.sliderCell(1, 1), {52, 350, 76, 361}},
        {"double-click cell 11", A.sliderCell(2, 11), {292, 500, 316, 511}},
        {"scroll label", A.checkBoxLabel(A.scrollOneScreenBox), {77, 405, 408, 421}},
        {"macro name caption", A.captionAbove(A.macroNameBox.rect), {735, 302, 874, 322}},
        {"insert text", A.insertBoxText().rect, {735, 402, 839, 416}},
        {"fire speed label", kFireKeyDialog.labelBefore(kFireKeyDialog.speed.rect), {20, 120, 50, 134}},
        {"fire times label", kFireKeyDialog.labelBefore(kFireKeyDialog.times.rect), {20, 170, 50, 184}},
        {"fire heading", kFireKeyDialog.illustrationRow(0), {20, 190, 400, 206}},
        {"fire times help", kFireKeyDialog.illustrationRow(2), {20, 222, 400, 238}},
        {"macro prompt", kMacroKeyDialog.prompt(), {13, 113, 181, 129}},
        {"repeat mode 3 box", kMacroKeyDialog.modeBox(3), {220, 178, 236, 194}},
        {"repeat mode 2 text", kMacroKeyDialog.modeText(2), {237, 120, 390, 152}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.actual, c.expected) << c.what;
    }
    EXPECT_EQ(WindowButtonRect(WindowButtonId::Close), (Rect{850, 5, 868, 23}));
    EXPECT_EQ(B.rowList(1).id, 41);
    EXPECT_EQ(B.rowList(8).id, 48);
}

TEST(Layout, EverythingFitsTheClientArea) {
    for (const std::vector<Named>& set : {WindowControls(), BasicEverything(), AdvancedEverything()}) {
        for (const Named& n : set) {
            const Rect r = n.rect;
            EXPECT_FALSE(r.empty()) << n.name;
            EXPECT_TRUE(kMainWindowClientArea.left <= r.left && r.right <= kMainWindowClientArea.right &&
                        kMainWindowClientArea.top <= r.top && r.bottom <= kMainWindowClientArea.bottom)
                << n.name << " " << r;
        }
    }
}

// The window's OK, Apply, Cancel and skins buttons do not end a click's
// dispatch, so a page control under one of them would act on the same click.
// Within a page, the first match wins, yet a control meant to be reachable
// must not lie under another; the only shared pixels are the one-pixel seams
// between neighbouring buttons of a row.
TEST(Layout, ClickableRectanglesDoNotOverlap) {
    using Seams = std::vector<std::string>;
    const std::vector<Named> window = WindowControls();
    EXPECT_EQ(Overlaps(window), (Seams{"OK / Apply", "Apply / Cancel"}));
    const std::vector<Named> basic = BasicClickables();
    EXPECT_EQ(Overlaps(basic), (Seams{"Mode A / Mode B"}));
    const std::vector<Named> advanced = AdvancedClickables();
    EXPECT_EQ(Overlaps(advanced), (Seams{"New / Delete", "Delete / Confirm"}));

    for (const std::vector<Named>* page : {&basic, &advanced}) {
        for (const Named& w : window) {
            for (const Named& p : *page) {
                EXPECT_FALSE(Overlap(w.rect, p.rect)) << w.name << " / " << p.name;
            }
        }
    }
}

// One image file serves every rectangle it is drawn at, so they share a size.
TEST(Layout, RectanglesOfOneImageHaveOneSize) {
    const auto sameSize = [](const char* image, const std::vector<Rect>& rects) {
        for (const Rect& r : rects) {
            EXPECT_TRUE(r.width() == rects.front().width() && r.height() == rects.front().height())
                << image << ": " << r << " against " << rects.front();
        }
    };
    std::vector<Rect> buttons{B.modeA.rect,
                              B.modeB.rect,
                              B.defaultButton.rect,
                              A.defaultButton.rect,
                              A.newButton.rect,
                              A.deleteButton.rect,
                              A.confirmButton.rect,
                              kDialogSkeleton.ok.rect,
                              kDialogSkeleton.cancel.rect};
    for (const CaptionButton& b : kDialogButtons) {
        buttons.push_back(b.rect);
    }
    sameSize("button", buttons);

    std::vector<Rect> tickBoxes{A.enhancePointerPrecisionBox, A.scrollOneScreenBox};
    std::vector<Rect> dpiCells;
    for (int i = 0; i < 4; ++i) {
        tickBoxes.push_back(B.dpiStageTickBox(i));
        dpiCells.push_back(B.dpiColourSwitch(i));
        dpiCells.push_back(B.dpiCell(i, 12));
    }
    for (int slot = 0; slot < kLoopColourCount; ++slot) {
        tickBoxes.push_back(B.loopColourTickBox(slot));
    }
    for (int mode = 1; mode <= 3; ++mode) {
        tickBoxes.push_back(kMacroKeyDialog.modeBox(mode));
    }
    sameSize("tick box", tickBoxes);
    sameSize("DPI cell", dpiCells);
    sameSize("lighting field", {B.lightingModeField, B.lightingParameterField});
    sameSize("close button", {WindowButtonRect(WindowButtonId::Close), kDialogSkeleton.close.rect});
}

// A sub-dialog tests its own click areas in the same handler as OK, Cancel
// and close, so none of them may lie under those buttons.
TEST(Layout, DialogControlsKeepClearOfTheSkeletonButtons) {
    const std::vector<Named> controls{
        {"single key", kSingleKeyDialog.keyName.rect},
        {"combo modifier list", kComboKeyDialog.modifier.list.rect},
        {"combo modifier area", kComboKeyDialog.modifier.clickArea},
        {"combo second key", kComboKeyDialog.secondKey.rect},
        {"fire list", kFireKeyDialog.key.list.rect},
        {"media list", kMediaKeyDialog.key.list.rect},
        {"windows list", kWindowsKeyDialog.key.list.rect},
        {"macro list", kMacroKeyDialog.macro.list.rect},
        {"macro mode 3", kMacroKeyDialog.modeBox(3)},
        {"delay", kDelayTimeDialog.delay.rect},
        {"skins list", kSkinsDialog.skin.list.rect},
        {"skins colour", kSkinsDialog.colourSample.rect},
    };
    for (const Named& c : controls) {
        for (const ImageButton& b : {kDialogSkeleton.ok, kDialogSkeleton.cancel, kDialogSkeleton.close}) {
            EXPECT_FALSE(Overlap(c.rect, b.rect)) << c.name << " " << c.rect << " under " << b.rect;
        }
    }
}

} // namespace
} // namespace quorvel
