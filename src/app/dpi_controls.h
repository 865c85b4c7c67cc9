#pragma once

#include <optional>
#include <string_view>

#include "config/device_config.h"
#include "ui/drop_down.h"

namespace quorvel {

class PageContext;

// The report rate byte of a segment (0-3: 125, 250, 500, 1000 Hz), and the
// segment of a report rate byte.
Byte ReportRateOfSegment(int segment);
std::optional<int> SegmentOfReportRate(Byte reportRate);

// Whether a DPI stage other than `stage` (0-3) is enabled: the last enabled
// stage cannot be disabled.
bool AnotherDpiStageEnabled(const DeviceConfig& config, int stage);

// The entries of the stage chooser of the DPI stage colour switches.
std::string_view ColourStageEntry(int stage);

// The Basic page's report rate, its four DPI stages and the DPI stage colour
// switches. Every control changes the working configuration only; Apply
// sends it. Stages, switches and segments count from 0, DPI cells from 1.
class DpiControls {
public:
    explicit DpiControls(PageContext& context);

    // The page drawing: first the images, later the texts.
    void DrawImages();
    void DrawTexts();

    void SelectReportRate(int segment);
    void ToggleDpiStage(int stage);
    void SetDpiStageValue(int stage, int cell);
    void ToggleDpiColourSwitch(int colourSwitch);
    // The stage chooser: a click on its box, an entry picked in its list.
    void ToggleStageChooser();
    void ChooseColourStage(int stage);

    DropDown& stageChooser() { return stageChooser_; }
    // The DPI levels of the scale the page shows (8 or 12).
    int dpiCount() const { return dpiCount_; }
    int shownColourStage() const { return shownStage_; }

private:
    void DrawColumn(int stage, int litCells);
    void DrawColourSwitches();
    void DrawStageChooserText();
    // The chooser's text alone, on a box that holds none.
    void DrawStageChooserLabel();
    int UsableDpiCount() const;
    void Present();

    PageContext* context_;
    DropDown stageChooser_;
    int dpiCount_ = 0;
    int shownStage_ = 0;
};

} // namespace quorvel
