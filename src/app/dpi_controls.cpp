#include "app/dpi_controls.h"

#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "app/basic_page_layout.h"
#include "app/dpi_levels.h"
#include "app/main_window.h"
#include "ui/skin_painter.h"

namespace quorvel {

namespace {

// The interval in milliseconds that the mouse takes for each segment.
constexpr std::array<Byte, BasicPageLayout::kReportRateSegmentCount> kReportRateBySegment = {8, 4, 2, 1};

constexpr std::array<std::string_view, kDpiStageCount> kColourStageEntries = {"DPI Stage1", "DPI Stage2",
                                                                              "DPI Stage3", "DPI Stage4"};

std::size_t At(int i) {
    return static_cast<std::size_t>(i);
}

} // namespace

Byte ReportRateOfSegment(int segment) {
    return kReportRateBySegment.at(At(segment));
}

std::optional<int> SegmentOfReportRate(Byte reportRate) {
    for (std::size_t i = 0; i < kReportRateBySegment.size(); ++i) {
        if (kReportRateBySegment[i] == reportRate) {
            return static_cast<int>(i);
        }
    }
    return std::nullopt;
}

std::string_view ColourStageEntry(int stage) {
    return stage >= 0 && stage < kDpiStageCount ? kColourStageEntries[At(stage)] : std::string_view();
}

DpiControls::DpiControls(MainWindow& main) : main_(&main), stageChooser_(kBasicPage.dpiStageChooserList.id) {
}

void DpiControls::Present() {
    main_->window().canvas().present();
}

int DpiControls::UsableDpiCount() const {
    // A mouse that arrived since the page was drawn may have a shorter scale.
    const int current = static_cast<int>(DpiScale(main_->device().image().currentSensorType).size());
    return std::min(dpiCount_, current);
}

void DpiControls::DrawImages() {
    const DeviceConfig& config = main_->working();
    dpiCount_ = static_cast<int>(DpiScale(main_->device().image().currentSensorType).size());

    const std::optional<int> rateSegment = SegmentOfReportRate(config.reportRate);
    for (int segment = 0; segment < BasicPageLayout::kReportRateSegmentCount; ++segment) {
        const OnOffImages& images = kBasicPage.reportRateImages;
        main_->DrawImage(segment == rateSegment ? images.on : images.off,
                         kBasicPage.reportRateSegment(segment).topLeft());
    }
    for (int stage = 0; stage < kDpiStageCount; ++stage) {
        const bool enabled = config.dpiStageEnabled[At(stage)] != 0;
        const OnOffImages& tick = kBasicPage.dpiStageTickImages;
        main_->DrawImage(enabled ? tick.on : tick.off, kBasicPage.dpiStageTickBox(stage).topLeft());
        DrawColumn(stage, enabled ? config.dpiValueIndex[At(stage)] + 1 : 0);
    }
    DrawColourSwitches();
}

void DpiControls::DrawTexts() {
    Canvas& canvas = main_->window().canvas();
    const auto scale = DpiScale(main_->device().image().currentSensorType);
    for (std::size_t index = 0; index < scale.size(); ++index) {
        canvas.drawText(scale[index], kBasicPage.dpiLabel(static_cast<int>(index), dpiCount_), FontRole::Text,
                        main_->textColour(), TextAlign::Right);
    }
    DrawStageChooserText();
}

void DpiControls::DrawColumn(int stage, int litCells) {
    const OnOffImages& images = kBasicPage.dpiCellImages;
    for (int cell = 1; cell <= dpiCount_; ++cell) {
        main_->DrawImage(cell <= litCells ? images.on : images.off,
                         kBasicPage.dpiCell(stage, cell).topLeft());
    }
}

void DpiControls::DrawColourSwitches() {
    const OnOffImages& images = kBasicPage.dpiColourSwitchImages;
    for (int j = 0; j < kDpiStageCount; ++j) {
        const bool on = main_->working().dpiStageColourSwitch(shownStage_, j);
        main_->DrawImage(on ? images.on : images.off, kBasicPage.dpiColourSwitch(j).topLeft());
    }
}

void DpiControls::DrawStageChooserText() {
    // The chooser's box belongs to the page background: wipe the old text with it.
    DrawSkinImagePart(main_->window().canvas(), main_->images(), main_->skinFolder(), kBasicPage.background,
                      kBasicPage.dpiStageChooser);
    main_->window().canvas().drawText(ColourStageEntry(shownStage_),
                                      kBasicPage.fieldText(kBasicPage.dpiStageChooser), FontRole::Text,
                                      main_->textColour(), TextAlign::Left);
}

void DpiControls::SelectReportRate(int segment) {
    Byte& reportRate = main_->working().reportRate;
    const Byte chosen = ReportRateOfSegment(segment);
    if (reportRate != chosen) {
        const OnOffImages& images = kBasicPage.reportRateImages;
        main_->DrawImage(images.on, kBasicPage.reportRateSegment(segment).topLeft());
        if (const std::optional<int> previous = SegmentOfReportRate(reportRate)) {
            main_->DrawImage(images.off, kBasicPage.reportRateSegment(*previous).topLeft());
        }
        Present();
    }
    reportRate = chosen;
}

bool DpiControls::AnotherStageEnabled(int stage) const {
    // Only the four stages the page shows count: Apply sends stages 5 to 8
    // disabled whatever their flags say.
    const DeviceConfig& config = main_->working();
    for (int other = 0; other < kDpiStageCount; ++other) {
        if (other != stage && config.dpiStageEnabled[At(other)] != 0) {
            return true;
        }
    }
    return false;
}

void DpiControls::ToggleDpiStage(int stage) {
    DeviceConfig& config = main_->working();
    Byte& enabled = config.dpiStageEnabled[At(stage)];
    const OnOffImages& tick = kBasicPage.dpiStageTickImages;
    if (enabled == 0) {
        main_->DrawImage(tick.on, kBasicPage.dpiStageTickBox(stage).topLeft());
        enabled = 1;
        DrawColumn(stage, config.dpiValueIndex[At(stage)] + 1);
        Present();
    } else if (AnotherStageEnabled(stage)) {
        main_->DrawImage(tick.off, kBasicPage.dpiStageTickBox(stage).topLeft());
        enabled = 0;
        DrawColumn(stage, 0);
        Present();
    }
}

void DpiControls::SetDpiStageValue(int stage, int cell) {
    // All twelve cells are hit-tested; those above the scale are no level.
    if (cell < 1 || cell > UsableDpiCount()) {
        return;
    }
    main_->working().dpiValueIndex[At(stage)] = static_cast<Byte>(cell - 1);
    DrawColumn(stage, cell);
    Present();
}

void DpiControls::ToggleDpiColourSwitch(int colourSwitch) {
    DeviceConfig& config = main_->working();
    const bool on = !config.dpiStageColourSwitch(shownStage_, colourSwitch);
    config.setDpiStageColourSwitch(shownStage_, colourSwitch, on);
    const OnOffImages& images = kBasicPage.dpiColourSwitchImages;
    main_->DrawImage(on ? images.on : images.off, kBasicPage.dpiColourSwitch(colourSwitch).topLeft());
    Present();
}

void DpiControls::ToggleStageChooser() {
    std::vector<std::string> entries(kColourStageEntries.begin(), kColourStageEntries.end());
    stageChooser_.toggle(main_->window(), kBasicPage.dpiStageChooserList.rect, entries);
}

void DpiControls::ChooseColourStage(int stage) {
    if (stage < 0 || stage >= kDpiStageCount) {
        return;
    }
    shownStage_ = stage;
    stageChooser_.close(main_->window());
    DrawStageChooserText();
    DrawColourSwitches();
    Present();
}

} // namespace quorvel
