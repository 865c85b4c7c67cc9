#include "app/basic_page.h"

#include <string>
#include <utility>

#include "app/basic_page_layout.h"
#include "app/page_context.h"
#include "assign/function_list.h"
#include "lang/texts.h"

namespace quorvel {

namespace {

constexpr std::array<std::string_view, 2> kModeCaptions = {"Mode A", "Mode B"};

// A click elsewhere closes the lists of rows 1 to 6; those of rows 7 and 8
// stay open until a row box is clicked.
constexpr int kRowsClosedByClickElsewhere = 6;
constexpr int kRowBoxHoverGroup = kFirstPageHoverGroup;

int RowListId(int button) {
    return kBasicPage.rowList(button + 1).id;
}

template <std::size_t... I> std::array<DropDown, sizeof...(I)> MakeRowLists(std::index_sequence<I...>) {
    return {DropDown(RowListId(static_cast<int>(I)))...};
}

std::vector<std::string> FunctionEntries(Language language) {
    std::vector<std::string> entries;
    for (int f = 0; f < kFunctionCount; ++f) {
        entries.emplace_back(FunctionListText(language, f));
    }
    return entries;
}

std::vector<std::string> DpiSwitchEntries() {
    return {std::string(DpiSwitchText(kDpiUp)), std::string(DpiSwitchText(kDpiDown)),
            std::string(DpiSwitchText(kDpiLoop))};
}

} // namespace

BasicPage::BasicPage(PageContext& context, AssignmentDialogs& dialogs)
    : context_(&context), assignment_(context.working(), context.labels(), context.language(), dialogs),
      rowLists_(MakeRowLists(std::make_index_sequence<kButtonCount>())), dpiSubList_(kBasicPage.dpiSubListId),
      dpi_(context), lighting_(context), hits_(DispatchTable()) {
}

int BasicPage::shownMode() const {
    return context_->working().selectedButtonSet == 0 ? 0 : 1;
}

void BasicPage::Present() {
    context_->window().canvas().present();
}

// --- Drawing -----------------------------------------------------------------

void BasicPage::FirstDrawing() {
    if (context_->basicPageInitialised()) {
        return;
    }
    context_->syncSensorInfo();
    if (context_->firstRun()) {
        assignment_.SetDefaultLabels();
        context_->saveLabels();
    }
    context_->setBasicPageInitialised();
}

void BasicPage::draw() {
    FirstDrawing();
    Canvas& canvas = context_->window().canvas();
    const Colour colour = context_->textColour();
    const auto text = [&](std::string_view s, Rect box, TextAlign align) {
        canvas.drawText(s, box, FontRole::Text, colour, align);
    };

    context_->drawImage(kBasicPage.defaultButton.normalImage, kBasicPage.defaultButton.rect.topLeft());
    for (int row = 1; row <= BasicPageLayout::kRowCount; ++row) {
        context_->drawImage(kBasicPage.rowBoxNormal, kBasicPage.rowBox(row).topLeft());
    }
    dpi_.DrawImages();
    lighting_.DrawImages();

    text(context_->text(TextId::kKeySetting), kBasicPage.keySettingHeading, TextAlign::Centre);
    text(context_->text(TextId::kReportRateSetting), kBasicPage.reportRateHeading, TextAlign::Centre);
    text(context_->text(TextId::kDpiSetting), kBasicPage.dpiHeading, TextAlign::Centre);
    text(context_->text(TextId::kRgbEffectHeading), kBasicPage.rgbEffectHeading, TextAlign::Centre);
    text(context_->text(TextId::kBasicDefault), kBasicPage.defaultButton.rect, TextAlign::Centre);
    const auto& labels = context_->labels()[static_cast<std::size_t>(shownMode())];
    for (int row = 1; row <= BasicPageLayout::kRowCount; ++row) {
        text(std::to_string(row), kBasicPage.rowNumber(row), TextAlign::Left);
        text(labels[static_cast<std::size_t>(row - 1)], kBasicPage.rowLabel(row), TextAlign::Left);
    }
    DrawModeButtons();
    dpi_.DrawTexts();
    lighting_.DrawTexts();
}

void BasicPage::DrawRowBox(int row, bool over) {
    context_->drawImage(over ? kBasicPage.rowBoxOver : kBasicPage.rowBoxNormal,
                        kBasicPage.rowBox(row).topLeft());
    Canvas& canvas = context_->window().canvas();
    const std::string& label =
        context_->labels()[static_cast<std::size_t>(shownMode())][static_cast<std::size_t>(row - 1)];
    canvas.drawText(std::to_string(row), kBasicPage.rowNumber(row), FontRole::Text, context_->textColour(),
                    TextAlign::Left);
    canvas.drawText(label, kBasicPage.rowLabel(row), FontRole::Text, context_->textColour(), TextAlign::Left);
}

void BasicPage::DrawModeButtons() {
    const ImageButton* buttons[] = {&kBasicPage.modeA, &kBasicPage.modeB};
    for (int mode = 0; mode < 2; ++mode) {
        const ImageButton& button = *buttons[mode];
        context_->drawButton(button.rect, mode == shownMode() ? button.overImage : button.normalImage,
                             kModeCaptions[static_cast<std::size_t>(mode)]);
    }
}

void BasicPage::DrawDefaultButton(bool over) {
    const ImageButton& button = kBasicPage.defaultButton;
    context_->drawButton(button.rect, over ? button.overImage : button.normalImage,
                         context_->text(TextId::kBasicDefault));
}

std::vector<HoverControl> BasicPage::hoverControls() {
    std::vector<HoverControl> controls;
    controls.push_back({kBasicPage.defaultButton.rect, 0, [this](bool over) { DrawDefaultButton(over); }});
    for (int row = 1; row <= BasicPageLayout::kRowCount; ++row) {
        controls.push_back(
            {kBasicPage.rowBox(row), kRowBoxHoverGroup, [this, row](bool over) { DrawRowBox(row, over); }});
    }
    return controls;
}

// --- Clicks --------------------------------------------------------------------

std::vector<BasicPage::Hit> BasicPage::DispatchTable() {
    const BasicPageLayout& b = kBasicPage;
    std::vector<Hit> hits{
        {b.modeA.rect, [this] { SelectMode(0); }},
        {b.modeB.rect, [this] { SelectMode(1); }},
        {b.defaultButton.rect, [this] { Default(); }},
    };
    for (int row = 1; row <= BasicPageLayout::kRowCount; ++row) {
        hits.push_back({b.rowBox(row), [this, row] { RowClick(row); }});
    }
    for (int segment = 0; segment < BasicPageLayout::kReportRateSegmentCount; ++segment) {
        hits.push_back({b.reportRateSegment(segment), [this, segment] { dpi_.SelectReportRate(segment); }});
    }
    for (int stage = 0; stage < kDpiStageCount; ++stage) {
        hits.push_back({b.dpiStageTickBox(stage), [this, stage] { dpi_.ToggleDpiStage(stage); }});
    }
    hits.push_back({b.dpiStageChooser, [this] { dpi_.ToggleStageChooser(); }});
    for (int j = 0; j < kDpiStageCount; ++j) {
        hits.push_back({b.dpiColourSwitch(j), [this, j] { dpi_.ToggleDpiColourSwitch(j); }});
    }
    hits.push_back({b.lightingModeField, [this] { lighting_.ToggleModeList(); }});
    hits.push_back({b.lightingParameterField, [this] { lighting_.ToggleParameterList(); }});
    for (int slot = 0; slot < kLoopColourCount; ++slot) {
        hits.push_back({b.loopColourTickBox(slot), [this, slot] { lighting_.ToggleColourSlot(slot); }});
    }
    for (int slot = 0; slot < kLoopColourCount; ++slot) {
        hits.push_back({b.loopColourSwatch(slot).rect, [this, slot] { lighting_.EditLoopColour(slot); }});
    }
    for (int stage = 0; stage < BasicPageLayout::kDpiColumnCount; ++stage) {
        for (int cell = 1; cell <= BasicPageLayout::kMaxDpiCells; ++cell) {
            hits.push_back(
                {b.dpiCell(stage, cell), [this, stage, cell] { dpi_.SetDpiStageValue(stage, cell); }});
        }
    }
    return hits;
}

void BasicPage::ClosingPass(Point point) {
    WindowPort& window = context_->window();
    for (int row = 1; row <= kRowsClosedByClickElsewhere; ++row) {
        if (!kBasicPage.rowList(row).rect.contains(point) && !kBasicPage.rowBox(row).contains(point)) {
            rowLists_[static_cast<std::size_t>(row - 1)].close(window);
            CloseDpiSubList();
        }
    }
    lighting_.modeList().closeUnlessHit(window, point, kBasicPage.lightingModeList.rect,
                                        kBasicPage.lightingModeField);
    lighting_.parameterList().closeUnlessHit(
        window, point, kBasicPage.lightingParameterList(context_->working().lightingMode).rect,
        kBasicPage.lightingParameterField);
    dpi_.stageChooser().closeUnlessHit(window, point, kBasicPage.dpiStageChooserList.rect,
                                       kBasicPage.dpiStageChooser);
}

bool BasicPage::click(Point point) {
    ClosingPass(point);
    for (const Hit& hit : hits_) {
        if (hit.rect.contains(point)) {
            hit.action();
            return true;
        }
    }
    return false;
}

void BasicPage::RowClick(int row) {
    const int button = row - 1;
    WindowPort& window = context_->window();
    DropDown& list = rowLists_[static_cast<std::size_t>(button)];
    if (list.isOpen()) {
        list.close(window);
        return;
    }
    for (DropDown& other : rowLists_) {
        if (&other != &list) {
            other.close(window);
        }
    }
    // "Left Click" is never taken from the last button the mouse receives
    // that holds it.
    if (assignment_.HoldsLastLeftClick(button, shownMode())) {
        context_->showWarning(context_->text(TextId::kLeftKeyMustBeSelected));
        return;
    }
    list.open(window, kBasicPage.rowList(row).rect, FunctionEntries(context_->language()));
}

void BasicPage::SelectMode(int mode) {
    context_->working().selectedButtonSet = static_cast<Byte>(mode);
    DrawModeButtons();
    for (int row = 1; row <= BasicPageLayout::kRowCount; ++row) {
        DrawRowBox(row, false);
    }
    Present();
}

void BasicPage::Default() {
    assignment_.SetDefaults();
    for (int row = 1; row <= BasicPageLayout::kRowCount; ++row) {
        DrawRowBox(row, false);
    }
    DrawModeButtons();
    Present();
}

// --- Lists ----------------------------------------------------------------------

void BasicPage::CloseDpiSubList() {
    dpiSubList_.close(context_->window());
}

void BasicPage::CloseRowList(int button) {
    rowLists_[static_cast<std::size_t>(button)].close(context_->window());
    // The sub-list stands only beside an open row list.
    CloseDpiSubList();
}

void BasicPage::ChooseFunction(int button, int entry) {
    if (!context_->window().listExists(RowListId(button))) {
        return;
    }
    if (assignment_.AssignButtonFunction(button, shownMode(), entry) == AssignOutcome::RefusedLastLeftClick) {
        context_->showWarning(context_->text(TextId::kLeftKeyMustBeSelected));
    }
    if (entry == kFnDpiSwitch) {
        return; // its list stays open: the DPI sub-list makes the choice
    }
    CloseRowList(button);
    if (button < BasicPageLayout::kRowCount) {
        DrawRowBox(button + 1, false);
        Present();
    }
}

void BasicPage::ChooseDpiSwitch(int entry) {
    const int choice = kDpiUp + entry;
    if (DpiSwitchText(choice).empty()) {
        return;
    }
    for (int button = 0; button < kButtonCount; ++button) {
        if (context_->window().listExists(RowListId(button))) {
            if (assignment_.ChooseDpiSwitch(button, shownMode(), choice) ==
                AssignOutcome::RefusedLastLeftClick) {
                context_->showWarning(context_->text(TextId::kLeftKeyMustBeSelected));
            }
            CloseRowList(button);
            if (button < BasicPageLayout::kRowCount) {
                DrawRowBox(button + 1, false);
                Present();
            }
            return;
        }
    }
    CloseDpiSubList();
}

void BasicPage::listChosen(int id, int index) {
    const int button = id - RowListId(0);
    if (button >= 0 && button < kButtonCount) {
        ChooseFunction(button, index);
    } else if (id == dpiSubList_.id()) {
        ChooseDpiSwitch(index);
    } else if (id == lighting_.modeList().id()) {
        lighting_.ChooseMode(index);
    } else if (id == lighting_.parameterList().id()) {
        lighting_.ChooseParameter(index);
    } else if (id == dpi_.stageChooser().id()) {
        dpi_.ChooseColourStage(index);
    }
}

void BasicPage::listPointer(int id, int index, Rect item) {
    WindowPort& window = context_->window();
    if (index < 0 || !window.listExists(id)) {
        return;
    }
    const int button = id - RowListId(0);
    if (button >= 0 && button < kButtonCount) {
        if (!rowLists_[static_cast<std::size_t>(button)].isOpen()) {
            return;
        }
        window.highlightListItem(id, index);
        if (index == kFnDpiSwitch) {
            dpiSubList_.open(window, kBasicPage.dpiSubList(kBasicPage.rowList(button + 1).rect, item).rect,
                             DpiSwitchEntries());
        } else {
            CloseDpiSubList();
        }
        return;
    }
    if (id == dpiSubList_.id() || id == lighting_.modeList().id() || id == lighting_.parameterList().id() ||
        id == dpi_.stageChooser().id()) {
        window.highlightListItem(id, index);
    }
}

void BasicPage::leave() {
    WindowPort& window = context_->window();
    for (DropDown& list : rowLists_) {
        list.close(window);
    }
    dpiSubList_.close(window);
    lighting_.modeList().close(window);
    lighting_.parameterList().close(window);
    dpi_.stageChooser().close(window);
}

} // namespace quorvel
