#include "app/dpi_controls.h"

#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "app/basic_page_layout.h"
#include "app/dpi_levels.h"
#include "app/page_context.h"

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

DpiControls::DpiControls(PageContext& context)
    : context_(&context), stageChooser_(kBasicPage.dpiStageChooserList.id) {
}

void DpiControls::Present() {
    context_->window().canvas().present();
}

int DpiControls::UsableDpiCount() const {
    // A mouse that arrived since the page was drawn may have a shorter scale.
    const int current = static_cast<int>(DpiScale(context_->sensorType()).size());
    return std::min(dpiCount_, current);
}

void DpiControls::DrawImages() {
    const DeviceConfig& config = context_->working();
    dpiCount_ = static_cast<int>(DpiScale(context_->sensorType()).size());

    const std::optional<int> rateSegment = SegmentOfReportRate(config.reportRate);
    for (int segment = 0; segment < BasicPageLayout::kReportRateSegmentCount; ++segment) {
        const OnOffImages& images = kBasicPage.reportRateImages;
        context_->drawImage(segment == rateSegment ? images.on : images.off,
                            kBasicPage.reportRateSegment(segment).topLeft());
    }
    for (int stage = 0; stage < kDpiStageCount; ++stage) {
        const bool enabled = config.dpiStageEnabled[At(stage)] != 0;
        const OnOffImages& tick = kBasicPage.dpiStageTickImages;
        context_->drawImage(enabled ? tick.on : tick.off, kBasicPage.dpiStageTickBox(stage).topLeft());
        DrawColumn(stage, enabled ? config.dpiValueIndex[At(stage)] + 1 : 0);
    }
    DrawColourSwitches();
}

void DpiControls::DrawTexts() {
    Canvas& canvas = context_->window().canvas();
    const auto scale = DpiScale(context_->sensorType());
    for (std::size_t index = 0; index < scale.size(); ++index) {
        canvas.drawText(scale[index], kBasicPage.dpiLabel(static_cast<int>(index), dpiCount_), FontRole::Text,
                        context_->textColour(), TextAlign::Right);
    }
    // On the page just drawn the chooser's box has no old text to wipe.
    DrawStageChooserLabel();
}

void DpiControls::DrawColumn(int stage, int litCells) {
    const OnOffImages& images = kBasicPage.dpiCellImages;
    for (int cell = 1; cell <= dpiCount_; ++cell) {
        context_->drawImage(cell <= litCells ? images.on : images.off,
                            kBasicPage.dpiCell(stage, cell).topLeft());
    }
}

void DpiControls::DrawColourSwitches() {
    const OnOffImages& images = kBasicPage.dpiColourSwitchImages;
    for (int j = 0; j < kDpiStageCount; ++j) {
        const bool on = context_->working().dpiStageColourSwitch(shownStage_, j);
        context_->drawImage(on ? images.on : images.off, kBasicPage.dpiColourSwitch(j).topLeft());
    }
}

void DpiControls::DrawStageChooserText() {
    // The chooser's box belongs to the page background: wipe the old text with it.
    context_->drawImagePart(kBasicPage.background, kBasicPage.dpiStageChooser);
    DrawStageChooserLabel();
}

void DpiControls::DrawStageChooserLabel() {
    context_->window().canvas().drawText(ColourStageEntry(shownStage_),
                                         kBasicPage.fieldText(kBasicPage.dpiStageChooser), FontRole::Text,
                                         context_->textColour(), TextAlign::Left);
}

void DpiControls::SelectReportRate(int segment) {
    Byte& reportRate = context_->working().reportRate;
    const Byte chosen = ReportRateOfSegment(segment);
    if (reportRate != chosen) {
        const OnOffImages& images = kBasicPage.reportRateImages;
        context_->drawImage(images.on, kBasicPage.reportRateSegment(segment).topLeft());
        if (const std::optional<int> previous = SegmentOfReportRate(reportRate)) {
            context_->drawImage(images.off, kBasicPage.reportRateSegment(*previous).topLeft());
        }
        Present();
    }
    reportRate = chosen;
}

bool AnotherDpiStageEnabled(const DeviceConfig& config, int stage) {
    // Only the four stages the page shows count: Apply sends stages 5 to 8
    // disabled whatever their flags say.
    for (int other = 0; other < kDpiStageCount; ++other) {
        if (other != stage && config.dpiStageEnabled[At(other)] != 0) {
            return true;
        }
    }
    return false;
}

void DpiControls::ToggleDpiStage(int stage) {
    DeviceConfig& config = context_->working();
    Byte& enabled = config.dpiStageEnabled[At(stage)];
    const OnOffImages& tick = kBasicPage.dpiStageTickImages;
    if (enabled == 0) {
        context_->drawImage(tick.on, kBasicPage.dpiStageTickBox(stage).topLeft());
        enabled = 1;
        DrawColumn(stage, config.dpiValueIndex[At(stage)] + 1);
        Present();
    } else if (AnotherDpiStageEnabled(config, stage)) {
        context_->drawImage(tick.off, kBasicPage.dpiStageTickBox(stage).topLeft());
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
    context_->working().dpiValueIndex[At(stage)] = static_cast<Byte>(cell - 1);
    DrawColumn(stage, cell);
    Present();
}

void DpiControls::ToggleDpiColourSwitch(int colourSwitch) {
    DeviceConfig& config = context_->working();
    const bool on = !config.dpiStageColourSwitch(shownStage_, colourSwitch);
    config.setDpiStageColourSwitch(shownStage_, colourSwitch, on);
    const OnOffImages& images = kBasicPage.dpiColourSwitchImages;
    context_->drawImage(on ? images.on : images.off, kBasicPage.dpiColourSwitch(colourSwitch).topLeft());
    Present();
}

void DpiControls::ToggleStageChooser() {
    std::vector<std::string> entries(kColourStageEntries.begin(), kColourStageEntries.end());
    stageChooser_.toggle(context_->window(), kBasicPage.dpiStageChooserList.rect, entries);
}

void DpiControls::ChooseColourStage(int stage) {
    if (stage < 0 || stage >= kDpiStageCount) {
        return;
    }
    shownStage_ = stage;
    stageChooser_.close(context_->window());
    DrawStageChooserText();
    DrawColourSwitches();
    Present();
}

} // namespace quorvel
