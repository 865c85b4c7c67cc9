#pragma once

#include <functional>
#include <memory>
#include <string_view>

#include "app/page.h"
#include "config/device_config.h"
#include "ports/pointer_settings_port.h"

namespace quorvel {

class PageContext;

// The three pointer-setting tracks of the page, in the order of the layout.
enum class PointerTrack { MouseSpeed = 0, WheelLines = 1, DoubleClick = 2 };

// The desktop values of the track positions (cells 1-11) and back. A value
// outside a track's range gives its nearest cell.
int MouseSpeedOfPosition(int position);      // 1 -> 1, p -> 2p - 2 (1-20)
int PositionOfMouseSpeed(int speed);         // speed / 2 + 1
int DoubleClickTimeOfPosition(int position); // 900 - 70 (p - 1) ms
int PositionOfDoubleClickTime(int milliseconds);
int TrackOfWheelLines(int lines); // 0-11: the count itself, no lit cell for 0

// Which desktop settings the five pointer bytes of a record hold. A byte of
// 0 is "not set" (a record that started empty, a damaged config.bin): the
// desktop's own setting is left alone, and the page shows it. The wheel is
// not set while it has neither a line count nor Scroll One Screen. The
// precision flag has no value of its own for it: its 0 is "off" as soon as
// any other pointer byte is set.
struct HeldPointerSettings {
    bool precision = false;
    bool mouseSpeed = false;
    bool wheel = false;
    bool doubleClick = false;
};
HeldPointerSettings PointerSettingsHeldBy(const DeviceConfig& config);

// What the user sees when the desktop refuses a pointer setting, under the
// title "Warning".
inline constexpr std::string_view kGetMouseSpeedFailed = "GETMOUSESPEED failed.";
inline constexpr std::string_view kGetWheelScrollLinesFailed = "GETWHEELSCROLLLINES failed.";
inline constexpr std::string_view kGetDoubleClickTimeFailed = "GetDoubleClickTime failed.";
inline constexpr std::string_view kSetMouseFailed = "SETMOUSE failed.";
inline constexpr std::string_view kSetMouseSpeedFailed = "SETMOUSESPEED failed.";
inline constexpr std::string_view kSetWheelScrollLinesFailed = "SETWHEELSCROLLLINES failed.";
inline constexpr std::string_view kSetDoubleClickTimeFailed = "SPI_SETDOUBLECLICKTIME failed.";

// The Advanced page: on the left the desktop's pointer settings (three
// eleven-cell tracks, two check boxes, Default), kept in the five pointer
// bytes of the working configuration; on the right the macro panel, which
// the page creates when it is first shown and destroys when it is left.
//
// The desktop is read once per run, when the page is first shown; after
// that the page shows the stored bytes, and the desktop's value for a
// setting the record does not hold. It is written by Default at once and by
// OK and Apply, each setting the record holds. A setting the desktop does
// not offer keeps its byte, is shown as stored and gives no warning.
class AdvancedPage final : public PageContent {
public:
    using PanelFactory = std::function<std::unique_ptr<PageContent>()>;

    AdvancedPage(PageContext& context, PointerSettingsPort& pointer, PanelFactory makeMacroPanel = {});
    ~AdvancedPage() override;
    // Its hover controls point back at it.
    AdvancedPage(const AdvancedPage&) = delete;
    AdvancedPage& operator=(const AdvancedPage&) = delete;

    // PageContent.
    void draw() override;
    void redraw() override;
    void leave() override;
    bool click(Point point) override;
    std::vector<HoverControl> hoverControls() override;
    void listChosen(int id, int index) override;
    void listPointer(int id, int index, Rect item) override;
    void listDoubleClicked(int id, int index) override;
    void listRightClicked(int id, Point at) override;
    void editChanged(int id, std::string_view text) override;
    bool keystroke(const Keystroke& key, bool inWindow) override;
    void configurationSent() override;
    std::vector<Control> controls() override;
    bool act(int id, ControlAction action) override;
    bool dismiss() override;

    // The controls, as a click on them runs them.
    void SlideTo(PointerTrack track, int cell);
    void TogglePointerPrecision();
    void ToggleScrollOneScreen();
    void Default();

    // Hands the stored pointer settings to the desktop.
    void ApplyPointerSettings();

    // True once the desktop's settings have been read in this run.
    bool desktopRead() const { return desktopRead_; }
    PageContent* macroPanel() { return macroPanel_.get(); }

private:
    void ReadDesktop();
    void Wipe(Rect rect);
    void DrawTrack(PointerTrack track);
    void DrawCheckBox(Rect box, Byte flag);
    void DrawDefaultButton(bool over);
    void WarnIfRefused(SettingStatus status, std::string_view failure);
    void Present();

    PageContext* context_;
    PointerSettingsPort* pointer_;
    PanelFactory makeMacroPanel_;
    std::unique_ptr<PageContent> macroPanel_;
    bool desktopRead_ = false;
};

} // namespace quorvel
