#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "app/page.h"
#include "app/page_context.h"
#include "config/ini_file.h"
#include "lang/texts.h"
#include "macro/macro_library.h"
#include "macro/macro_recorder.h"
#include "ui/drop_down.h"
#include "ui/skin_images.h"

namespace quorvel {


// The macro panel of the Advanced page: the macro list and the selected
// macro's event list, the Macro Name and Loop Times boxes, New, Delete and
// Confirm, the recorder, and the hand edits of the event list (a pause by
// double click, a line deleted through a pop-up menu, mouse events from the
// insert box's list). The page creates it when it is first drawn and
// destroys it when it is left; edits not confirmed go with it, except the
// loop count, which goes to the working configuration at once.
class MacroPanel final : public PageContent {
public:
    MacroPanel(PageContext& context, IniFile recordIni);
    ~MacroPanel() override;
    MacroPanel(const MacroPanel&) = delete;
    MacroPanel& operator=(const MacroPanel&) = delete;

    // PageContent.
    void draw() override;
    void leave() override;
    bool click(Point point) override;
    std::vector<HoverControl> hoverControls() override;
    void listChosen(int id, int index) override;
    void listPointer(int id, int index, Rect item) override;
    void listDoubleClicked(int id, int index) override;
    void listRightClicked(int id, Point at) override;
    void editChanged(int id, std::string_view text) override;
    bool keystroke(const Keystroke& key, bool inWindow) override;
    std::vector<Control> controls() override;
    bool act(int id, ControlAction action) override;
    bool dismiss() override;

    // The controls, as a click on them runs them.
    void StartRecording();
    void StopRecording();
    void New();
    void Delete();
    void Confirm();
    void SelectMacro(int index);
    void EditPause(int line);
    void ToggleMouseEventList();
    void InsertMouseEvent(int index);

    const MacroLibrary& library() const { return library_; }
    bool recording() const { return recorder_.recording(); }
    // The selected line of the event list.
    std::optional<int> selectedLine() const { return line_; }

private:
    void CreateControls();
    void DrawButton(const ImageButton& button, TextId caption, bool over);
    void ShowNames();
    void ShowEvents();
    // The event list after an edit: `removed` lines at `first` gave way to the
    // `added` lines there now (within the events); the list changes only those entries.
    void ShowEventsChanged(std::size_t first, std::size_t removed, std::size_t added);
    void SelectLine(std::optional<int> line);
    void LoopTextSet();
    void CloseMouseEventList();
    void EndRecording();
    PageContext::DataChange BeginFileChange();
    void ShowChange(const MacroChange& change);

    PageContext* context_;
    MacroLibrary library_;
    MacroRecorder recorder_;
    std::optional<int> line_;
    bool controlsMade_ = false;
    DropDown mouseEvents_;
};

} // namespace quorvel
