#pragma once

#include <memory>
#include <string_view>

#include "ports/pointer_settings_port.h"

namespace quorvel {

// Where GNOME keeps the mouse's settings.
inline constexpr std::string_view kGnomeMouseSchema = "org.gnome.desktop.peripherals.mouse";

// The GIO library, loaded when the settings are first opened: the program
// does not link it.
inline constexpr std::string_view kGioLibrary = "libgio-2.0.so.0";

// The pointer settings of a GNOME desktop, through GSettings:
// - speed 1-20 is the key "speed" (-1 to 1): (v - 10) / 10, back as
//   round(10 x speed + 10), both clamped to their ranges;
// - pointer precision on is "accel-profile" "default" or "adaptive", off is
//   "flat" (writing "on" chooses "default");
// - the double-click time is "double-click" in ms;
// - GNOME has no wheel-lines setting: not offered.
// A key the installed schema lacks is not offered either.
class GnomePointerSettings final : public PointerSettingsPort {
public:
    // Null when the schema is not installed, or when GIO or one of the
    // functions this adapter calls is missing.
    static std::unique_ptr<GnomePointerSettings> Open(std::string_view schemaId = kGnomeMouseSchema,
                                                      std::string_view gioLibrary = kGioLibrary);
    ~GnomePointerSettings() override;
    GnomePointerSettings(const GnomePointerSettings&) = delete;
    GnomePointerSettings& operator=(const GnomePointerSettings&) = delete;

    SettingRead<bool> pointerPrecision() override;
    SettingStatus setPointerPrecision(bool on) override;
    SettingRead<int> mouseSpeed() override;
    SettingStatus setMouseSpeed(int speed) override;
    SettingRead<int> wheelScrollLines() override;
    SettingStatus setWheelScrollLines(int lines) override;
    SettingRead<int> doubleClickTime() override;
    SettingStatus setDoubleClickTime(int milliseconds) override;

private:
    struct Settings;
    explicit GnomePointerSettings(std::unique_ptr<Settings> settings);
    std::unique_ptr<Settings> settings_;
};

// The conversions between the 1-20 speed and GNOME's -1 to 1.
double GnomeSpeedFromMouseSpeed(int speed);
int MouseSpeedFromGnomeSpeed(double speed);

// The pointer settings of the desktop this program runs on: GNOME's when GIO
// and the schema are installed, otherwise those of a KeptPointerSettings.
// Nothing is loaded or looked up until the first call to one of its functions.
std::unique_ptr<PointerSettingsPort> DesktopPointerSettings(std::string_view schemaId = kGnomeMouseSchema,
                                                            std::string_view gioLibrary = kGioLibrary);

} // namespace quorvel
