#include "app/macro_panel.h"

#include <algorithm>

#include "app/advanced_page_layout.h"
#include "app/page_context.h"
#include "assign/function_list.h"
#include "config/file_error_text.h"
#include "macro/macro_editing.h"
#include "macro/macro_notices.h"
#include "ports/message_port.h"

namespace quorvel {

namespace {

const AdvancedPageLayout& A = kAdvancedPage;

constexpr int kButtonHoverGroup = kFirstPageHoverGroup + 1;

} // namespace

MacroPanel::MacroPanel(PageContext& context, IniFile recordIni)
    : context_(&context), library_(std::move(recordIni)), mouseEvents_(A.mouseEventList.id) {
}

MacroPanel::~MacroPanel() = default;

// --- Drawing and the child controls ----------------------------------------------

void MacroPanel::DrawButton(const ImageButton& button, TextId caption, bool over) {
    context_->drawButton(button.rect, over ? button.overImage : button.normalImage, context_->text(caption));
}

void MacroPanel::draw() {
    Canvas& canvas = context_->window().canvas();
    const auto text = [&](TextId id, Rect box, TextAlign align) {
        canvas.drawText(context_->text(id), box, FontRole::Text, context_->textColour(), align);
    };
    const auto wrapped = [&](TextId id, Rect box) {
        canvas.drawWrappedText(context_->text(id), box, FontRole::Text, context_->textColour());
    };
    text(TextId::kMacroSetting, A.macroSettingCaption, TextAlign::Centre);
    text(TextId::kSelectMacro, A.selectMacroCaption, TextAlign::Centre);
    text(TextId::kKeyPressSequence, A.keyPressSequenceCaption, TextAlign::Centre);
    text(TextId::kRecordOption, A.recordOptionCaption, TextAlign::Centre);
    wrapped(TextId::kStartRecording, A.startRecordingCaption);
    wrapped(TextId::kStopRecording, A.stopRecordingCaption);
    text(TextId::kMacroName, A.captionAbove(A.macroNameBox.rect), TextAlign::Left);
    text(TextId::kLoopTimes, A.captionAbove(A.loopTimesBox.rect), TextAlign::Left);
    text(TextId::kInsertAMouseEvent, A.captionAbove(A.insertBox), TextAlign::Left);
    DrawButton(A.newButton, TextId::kNew, false);
    DrawButton(A.deleteButton, TextId::kDelete, false);
    DrawButton(A.confirmButton, TextId::kConfirm, false);
    if (!controlsMade_) {
        CreateControls();
    }
}

void MacroPanel::CreateControls() {
    controlsMade_ = true;
    WindowPort& window = context_->window();
    window.createListBox(A.macroList.id, A.macroList.rect);
    window.createListBox(A.eventList.id, A.eventList.rect);
    window.createEdit(A.macroNameBox.id, A.macroNameBox.rect, "", EditKind::Text, TextAlign::Centre);
    window.createEdit(A.loopTimesBox.id, A.loopTimesBox.rect, "", EditKind::Digits, TextAlign::Centre);
    window.createStatic(A.insertBoxText().id, A.insertBoxText().rect, "", TextAlign::Centre);

    library_.Load(context_->working());
    ShowNames();
    window.setControlText(A.macroNameBox.id, library_.nameText);
    ShowEvents();
    LoopTextSet();
}

void MacroPanel::leave() {
    if (recorder_.recording()) {
        EndRecording();
    }
    WindowPort& window = context_->window();
    window.destroyList(A.macroList.id);
    window.destroyList(A.eventList.id);
    mouseEvents_.close(window);
    window.destroyControl(A.macroNameBox.id);
    window.destroyControl(A.loopTimesBox.id);
    window.destroyControl(A.insertBoxText().id);
    controlsMade_ = false;
}

std::vector<HoverControl> MacroPanel::hoverControls() {
    return {
        {A.newButton.rect, kButtonHoverGroup,
         [this](bool over) { DrawButton(A.newButton, TextId::kNew, over); }},
        {A.deleteButton.rect, kButtonHoverGroup,
         [this](bool over) { DrawButton(A.deleteButton, TextId::kDelete, over); }},
        {A.confirmButton.rect, kButtonHoverGroup,
         [this](bool over) { DrawButton(A.confirmButton, TextId::kConfirm, over); }},
    };
}

void MacroPanel::ShowNames() {
    std::vector<std::string> shown;
    for (const std::string& name : library_.names()) {
        shown.push_back(ShownMacroName(name));
    }
    WindowPort& window = context_->window();
    window.setListItems(A.macroList.id, shown);
    window.highlightListItem(A.macroList.id, library_.selected().value_or(-1));
}

void MacroPanel::ShowEvents() {
    context_->window().setListItems(A.eventList.id, library_.events);
    SelectLine(line_);
}

void MacroPanel::ShowEventsChanged(std::size_t first, std::size_t removed, std::size_t added) {
    context_->window().replaceListItems(A.eventList.id, first, removed,
                                        std::span<const std::string>(library_.events).subspan(first, added));
}

void MacroPanel::SelectLine(std::optional<int> line) {
    if (line && (*line < 0 || *line >= static_cast<int>(library_.events.size()))) {
        line.reset();
    }
    line_ = line;
    context_->window().highlightListItem(A.eventList.id, line_.value_or(-1));
}

// --- Clicks --------------------------------------------------------------------------

bool MacroPanel::click(Point point) {
    // A click anywhere but on the insert box closes the mouse events, and
    // still does what it does there.
    if (mouseEvents_.isOpen() && !A.insertBox.contains(point)) {
        CloseMouseEventList();
    }
    const std::pair<Rect, void (MacroPanel::*)()> controls[] = {
        {A.startRecording, &MacroPanel::StartRecording},
        {A.stopRecording, &MacroPanel::StopRecording},
        {A.newButton.rect, &MacroPanel::New},
        {A.deleteButton.rect, &MacroPanel::Delete},
        {A.confirmButton.rect, &MacroPanel::Confirm},
        {A.insertBox, &MacroPanel::ToggleMouseEventList},
    };
    for (const auto& [rect, run] : controls) {
        if (rect.contains(point)) {
            (this->*run)();
            return true;
        }
    }
    return false;
}

// --- The macro list, New, Delete and Confirm ------------------------------------

void MacroPanel::SelectMacro(int index) {
    library_.Select(index, context_->working());
    line_.reset();
    context_->window().setControlText(A.macroNameBox.id, library_.nameText);
    ShowEvents();
    LoopTextSet();
}

void MacroPanel::New() {
    const PageContext::DataChange files = BeginFileChange();
    const MacroLibrary::NewOutcome outcome = library_.New(context_->working());
    switch (outcome.result) {
    case NewMacroResult::Added:
        line_.reset();
        ShowNames();
        ShowEvents();
        LoopTextSet();
        ShowChange(outcome.change);
        return;
    case NewMacroResult::NotSaved:
        ShowChange(outcome.change);
        return;
    case NewMacroResult::NameBlank:
        context_->showMessage(context_->text(TextId::kMacroNameIsBlank));
        return;
    case NewMacroResult::NameNotStorable:
        context_->showMessage(context_->text(TextId::kMacroNameNotStorable));
        return;
    case NewMacroResult::NamesTooLong:
        context_->showMessage(context_->text(TextId::kMacroNamesTooLong));
        return;
    case NewMacroResult::TooMany:
        context_->showWarning(kMacroNumbersUpTo12);
        return;
    case NewMacroResult::NameExists:
        context_->showMessage(context_->text(TextId::kMacroNameAlreadyExists));
        return;
    }
}

void MacroPanel::Delete() {
    const PageContext::DataChange files = BeginFileChange();
    const MacroChange change = library_.Delete(context_->working());
    if (change.done) {
        line_.reset();
        ShowNames();
        ShowEvents();
        context_->window().setControlText(A.macroNameBox.id, library_.nameText);
    }
    ShowChange(change);
}

void MacroPanel::Confirm() {
    const PageContext::DataChange files = BeginFileChange();
    const MacroChange change = library_.Confirm(context_->working());
    if (change.done) {
        // Duplicates of the name that the file held are gone from the list.
        ShowNames();
    }
    ShowChange(change);
    // What the mouse cannot take of the library, told once.
    if (const std::optional<std::string> notice = ConfirmNotice(change.rebuild, context_->language());
        change.done && notice) {
        context_->showWarning(*notice);
    }
}

// The folder's lock for a change of record.ini; the list first follows what
// another program (quorvelctl) did to the file.
PageContext::DataChange MacroPanel::BeginFileChange() {
    PageContext::DataChange change = context_->changeDataFiles();
    if (change.macrosChanged) {
        library_.Refresh();
        ShowNames();
    }
    return change;
}

// A file that could not be changed is told; the buttons whose macro went
// say "Key Off" now, as they are.
void MacroPanel::ShowChange(const MacroChange& change) {
    if (change.error) {
        context_->showMessage(FileErrorText(*change.error, context_->language()));
        return;
    }
    ButtonLabels& labels = context_->labels();
    for (const MacroButton& off : change.rebuild.buttonsOff) {
        labels.at(static_cast<std::size_t>(off.mode)).at(static_cast<std::size_t>(off.button)) =
            FunctionListText(context_->language(), kFnKeyOff);
    }
}

// --- The boxes -------------------------------------------------------------------------

void MacroPanel::editChanged(int id, std::string_view text) {
    if (id == A.macroNameBox.id) {
        library_.nameText = text;
    } else if (id == A.loopTimesBox.id) {
        library_.loopText = text;
        LoopTextSet();
    }
}

// Every change of the Loop Times box, the panel's own included: a count
// out of range shows "1", and the count goes to the selected macro's slot.
void MacroPanel::LoopTextSet() {
    std::optional<int> count = LoopCountOfText(library_.loopText);
    if (!count) {
        library_.loopText = "1";
        count = 1;
    }
    context_->window().setControlText(A.loopTimesBox.id, library_.loopText);
    const std::optional<int> selected = library_.selected();
    if (selected && *selected < kMacroSlotCount) {
        SetMacroLoopCount(context_->working().macroSlots[static_cast<std::size_t>(*selected)], *count);
    }
}

// --- The event list ------------------------------------------------------------------

void MacroPanel::listChosen(int id, int index) {
    if (id == A.macroList.id) {
        SelectMacro(index);
    } else if (id == A.eventList.id) {
        SelectLine(index);
    } else if (id == A.mouseEventList.id) {
        InsertMouseEvent(index);
    }
}

// The lines follow the pointer: an edit works on the line last under it.
void MacroPanel::listPointer(int id, int index, Rect) {
    if (id == A.eventList.id && index >= 0) {
        SelectLine(index);
    } else {
        mouseEvents_.hover(context_->window(), id, index);
    }
}

void MacroPanel::listDoubleClicked(int id, int index) {
    if (id == A.eventList.id) {
        SelectLine(index);
        EditPause(index);
    }
}

void MacroPanel::EditPause(int line) {
    if (line < 0 || line >= static_cast<int>(library_.events.size()) ||
        !IsPauseLine(library_.events[static_cast<std::size_t>(line)])) {
        return;
    }
    const std::optional<DelayChoice> typed = context_->chooseDelay();
    if (!typed) {
        return;
    }
    const auto at = static_cast<std::size_t>(line);
    library_.events[at] = TypedPauseLine(typed->delay, typed->text);
    ShowEventsChanged(at, 1, 1);
    SelectLine(line);
}

void MacroPanel::listRightClicked(int id, Point at) {
    if (id != A.eventList.id) {
        return;
    }
    const std::optional<int> chosen =
        context_->window().popupMenu({std::string(context_->text(TextId::kDelete))}, at);
    // Only the line goes: a deleted event leaves its pause in the list.
    if (chosen == 0 && line_) {
        const auto at = static_cast<std::size_t>(*line_);
        library_.events.erase(library_.events.begin() + *line_);
        ShowEventsChanged(at, 1, 0);
        SelectLine(std::nullopt);
    }
}

void MacroPanel::ToggleMouseEventList() {
    mouseEvents_.toggle(context_->window(), A.mouseEventList.rect,
                        std::vector<std::string>(kMouseEvents.begin(), kMouseEvents.end()));
}

void MacroPanel::CloseMouseEventList() {
    mouseEvents_.close(context_->window());
}

void MacroPanel::InsertMouseEvent(int index) {
    CloseMouseEventList();
    if (index < 0 || index >= static_cast<int>(kMouseEvents.size())) {
        return;
    }
    const std::string_view event = kMouseEvents[static_cast<std::size_t>(index)];
    const InsertedEvents inserted =
        quorvel::InsertMouseEvent(library_.events, line_, library_.selected().has_value(), event);
    ShowEventsChanged(inserted.at, 0, inserted.count);
    SelectLine(inserted.selectLine);
    context_->window().setControlText(A.insertBoxText().id, event);
}

// --- Keys and screen readers -------------------------------------------------------

namespace {

// The panel's painted buttons as controls; its lists and edits keep their
// child control ids.
constexpr int kStartRecordingControl = 160;
constexpr int kStopRecordingControl = 161;
constexpr int kNewControl = 162;
constexpr int kDeleteControl = 163;
constexpr int kConfirmControl = 164;

} // namespace

std::vector<Control> MacroPanel::controls() {
    WindowPort& window = context_->window();
    const auto text = [this](TextId id) { return std::string(context_->text(id)); };
    std::vector<Control> list{
        MakeControl(A.macroList.id, ControlRole::ListBox, text(TextId::kSelectMacro), A.macroList.rect),
        MakeControl(A.eventList.id, ControlRole::ListBox, text(TextId::kKeyPressSequence), A.eventList.rect),
        MakeControl(kStartRecordingControl, ControlRole::Button, text(TextId::kStartRecording), A.startRecording),
        MakeControl(kStopRecordingControl, ControlRole::Button, text(TextId::kStopRecording), A.stopRecording),
        MakeControl(A.macroNameBox.id, ControlRole::Edit, text(TextId::kMacroName), A.macroNameBox.rect,
                    window.controlText(A.macroNameBox.id)),
        MakeControl(A.loopTimesBox.id, ControlRole::Edit, text(TextId::kLoopTimes), A.loopTimesBox.rect,
                    window.controlText(A.loopTimesBox.id)),
        MakeControl(A.mouseEventList.id, ControlRole::DropDown, text(TextId::kInsertAMouseEvent), A.insertBox,
                    mouseEvents_.isOpen() && mouseEvents_.highlighted() >= 0
                        ? mouseEvents_.highlightedEntry()
                        : window.controlText(A.insertBoxText().id)),
        MakeControl(kNewControl, ControlRole::Button, text(TextId::kNew), A.newButton.rect),
        MakeControl(kDeleteControl, ControlRole::Button, text(TextId::kDelete), A.deleteButton.rect),
        MakeControl(kConfirmControl, ControlRole::Button, text(TextId::kConfirm), A.confirmButton.rect),
    };
    list[6].state.expanded = mouseEvents_.isOpen();
    list[2].state.disabled = recorder_.recording();
    list[3].state.disabled = !recorder_.recording();
    return list;
}

bool MacroPanel::act(int id, ControlAction action) {
    if (id == A.mouseEventList.id) {
        if (action != ControlAction::Activate) {
            return mouseEvents_.moveHighlight(context_->window(), action);
        }
        if (mouseEvents_.isOpen() && mouseEvents_.highlighted() >= 0) {
            InsertMouseEvent(mouseEvents_.highlighted());
        } else {
            ToggleMouseEventList();
        }
        return true;
    }
    if (action != ControlAction::Activate) {
        return false;
    }
    const std::pair<int, void (MacroPanel::*)()> buttons[] = {
        {kStartRecordingControl, &MacroPanel::StartRecording},
        {kStopRecordingControl, &MacroPanel::StopRecording},
        {kNewControl, &MacroPanel::New},
        {kDeleteControl, &MacroPanel::Delete},
        {kConfirmControl, &MacroPanel::Confirm},
    };
    for (const auto& [button, run] : buttons) {
        if (button == id) {
            (this->*run)();
            return true;
        }
    }
    return false;
}

bool MacroPanel::dismiss() {
    if (!mouseEvents_.isOpen()) {
        return false;
    }
    CloseMouseEventList();
    return true;
}

// --- The recorder ----------------------------------------------------------------------

void MacroPanel::StartRecording() {
    if (library_.names().empty()) {
        context_->showWarning(context_->text(TextId::kMacroNameIsBlank));
        return;
    }
    context_->showMessage(context_->text(TextId::kStartRecording));
    recorder_.Start();
    library_.events.clear();
    line_.reset();
    ShowEvents();
    context_->window().setTitle(context_->text(TextId::kPressCtrlBreakKeyToStopRecording));
}

void MacroPanel::EndRecording() {
    recorder_.Stop();
    context_->window().setTitle(kApplicationTitle);
}

void MacroPanel::StopRecording() {
    // The recording ends before the box shows: the key that closes the box
    // is no part of the macro.
    const bool wasRecording = recorder_.recording();
    if (wasRecording) {
        EndRecording();
    }
    context_->showMessage(context_->text(TextId::kStopRecording));
    if (!wasRecording) {
        context_->showWarning(context_->text(TextId::kItDoesntStartRecording));
    }
}

bool MacroPanel::keystroke(const Keystroke& key, bool inWindow) {
    if (!recorder_.recording()) {
        return false;
    }
    // Only the lines that changed go to the list: a long recording must not
    // fill the whole list again at every key.
    if (const std::optional<std::size_t> first =
            recorder_.Record(key, library_.selected().has_value(), library_.events)) {
        const std::vector<std::string>& events = library_.events;
        context_->window().setListItemsFrom(A.eventList.id, *first,
                                            std::span(events).subspan(std::min(*first, events.size())));
        SelectLine(static_cast<int>(events.size()) - 1);
    }
    // Typed keys do not work the window's controls while it records.
    return inWindow && !key.release;
}

} // namespace quorvel
