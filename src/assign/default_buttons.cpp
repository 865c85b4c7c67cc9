#include "assign/default_buttons.h"

namespace quorvel {

void SetDefaultFunctions(DeviceConfig& config) {
    for (int mode = 0; mode < 2; ++mode) {
        for (int button = 0; button < kDefaultButtonCount; ++button) {
            config.buttonSet(mode).field(kFieldFunction, button) =
                static_cast<Byte>(kDefaultFunctions[static_cast<std::size_t>(button)]);
        }
        config.dpiSwitchChoice(mode)[kDefaultDpiUpButton] = kDpiUp;
        config.dpiSwitchChoice(mode)[kDefaultDpiDownButton] = kDpiDown;
    }
}

} // namespace quorvel
