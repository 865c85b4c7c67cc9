#pragma once

#include <QImage>
#include <QListWidget>
#include <QPoint>
#include <QWidget>
#include <map>

#include "app/main_window.h"
#include "ports/ui_port.h"
#include "qt/skinned_surface.h"

namespace quorvel {

// The main window on screen: a skinned surface without a taskbar button.
// Child list boxes stand at the rectangles the controller gives.
class SkinnedWindow final : public SkinnedSurface<QWidget, MainWindow>, public WindowPort {
    Q_OBJECT

public:
    explicit SkinnedWindow(QWidget* parent = nullptr);

    void setController(MainWindow* controller) { controller_ = controller; }

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
    void createList(int id, Rect box, const std::vector<std::string>& items) override;
    void destroyList(int id) override;
    bool listExists(int id) const override { return lists_.count(id) != 0; }
    void highlightListItem(int id, int index) override;
    std::optional<Colour> chooseColour(Colour initial) override;
    // The list with control identifier `id`, or nullptr.
    QListWidget* list(int id) const;

    const QFont& textFont() const { return textFont_; }

protected:
    bool takeMove(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Tells the controller which entry of list `id` the pointer is over.
    void ReportPointer(int id, QPoint inViewport);
    QFont textFont_;
    QFont titleFont_;
    std::map<int, QListWidget*> lists_;
    bool dragging_ = false;
    QPoint dragOffset_;
};

} // namespace quorvel
