#pragma once

#include "ports/pointer_settings.h"

namespace quorvel {

// The pointer settings of the Windows session, through SystemParametersInfoW.
class WindowsPointerSettings final : public PointerSettingsPort {
public:
    std::optional<Acceleration> acceleration() const override;
    bool setAcceleration(const Acceleration& value, Scope scope) override;
    std::optional<int> speed() const override;
    bool setSpeed(int speed, Scope scope) override;
    std::optional<int> wheelScrollLines() const override;
    bool setWheelScrollLines(int lines, Scope scope) override;
    int doubleClickTime() const override;
    bool setDoubleClickTime(int milliseconds, Scope scope) override;
};

} // namespace quorvel
