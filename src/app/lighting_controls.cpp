#include "app/lighting_controls.h"

#include <array>
#include <string>
#include <vector>

#include "app/basic_page_layout.h"
#include "app/page_context.h"
#include "lang/texts.h"

namespace quorvel {

namespace {

constexpr std::array<TextId, 4> kModeNames = {TextId::kOffMode, TextId::kStandardMode,
                                              TextId::kRespirationMode, TextId::kNeonMode};

constexpr std::string_view kBrightnessEntries[] = {"5%",  "15%", "25%", "35%", "45%",
                                                   "55%", "65%", "75%", "85%", "100%"};
constexpr std::string_view kRespirationEntries[] = {"8S", "7S", "6S", "5S", "4S"};
// Entry i lasts (i + 1) / 2 seconds.
constexpr std::string_view kNeonEntries[] = {"0.5S",  "1S",  "1.5S",  "2S",  "2.5S",  "3S",  "3.5S",  "4S",
                                             "4.5S",  "5S",  "5.5S",  "6S",  "6.5S",  "7S",  "7.5S",  "8S",
                                             "8.5S",  "9S",  "9.5S",  "10S", "10.5S", "11S", "11.5S", "12S",
                                             "12.5S", "13S", "13.5S", "14S", "14.5S", "15S"};

// The modes the mode list offers: "Off Mode" is only where a configuration starts.
constexpr int kFirstListedMode = kLightingStandard;
constexpr int kListedModeCount = 3;

// The record's parameter byte of a mode; nullptr for a mode without one.
Byte* ParameterByte(DeviceConfig& config, int mode) {
    switch (mode) {
    case kLightingStandard:
        return &config.standardBrightness;
    case kLightingRespiration:
        return &config.respirationPeriod;
    case kLightingNeon:
        return &config.neonPeriod;
    default:
        return nullptr;
    }
}

std::vector<std::string> Strings(std::span<const std::string_view> texts) {
    return {texts.begin(), texts.end()};
}

} // namespace

std::string_view ModeName(Language language, int mode) {
    if (mode < 0 || mode >= static_cast<int>(kModeNames.size())) {
        return {};
    }
    return Text(language, kModeNames[static_cast<std::size_t>(mode)]);
}

std::span<const std::string_view> ParameterEntries(int mode) {
    switch (mode) {
    case kLightingStandard:
        return kBrightnessEntries;
    case kLightingRespiration:
        return kRespirationEntries;
    default:
        return kNeonEntries;
    }
}

std::string_view ParameterText(int mode, int index) {
    if (mode < kLightingStandard || mode > kLightingNeon) {
        return {};
    }
    const auto entries = ParameterEntries(mode);
    if (index < 0 || static_cast<std::size_t>(index) >= entries.size()) {
        return {};
    }
    return entries[static_cast<std::size_t>(index)];
}

LightingControls::LightingControls(PageContext& context)
    : context_(&context), modeList_(kBasicPage.lightingModeList.id),
      parameterList_(kBasicPage.lightingParameterList(kLightingStandard).id) {
}

void LightingControls::Present() {
    context_->window().canvas().present();
}

std::string_view LightingControls::StoredParameterText() const {
    DeviceConfig& config = context_->working();
    const int mode = config.lightingMode;
    const Byte* parameter = ParameterByte(config, mode);
    return parameter == nullptr ? std::string_view() : ParameterText(mode, *parameter);
}

void LightingControls::DrawImages() {
    context_->drawImage(kBasicPage.lightingFieldImage, kBasicPage.lightingModeField.topLeft());
    context_->drawImage(kBasicPage.lightingFieldImage, kBasicPage.lightingParameterField.topLeft());
    const OnOffImages& tick = kBasicPage.loopColourTickImages;
    for (int slot = 0; slot < kLoopColourCount; ++slot) {
        DrawSwatch(slot);
        const bool enabled = context_->working().loopColourEnabled[static_cast<std::size_t>(slot)] == 1;
        context_->drawImage(enabled ? tick.on : tick.off, kBasicPage.loopColourTickBox(slot).topLeft());
    }
}

void LightingControls::DrawTexts() {
    Canvas& canvas = context_->window().canvas();
    const Colour colour = context_->textColour();
    canvas.drawText(context_->text(TextId::kMode), kBasicPage.lightingModeCaption(), FontRole::Text, colour,
                    TextAlign::Right);
    canvas.drawText(context_->text(TextId::kParameter), kBasicPage.lightingParameterCaption(), FontRole::Text,
                    colour, TextAlign::Right);
    canvas.drawText(context_->text(TextId::kLoopColorSetting), kBasicPage.loopColourHeading, FontRole::Text,
                    colour, TextAlign::Left);
    canvas.drawText(context_->text(TextId::kDpiSelfColorLedSetting), kBasicPage.dpiColourHeading,
                    FontRole::Text, colour, TextAlign::Left);
    canvas.drawText(ModeName(context_->language(), context_->working().lightingMode),
                    kBasicPage.fieldText(kBasicPage.lightingModeField), FontRole::Text, colour,
                    TextAlign::Left);
    canvas.drawText(StoredParameterText(), kBasicPage.fieldText(kBasicPage.lightingParameterField),
                    FontRole::Text, colour, TextAlign::Left);
}

void LightingControls::DrawModeField() {
    context_->drawImage(kBasicPage.lightingFieldImage, kBasicPage.lightingModeField.topLeft());
    context_->window().canvas().drawText(ModeName(context_->language(), context_->working().lightingMode),
                                         kBasicPage.fieldText(kBasicPage.lightingModeField), FontRole::Text,
                                         context_->textColour(), TextAlign::Left);
}

void LightingControls::DrawParameterField(std::string_view text) {
    context_->drawImage(kBasicPage.lightingFieldImage, kBasicPage.lightingParameterField.topLeft());
    context_->window().canvas().drawText(text, kBasicPage.fieldText(kBasicPage.lightingParameterField),
                                         FontRole::Text, context_->textColour(), TextAlign::Left);
}

void LightingControls::DrawSwatch(int slot) {
    const Rgb& rgb = context_->working().loopColours[static_cast<std::size_t>(slot)];
    context_->window().canvas().fillRect(kBasicPage.loopColourSwatch(slot).rect,
                                         {rgb.red, rgb.green, rgb.blue});
}

void LightingControls::ToggleModeList() {
    std::vector<std::string> entries;
    for (int mode = kFirstListedMode; mode < kFirstListedMode + kListedModeCount; ++mode) {
        entries.emplace_back(ModeName(context_->language(), mode));
    }
    modeList_.toggle(context_->window(), kBasicPage.lightingModeList.rect, entries);
}

void LightingControls::ChooseMode(int entry) {
    if (entry < 0 || entry >= kListedModeCount) {
        return;
    }
    context_->working().lightingMode = static_cast<Byte>(kFirstListedMode + entry);
    DrawModeField();
    DrawParameterField(StoredParameterText());
    modeList_.close(context_->window());
    Present();
}

void LightingControls::ToggleParameterList() {
    const int mode = context_->working().lightingMode;
    parameterList_.toggle(context_->window(), kBasicPage.lightingParameterList(mode).rect,
                          Strings(ParameterEntries(mode)));
}

void LightingControls::ChooseParameter(int entry) {
    DeviceConfig& config = context_->working();
    const auto entries = ParameterEntries(config.lightingMode);
    if (entry < 0 || static_cast<std::size_t>(entry) >= entries.size()) {
        return;
    }
    if (Byte* parameter = ParameterByte(config, config.lightingMode)) {
        *parameter = static_cast<Byte>(entry);
    }
    DrawParameterField(entries[static_cast<std::size_t>(entry)]);
    parameterList_.close(context_->window());
    Present();
}

void LightingControls::ToggleColourSlot(int slot) {
    Byte& enabled = context_->working().loopColourEnabled[static_cast<std::size_t>(slot)];
    enabled = enabled == 1 ? 0 : 1;
    const OnOffImages& tick = kBasicPage.loopColourTickImages;
    context_->drawImage(enabled == 1 ? tick.on : tick.off, kBasicPage.loopColourTickBox(slot).topLeft());
    Present();
}

void LightingControls::EditLoopColour(int slot) {
    if (context_->working().loopColourEnabled[static_cast<std::size_t>(slot)] != 1) {
        return;
    }
    // The chooser opens on the slot's colour, so a small change is a small step.
    const Rgb& current = context_->working().loopColours[static_cast<std::size_t>(slot)];
    const std::optional<Colour> chosen =
        context_->window().chooseColour({current.red, current.green, current.blue});
    if (!chosen) {
        return;
    }
    context_->working().loopColours[static_cast<std::size_t>(slot)] = {chosen->red, chosen->green,
                                                                       chosen->blue};
    DrawSwatch(slot);
    Present();
}

} // namespace quorvel
