#pragma once

#include <span>
#include <string_view>

#include "config/device_config.h"
#include "lang/language.h"
#include "ui/drop_down.h"

namespace quorvel {

class PageContext;

// Lighting modes as the record stores them.
enum LightingMode : int {
    kLightingOff = 0,
    kLightingStandard = 1,
    kLightingRespiration = 2,
    kLightingNeon = 3
};

// The name of a lighting mode in `language`; empty above Neon.
std::string_view ModeName(Language language, int mode);
// The parameter entries the list offers in `mode`: brightness steps for
// Standard, periods for Respiration, the Neon periods for every other mode.
std::span<const std::string_view> ParameterEntries(int mode);
// The text of parameter `index` of `mode`; empty for an index outside its
// list and for a mode without a parameter.
std::string_view ParameterText(int mode, int index);

// The Basic page's lighting: the effect (mode and parameter drop-downs) and
// the eight loop colours with their tick boxes and swatches. Everything
// changes the working configuration only; Apply sends it.
class LightingControls {
public:
    explicit LightingControls(PageContext& context);

    // The page drawing: first the images and swatches, later the texts.
    void DrawImages();
    void DrawTexts();

    void ToggleModeList();
    void ChooseMode(int entry);
    void ToggleParameterList();
    void ChooseParameter(int entry);
    void ToggleColourSlot(int slot);
    void EditLoopColour(int slot);

    DropDown& modeList() { return modeList_; }
    DropDown& parameterList() { return parameterList_; }
    // The parameter as its field shows it.
    std::string_view StoredParameterText() const;

private:
    void DrawModeField();
    void DrawParameterField(std::string_view text);
    void DrawSwatch(int slot);
    void Present();

    PageContext* context_;
    DropDown modeList_;
    DropDown parameterList_;
};

} // namespace quorvel
