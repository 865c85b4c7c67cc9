#include "system/windows/windows_pointer_settings.h"

#include <climits>
#include <cstdint>
#include <windows.h>

namespace quorvel {

namespace {

UINT Flags(PointerSettingsPort::Scope scope) {
    return scope == PointerSettingsPort::Scope::Profile ? (SPIF_UPDATEINIFILE | SPIF_SENDCHANGE)
                                                        : SPIF_SENDCHANGE;
}

} // namespace

std::optional<PointerSettingsPort::Acceleration> WindowsPointerSettings::acceleration() const {
    int values[3] = {};
    if (::SystemParametersInfoW(SPI_GETMOUSE, 0, values, 0) == 0) {
        return std::nullopt;
    }
    return Acceleration{values[0], values[1], values[2]};
}

bool WindowsPointerSettings::setAcceleration(const Acceleration& value, Scope scope) {
    int values[3] = {value.threshold1, value.threshold2, value.level};
    return ::SystemParametersInfoW(SPI_SETMOUSE, 0, values, Flags(scope)) != 0;
}

std::optional<int> WindowsPointerSettings::speed() const {
    int speed = 0;
    if (::SystemParametersInfoW(SPI_GETMOUSESPEED, 0, &speed, 0) == 0) {
        return std::nullopt;
    }
    return speed;
}

bool WindowsPointerSettings::setSpeed(int speed, Scope scope) {
    // The speed travels in the pointer argument itself. Windows leaves the
    // integer argument unused; Wine reads the speed from it, so it carries the
    // speed as well.
    return ::SystemParametersInfoW(SPI_SETMOUSESPEED, static_cast<UINT>(speed),
                                   reinterpret_cast<void*>(static_cast<std::intptr_t>(speed)),
                                   Flags(scope)) != 0;
}

std::optional<int> WindowsPointerSettings::wheelScrollLines() const {
    UINT lines = 0;
    if (::SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &lines, 0) == 0) {
        return std::nullopt;
    }
    return lines == WHEEL_PAGESCROLL ? kPageScroll : static_cast<int>(lines);
}

bool WindowsPointerSettings::setWheelScrollLines(int lines, Scope scope) {
    const UINT value = lines == kPageScroll ? WHEEL_PAGESCROLL : static_cast<UINT>(lines);
    return ::SystemParametersInfoW(SPI_SETWHEELSCROLLLINES, value, nullptr, Flags(scope)) != 0;
}

int WindowsPointerSettings::doubleClickTime() const {
    return static_cast<int>(::GetDoubleClickTime());
}

bool WindowsPointerSettings::setDoubleClickTime(int milliseconds, Scope scope) {
    return ::SystemParametersInfoW(SPI_SETDOUBLECLICKTIME, static_cast<UINT>(milliseconds), nullptr,
                                   Flags(scope)) != 0;
}

} // namespace quorvel
