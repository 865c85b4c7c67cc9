#pragma once

#include <optional>
#include <string_view>

#include "device/device_controller.h"

namespace quorvel {

inline constexpr std::string_view kWarningTitle = "Warning";

// What the device link's results tell the user, in the window program and in
// quorvelctl. The texts that are not in the language table are English.
inline constexpr std::string_view kCreateEventFailedText = "CreateEvent failed.";
inline constexpr std::string_view kRegisterNotificationFailedText = "RegisterDeviceNotification failed!!!";
inline constexpr std::string_view kNoPermissionText =
    "The gaming mouse is connected, but this user is not allowed to open it.\n"
    "Install the udev rule 70-quorvel.rules (res/udev/70-quorvel.rules in the sources) in the udev rules "
    "folder, then unplug the mouse and plug it in again:\n"
    "sudo cp res/udev/70-quorvel.rules /etc/udev/rules.d/ && sudo udevadm control --reload";
inline constexpr std::string_view kUnusableMouseText =
    "The gaming mouse answered something this program cannot use.";

// The English text for a search that found no usable mouse other than "no
// mouse" (whose text the language table gives); nothing for the others.
constexpr std::optional<std::string_view> OpenFailureText(OpenResult result) {
    switch (result) {
    case OpenResult::NoPermission:
        return kNoPermissionText;
    case OpenResult::Unusable:
        return kUnusableMouseText;
    case OpenResult::Opened:
    case OpenResult::NoMouse:
        break;
    }
    return std::nullopt;
}

} // namespace quorvel
