#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "ports/ui_port.h"
#include "win32/skinned_popup.h"

namespace quorvel {

// The main window on screen: a popup without a system frame, the size of the
// skin's background, painted from an off-screen picture its controller draws
// into. Left presses and pointer moves go to the controller in layout pixels;
// child lists and edits stand at the rectangles the controller gives.
class Win32Window final : public SkinnedPopup, public WindowPort {
public:
    // `className`: the window class, by which a second launch finds the window.
    explicit Win32Window(const wchar_t* className);
    Win32Window(const Win32Window&) = delete;
    Win32Window& operator=(const Win32Window&) = delete;

    // The controller, which the window's client object shows to assistive
    // technology; nullptr before it goes.
    void setController(MainWindow* controller);
    void setIcon(HICON big, HICON small);
    // Messages the window does not handle itself go to `handler` first;
    // nullopt: default processing.
    void setMessageHandler(std::function<std::optional<LRESULT>(UINT, WPARAM, LPARAM)> handler) {
        messageHandler_ = std::move(handler);
    }
    // Device pixels per layout pixel.
    double ratio() const { return controls_.ratio(); }

    // WindowPort.
    Canvas& canvas() override { return picture_; }
    void setFonts(const FontSpec& text, const FontSpec& title) override;
    void setClientSize(int width, int height) override;
    void show() override;
    void hide() override;
    void minimise() override;
    bool visible() const override;
    void setTaskbarEntry(bool shown) override;
    void startMove(Point at) override;
    void createList(int id, Rect box, const std::vector<std::string>& items) override;
    void destroyList(int id) override { controls_.destroy(id); }
    bool listExists(int id) const override { return controls_.exists(id); }
    void highlightListItem(int id, int index) override { controls_.highlight(id, index); }
    std::optional<Colour> chooseColour(Colour initial) override;
    std::optional<std::filesystem::path> chooseProfileFile(bool save, std::string_view title) override;
    void setTitle(std::string_view title) override;
    void focusControl(int id) override { followFocus(id); }
    std::optional<Colour> highContrastHighlight() const override { return HighContrastHighlight(); }
    std::optional<int> popupMenu(const std::vector<std::string>& items, Point at) override;
    void createListBox(int id, Rect box) override;
    void setListItems(int id, const std::vector<std::string>& items) override;
    void replaceListItems(int id, std::size_t first, std::size_t count,
                          std::span<const std::string> items) override;
    void createStatic(int id, Rect box, std::string_view text, TextAlign align) override;
    void createEdit(int id, Rect box, std::string_view text, EditKind kind, TextAlign align) override;
    void destroyControl(int id) override { controls_.destroy(id); }
    bool controlExists(int id) const override { return controls_.exists(id); }
    void setControlText(int id, std::string_view text) override { controls_.setText(id, text); }
    std::string controlText(int id) const override { return controls_.text(id); }

private:
    std::optional<LRESULT> OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnControlEvent(const ControlEvent& event) override;
    void LeftButtonDown(Point point) override;
    void MouseMove(Point point) override;

    MainWindow* controller_ = nullptr;
    std::function<std::optional<LRESULT>(UINT, WPARAM, LPARAM)> messageHandler_;
    int width_ = 0; // layout pixels
    int height_ = 0;
    bool dragging_ = false;
    POINT dragOffset_{};
};

} // namespace quorvel
