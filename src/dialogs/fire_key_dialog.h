#pragma once

#include <optional>

#include "assign/assignment_dialogs.h"
#include "dialogs/list_choice.h"
#include "ui/sub_dialog.h"

namespace quorvel {

// The values the Fire-key dialog starts with and the ranges it keeps them
// in: a speed out of range (smaller is faster) becomes the fastest, times
// out of range a single shot.
inline constexpr int kInitialFireSpeed = 32;
inline constexpr int kInitialFireTimes = 1;
inline constexpr int kFastestFireSpeed = 5;
inline constexpr int kSlowestFireSpeed = 255;
inline constexpr int kMostFireTimes = 255; // 0: until the button is released
inline constexpr int kFireTimesFallback = 1;

// The Fire-key dialog: the key from the fire-key list, the speed and the
// number of shots. The speed is corrected when its edit loses the focus
// (and at OK, so the value in the box is the one returned); the times at
// every change.
class CFireKeyDialog final : public SubDialog {
public:
    CFireKeyDialog(DialogWindowPort& window, DialogContext context);

    FireKeyChoice result() const { return {key_.position(), speed_, times_, key_.text()}; }

protected:
    void CreateControls() override;
    void DrawOwnTexts() override;
    bool Click(Point point) override { return key_.click(point); }
    void ReadResults() override { CorrectSpeed(); }
    void EditChanged(int id) override;
    void EditFocusLost(int id) override;
    void ListHover(int id, int index) override { key_.hover(id, index); }
    void ListChosen(int id, int index) override { key_.choose(id, index); }
    std::vector<Control> OwnControls() override;
    bool ActOwn(int id, ControlAction action) override;
    bool DismissOwn() override { return key_.dismiss(); }

private:
    void CorrectSpeed();
    void CorrectTimes();

    ListChoice key_;
    std::optional<int> focusBeforeList_;
    int speed_ = kInitialFireSpeed;
    int times_ = kInitialFireTimes;
};

} // namespace quorvel
