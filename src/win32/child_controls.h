#pragma once

#include <windows.h>

#include <functional>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "ports/ui_port.h"
#include "win32/gdi_object.h"

namespace quorvel {

// Device pixels per layout pixel of a window: its DPI over 96 where the
// system says it (per-monitor awareness), else 1.
double DpiRatio(HWND window);

// Something the user did to a child control, in layout pixels.
struct ControlEvent {
    enum class Kind {
        EditChanged,       // the user changed the text of an edit
        EditFocusLost,     // an edit lost the keyboard focus
        ListPressed,       // the left button went down on entry `index`
        ListClicked,       // a click (press and release) on entry `index`
        ListDoubleClicked, // a double click on entry `index`
        ListRightClicked,  // the right button went down at `at` (the parent's layout pixels)
        ListPointer, // the pointer is over entry `index` (-1: none), whose rectangle in the list is `item`
    };
    Kind kind;
    int id = 0;
    int index = -1;
    Point at{};
    Rect item{};
};

// The real child controls of a window or a dialog, by id: static texts,
// one-line edits and list boxes, white on dark grey, at rectangles given in
// layout pixels (scaled by the window's device pixels per layout pixel).
// What the user does to them comes back as ControlEvents; setting a text
// does not.
class ChildControls {
public:
    using EventHandler = std::function<void(const ControlEvent&)>;

    ChildControls(HWND parent, EventHandler handler);
    ~ChildControls();
    ChildControls(const ChildControls&) = delete;
    ChildControls& operator=(const ChildControls&) = delete;

    // The parent's device pixels per layout pixel; the font of the controls.
    // Controls made later take them.
    void setRatio(double ratio) { ratio_ = ratio; }
    double ratio() const { return ratio_; }
    // The parent moved to a screen of another density: the controls there
    // keep their layout places and take fonts of the new density.
    void rescale(double ratio);
    void setFont(const FontSpec& font);

    void createStatic(int id, Rect box, std::string_view text, TextAlign align);
    void createEdit(int id, Rect box, std::string_view text, EditKind kind, TextAlign align);
    // A drop-down list: bordered, its entries sharing the height when they fit.
    void createList(int id, Rect box, const std::vector<std::string>& items);
    // A list box without a border whose entries change with setListItems.
    void createListBox(int id, Rect box);
    void setListItems(int id, const std::vector<std::string>& items);
    // The entries from `first` on become `items`; those before stay.
    // As the window port's replaceListItems.
    void replaceListItems(int id, std::size_t first, std::size_t count, std::span<const std::string> items);
    void destroy(int id);
    bool exists(int id) const { return controls_.count(id) != 0; }
    void setText(int id, std::string_view text);
    std::string text(int id) const;
    void show(int id, bool shown);
    void focus(int id);
    // Selects entry `index` of a list (-1: none) and scrolls it into view, quietly.
    void highlight(int id, int index);
    void scroll(int id, int lines);

    HWND handle(int id) const;
    std::optional<int> idOf(HWND control) const;
    bool isEdit(int id) const;
    // The edits, in the order of their ids.
    std::vector<int> edits() const;

    // The parent's WM_COMMAND and WM_CTLCOLOR... messages; nothing when the
    // message is not about one of these controls.
    std::optional<LRESULT> handleMessage(UINT message, WPARAM wParam, LPARAM lParam);

private:
    enum class Type { Static, Edit, DropDown, ListBox };
    struct Control {
        HWND window = nullptr;
        Type type = Type::Static;
        EditKind editKind = EditKind::Text;
        GdiObject<HFONT> font; // its own, where the text needs a smaller one
        std::wstring whole;    // a static's whole text, which it may show shortened
    };

    HWND make(int id, Type type, const wchar_t* className, DWORD style, Rect box, std::wstring_view text);
    RECT DeviceRect(Rect box) const;
    Point LayoutPoint(int x, int y) const;
    void ReportPointer(int id, HWND list, int x, int y);
    // Shows `text` in a static or an edit in the font that fits it.
    void ShowFitted(Control& control, std::wstring_view text);
    void FitEntries(HWND list, const std::vector<std::wstring>& entries);
    static LRESULT CALLBACK ListProc(HWND list, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                     DWORD_PTR self);
    static LRESULT CALLBACK EditProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                     DWORD_PTR self);

    HWND parent_;
    EventHandler handler_;
    double ratio_ = 1.0;
    FontSpec fontSpec_;
    GdiObject<HFONT> font_;
    GdiObject<HBRUSH> background_;
    GdiObject<HBRUSH> focusBackground_;
    std::map<int, Control> controls_;
    bool settingText_ = false; // a text set by the program: no EditChanged
};

} // namespace quorvel
