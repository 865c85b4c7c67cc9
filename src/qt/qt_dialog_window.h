#pragma once

#include <QDialog>
#include <QImage>
#include <map>
#include <set>

#include "ports/ui_port.h"
#include "qt/skinned_surface.h"
#include "ui/sub_dialog.h"

namespace quorvel {

// A sub-dialog on screen: a skinned surface, modal, at the top-left corner
// of its owner, with its few child controls (white on dark grey) at the controller's
// rectangles. While it runs it tells the controller every key pressed or
// released while it has the focus.
class QtDialogWindow final : public SkinnedSurface<QDialog, SubDialog>, public DialogWindowPort {
    Q_OBJECT

public:
    explicit QtDialogWindow(QWidget* owner);

    // Shows the dialog modally, handing what the user does to `controller`,
    // until the controller ends it or the window is closed; true for OK.
    bool run(SubDialog& controller);

    // The child control with this id, or nullptr.
    QWidget* control(int id) const;

    // DialogWindowPort.
    Canvas& canvas() override { return picture_; }
    void setFont(const FontSpec& font) override;
    void setClientSize(int width, int height) override;
    void end(bool ok) override;
    void createStatic(int id, Rect box, std::string_view text, TextAlign align) override;
    void createEdit(int id, Rect box, std::string_view text, EditKind kind, TextAlign align) override;
    void createList(int id, Rect box, const std::vector<std::string>& items) override;
    void destroyControl(int id) override;
    bool controlExists(int id) const override { return controls_.count(id) != 0; }
    void setControlText(int id, std::string_view text) override;
    std::string controlText(int id) const override;
    void showControl(int id, bool shown) override;
    void focusControl(int id) override;
    std::optional<int> focusedControl() const override;
    void highlightListItem(int id, int index) override;
    void scrollList(int id, int lines) override;
    std::optional<Colour> chooseColour(Colour initial) override;
    std::optional<Colour> highContrastHighlight() const override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    void place(int id, QWidget* control, Rect box);
    std::optional<int> idOf(const QObject* control) const;
    bool takeKey(QWidget* receiver, QKeyEvent* event);

    QFont font_;
    std::map<int, QWidget*> controls_;
    std::set<int> navigationKeysDown_; // pressed keys the focus took
};

} // namespace quorvel
