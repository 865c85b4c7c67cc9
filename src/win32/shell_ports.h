#pragma once

#include <windows.h>

#include <functional>
#include <string_view>

#include "ports/message_port.h"
#include "ports/ui_port.h"

namespace quorvel {

// Message boxes with one OK button, owned by the main window.
class Win32Messages final : public MessagePort {
public:
    void setOwner(HWND owner) { owner_ = owner; }
    void showMessage(std::string_view text, std::string_view title) override;

private:
    HWND owner_ = nullptr;
};

// Messages on standard error, for runs that no one answers (a screenshot).
class ConsoleMessages final : public MessagePort {
public:
    void showMessage(std::string_view text, std::string_view title) override;
};

// Ends the program: stops taking device events, then ends the thread's
// message loop with exit code 0.
class Win32Application final : public ApplicationPort {
public:
    explicit Win32Application(std::function<void()> stopEvents) : stopEvents_(std::move(stopEvents)) {}
    void quit() override;

private:
    std::function<void()> stopEvents_;
};

// Takes the thread's messages until WM_QUIT; its exit code.
int RunUntilQuit();

} // namespace quorvel
