#pragma once

#include <QImage>
#include <QListWidget>
#include <QPoint>
#include <QWidget>
#include <map>

#include "app/main_window.h"
#include "ports/ui_port.h"
#include "qt/control_accessibility.h"
#include "qt/skinned_surface.h"

namespace quorvel {

// The main window on screen: a skinned surface without a taskbar button.
// Child list boxes stand at the rectangles the controller gives. Screen
// readers see the controller's controls as its children.
class SkinnedWindow final : public SkinnedSurface<QWidget, MainWindow>,
                            public WindowPort,
                            public AccessibleControlHost {
    Q_OBJECT

public:
    explicit SkinnedWindow(QWidget* parent = nullptr);

    void setController(MainWindow* controller);

    // WindowPort.
    Canvas& canvas() override { return picture_; }
    void setFonts(const FontSpec& text, const FontSpec& title) override;
    void setClientSize(int width, int height) override;
    void show() override;
    void hide() override;
    void minimise() override;
    bool visible() const override { return isVisible(); }
    void setTaskbarEntry(bool shown) override;
    void startMove(Point at) override;
    void releasePicture() override;
    void createList(int id, Rect box, const std::vector<std::string>& items) override;
    void destroyList(int id) override;
    bool listExists(int id) const override { return lists_.count(id) != 0; }
    void highlightListItem(int id, int index) override;
    std::optional<Colour> chooseColour(Colour initial) override;
    std::optional<std::filesystem::path> chooseProfileFile(bool save, std::string_view title) override;
    void setTitle(std::string_view title) override;
    void focusControl(int id) override;
    std::optional<Colour> highContrastHighlight() const override;
    std::optional<int> popupMenu(const std::vector<std::string>& items, Point at) override;
    void createListBox(int id, Rect box) override;
    void setListItems(int id, const std::vector<std::string>& items) override;
    void replaceListItems(int id, std::size_t first, std::size_t count,
                          std::span<const std::string> items) override;
    void createStatic(int id, Rect box, std::string_view text, TextAlign align) override;
    void createEdit(int id, Rect box, std::string_view text, EditKind kind, TextAlign align) override;
    void destroyControl(int id) override;
    bool controlExists(int id) const override { return controls_.count(id) != 0; }
    void setControlText(int id, std::string_view text) override;
    std::string controlText(int id) const override;
    // The static text or edit with control identifier `id`, or nullptr.
    QWidget* control(int id) const;
    // The list with control identifier `id`, or nullptr.
    QListWidget* list(int id) const;

    const QFont& textFont() const { return textFont_; }

    // AccessibleControlHost.
    ControlSource* accessibleSource() const override { return controller_; }
    int accessibleFocus() const override { return controller_ != nullptr ? controller_->focusedControl() : -1; }
    QWidget* accessibleChild(int id) const override;

protected:
    bool takeMove(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    // Tab and Shift+Tab move the controller's focus, from the window and from
    // its edits and list boxes alike: none of them keeps the keyboard.
    bool focusNextPrevChild(bool next) override;
    void closeEvent(QCloseEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Tells the controller which entry of list `id` the pointer is over.
    void ReportPointer(int id, QPoint inViewport);
    // Hands the list's choices to the controller and keeps it.
    void AddList(int id, QListWidget* list);
    QFont textFont_;
    QFont titleFont_;
    std::map<int, QListWidget*> lists_;
    std::map<int, QWidget*> controls_;
    bool dragging_ = false;
    QPoint dragOffset_;
    QtAccessibilityPort accessibility_{*this};
};

} // namespace quorvel
