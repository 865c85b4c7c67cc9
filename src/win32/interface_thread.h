#pragma once

#include <windows.h>

#include <functional>
#include <memory>

namespace quorvel {

// Runs tasks on the thread that made it (the interface thread), handed over
// from any thread through a message-only window. A task runs inside any
// message loop of that thread, a modal one included. Tasks still waiting
// when it goes are freed unrun, and a task posted after that is dropped.
class InterfaceThread {
public:
    using Post = std::function<void(std::function<void()>)>;

    InterfaceThread();
    ~InterfaceThread();
    InterfaceThread(const InterfaceThread&) = delete;
    InterfaceThread& operator=(const InterfaceThread&) = delete;

    // Runs `task` on the interface thread, later; from any thread.
    void post(std::function<void()> task) const;
    // A poster that may outlive this object (then it drops its tasks), for
    // threads whose end the program does not control.
    Post poster() const;
    // Tasks posted and not yet run.
    std::size_t waiting() const;

private:
    struct Queue;
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    std::shared_ptr<Queue> queue_;
};

} // namespace quorvel
