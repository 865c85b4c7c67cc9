#pragma once

#include "ports/pointer_settings_port.h"

namespace quorvel {

// The pointer settings of the Windows session, through SystemParametersInfoW:
// - pointer precision on is the thresholds 6 and 10 with acceleration 1, off
//   is 0, 0, 0; it reads as on when the acceleration is not 0;
// - speed 1-20 and the wheel lines (WHEEL_PAGESCROLL for one screen) as
//   Windows keeps them;
// - the double-click time from GetDoubleClickTime (0 is a failure).
// Precision, speed and wheel lines are told to the other programs but not
// saved to the user's profile; the double-click time is saved as well.
class WindowsPointerSettings final : public PointerSettingsPort {
public:
    SettingRead<bool> pointerPrecision() override;
    SettingStatus setPointerPrecision(bool on) override;
    SettingRead<int> mouseSpeed() override;
    SettingStatus setMouseSpeed(int speed) override;
    SettingRead<int> wheelScrollLines() override;
    SettingStatus setWheelScrollLines(int lines) override;
    SettingRead<int> doubleClickTime() override;
    SettingStatus setDoubleClickTime(int milliseconds) override;
};

} // namespace quorvel
