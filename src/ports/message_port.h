#pragma once

#include <string>
#include <string_view>

namespace quorvel {

// Title of the message boxes that name no title of their own.
inline constexpr std::string_view kApplicationTitle = "Quorvel Gaming Mouse";

// Message boxes the user must see. Every box of the program has only an OK
// button, so the port needs no answer back.
class MessagePort {
public:
    virtual ~MessagePort() = default;
    virtual void showMessage(std::string_view text, std::string_view title) = 0;
};

} // namespace quorvel
