#pragma once

namespace quorvel {

// What the desktop said to one read or write of a pointer setting.
enum class SettingStatus {
    Done,
    Failed,     // the desktop has the setting but refused the call
    NotOffered, // this desktop has no such setting: nothing was read or changed
};

template <typename T> struct SettingRead {
    SettingStatus status = SettingStatus::NotOffered;
    T value{}; // meaningful only when status is Done
};

// The wheel's "scroll one screen per notch" value, in place of a line count.
inline constexpr int kWheelPageScroll = -1;

// The desktop's pointer settings. Writes take effect at once; whether a
// desktop also keeps them for the next session is the adapter's business.
class PointerSettingsPort {
public:
    virtual ~PointerSettingsPort() = default;

    // Enhance pointer precision: pointer acceleration on or off.
    virtual SettingRead<bool> pointerPrecision() = 0;
    virtual SettingStatus setPointerPrecision(bool on) = 0;

    // Pointer speed, 1 (slowest) to 20 (fastest), 10 in the middle.
    virtual SettingRead<int> mouseSpeed() = 0;
    virtual SettingStatus setMouseSpeed(int speed) = 0;

    // Lines scrolled per wheel notch, or kWheelPageScroll.
    virtual SettingRead<int> wheelScrollLines() = 0;
    virtual SettingStatus setWheelScrollLines(int lines) = 0;

    // Longest time between the two clicks of a double click, in ms.
    virtual SettingRead<int> doubleClickTime() = 0;
    virtual SettingStatus setDoubleClickTime(int milliseconds) = 0;
};

// For a desktop that offers none of the settings: the program keeps its own
// copy of them and hands nothing over.
class KeptPointerSettings final : public PointerSettingsPort {
public:
    SettingRead<bool> pointerPrecision() override { return {}; }
    SettingStatus setPointerPrecision(bool) override { return SettingStatus::NotOffered; }
    SettingRead<int> mouseSpeed() override { return {}; }
    SettingStatus setMouseSpeed(int) override { return SettingStatus::NotOffered; }
    SettingRead<int> wheelScrollLines() override { return {}; }
    SettingStatus setWheelScrollLines(int) override { return SettingStatus::NotOffered; }
    SettingRead<int> doubleClickTime() override { return {}; }
    SettingStatus setDoubleClickTime(int) override { return SettingStatus::NotOffered; }
};

} // namespace quorvel
