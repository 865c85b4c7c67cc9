#pragma once

#include <optional>
#include <string_view>

#include "device/device_controller.h"
#include "lang/texts.h"

namespace quorvel {

inline constexpr std::string_view kWarningTitle = "Warning";

// What the device link's results tell the user, in the window program and in
// quorvelctl. The texts that are not in the language table are the system's
// own and stay English.
inline constexpr std::string_view kCreateEventFailedText = "CreateEvent failed.";
inline constexpr std::string_view kRegisterNotificationFailedText = "RegisterDeviceNotification failed!!!";

// The text for a search that found no usable mouse other than "no mouse"
// (which the window tells otherwise); nothing for the others.
inline std::optional<std::string_view> OpenFailureText(OpenResult result, Language language) {
    switch (result) {
    case OpenResult::NoPermission:
        return Text(language, TextId::kMouseNotAllowed);
    case OpenResult::Unusable:
        return Text(language, TextId::kMouseAnswerUnusable);
    case OpenResult::Opened:
    case OpenResult::NoMouse:
        break;
    }
    return std::nullopt;
}

} // namespace quorvel
