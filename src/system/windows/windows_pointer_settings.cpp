#include "system/windows/windows_pointer_settings.h"

#include <cstdint>
#include <windows.h>

namespace quorvel {

namespace {

// Every setting goes to the user's profile as well as to the session, so
// that it outlives the sign-out, as Control Panel's own do.
constexpr UINT kSessionAndProfile = SPIF_UPDATEINIFILE | SPIF_SENDCHANGE;

SettingStatus StatusOf(BOOL done) {
    return done != 0 ? SettingStatus::Done : SettingStatus::Failed;
}

} // namespace

SettingRead<bool> WindowsPointerSettings::pointerPrecision() {
    int values[3] = {}; // the two thresholds and the acceleration
    if (::SystemParametersInfoW(SPI_GETMOUSE, 0, values, 0) == 0) {
        return {SettingStatus::Failed, false};
    }
    return {SettingStatus::Done, values[2] != 0};
}

SettingStatus WindowsPointerSettings::setPointerPrecision(bool on) {
    int values[3] = {0, 0, 0};
    if (on) {
        values[0] = 6;
        values[1] = 10;
        values[2] = 1;
    }
    return StatusOf(::SystemParametersInfoW(SPI_SETMOUSE, 0, values, kSessionAndProfile));
}

SettingRead<int> WindowsPointerSettings::mouseSpeed() {
    int speed = 0;
    if (::SystemParametersInfoW(SPI_GETMOUSESPEED, 0, &speed, 0) == 0) {
        return {SettingStatus::Failed, 0};
    }
    return {SettingStatus::Done, speed};
}

SettingStatus WindowsPointerSettings::setMouseSpeed(int speed) {
    if (speed < 1 || speed > 20) {
        return SettingStatus::Failed;
    }
    // The speed travels in the pointer argument itself. Windows leaves the
    // integer argument unused; Wine reads the speed from it, so it carries the
    // speed as well.
    return StatusOf(::SystemParametersInfoW(SPI_SETMOUSESPEED, static_cast<UINT>(speed),
                                            reinterpret_cast<void*>(static_cast<std::intptr_t>(speed)),
                                            kSessionAndProfile));
}

SettingRead<int> WindowsPointerSettings::wheelScrollLines() {
    UINT lines = 0;
    if (::SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &lines, 0) == 0) {
        return {SettingStatus::Failed, 0};
    }
    if (lines == WHEEL_PAGESCROLL) {
        return {SettingStatus::Done, kWheelPageScroll};
    }
    // Any other count above int's range is no count a person set.
    if (lines > 0x7FFFFFFFu) {
        return {SettingStatus::Failed, 0};
    }
    return {SettingStatus::Done, static_cast<int>(lines)};
}

SettingStatus WindowsPointerSettings::setWheelScrollLines(int lines) {
    if (lines < 0 && lines != kWheelPageScroll) {
        return SettingStatus::Failed; // would wrap to a huge count
    }
    const UINT value = lines == kWheelPageScroll ? WHEEL_PAGESCROLL : static_cast<UINT>(lines);
    return StatusOf(::SystemParametersInfoW(SPI_SETWHEELSCROLLLINES, value, nullptr, kSessionAndProfile));
}

SettingRead<int> WindowsPointerSettings::doubleClickTime() {
    const UINT time = ::GetDoubleClickTime();
    if (time == 0 || time > 0x7FFFFFFFu) {
        return {SettingStatus::Failed, 0};
    }
    return {SettingStatus::Done, static_cast<int>(time)};
}

SettingStatus WindowsPointerSettings::setDoubleClickTime(int milliseconds) {
    if (milliseconds < 0) {
        return SettingStatus::Failed;
    }
    return StatusOf(::SystemParametersInfoW(SPI_SETDOUBLECLICKTIME, static_cast<UINT>(milliseconds), nullptr,
                                            kSessionAndProfile));
}

} // namespace quorvel
