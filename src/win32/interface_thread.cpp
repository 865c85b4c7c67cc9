#include "win32/interface_thread.h"

#include <deque>
#include <mutex>
#include <utility>

namespace quorvel {

namespace {

constexpr const wchar_t* kClassName = L"QRVL_InterfaceThread";
// The wake-up: the window takes every task waiting when it comes.
constexpr UINT kRunTasks = WM_APP + 1;

} // namespace

struct InterfaceThread::Queue {
    mutable std::mutex mutex;
    std::deque<std::function<void()>> tasks;
    HWND window = nullptr; // nullptr once closed

    void post(std::function<void()> task) {
        std::lock_guard lock(mutex);
        if (window == nullptr) {
            return; // closed: the task goes with this call
        }
        const bool wake = tasks.empty();
        tasks.push_back(std::move(task));
        if (wake && ::PostMessageW(window, kRunTasks, 0, 0) == 0) {
            tasks.pop_back();
        }
    }

    void runWaiting() {
        // One at a time: a task may open a modal loop, which runs the tasks
        // posted meanwhile, or post tasks of its own.
        for (;;) {
            std::function<void()> task;
            {
                std::lock_guard lock(mutex);
                if (tasks.empty()) {
                    return;
                }
                task = std::move(tasks.front());
                tasks.pop_front();
                if (tasks.empty()) {
                    // The next post wakes the window again.
                } else if (window != nullptr) {
                    // Left for a nested loop, should this task open one.
                    ::PostMessageW(window, kRunTasks, 0, 0);
                }
            }
            task();
        }
    }
};

InterfaceThread::InterfaceThread() : queue_(std::make_shared<Queue>()) {
    const HINSTANCE instance = ::GetModuleHandleW(nullptr);
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = &InterfaceThread::Procedure;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = kClassName;
    ::RegisterClassExW(&windowClass); // fails harmlessly when a second one registers it again
    queue_->window =
        ::CreateWindowExW(0, kClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance, nullptr);
    if (queue_->window != nullptr) {
        ::SetWindowLongPtrW(queue_->window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(queue_.get()));
    }
}

InterfaceThread::~InterfaceThread() {
    HWND window = nullptr;
    std::deque<std::function<void()>> left;
    {
        std::lock_guard lock(queue_->mutex);
        window = std::exchange(queue_->window, nullptr);
        left.swap(queue_->tasks);
    }
    if (window != nullptr) {
        ::DestroyWindow(window);
    }
    // `left` frees the tasks that never ran; a wake-up still in the thread's
    // queue finds no window.
}

void InterfaceThread::post(std::function<void()> task) const {
    queue_->post(std::move(task));
}

InterfaceThread::Post InterfaceThread::poster() const {
    return [queue = queue_](std::function<void()> task) { queue->post(std::move(task)); };
}

std::size_t InterfaceThread::waiting() const {
    std::lock_guard lock(queue_->mutex);
    return queue_->tasks.size();
}

LRESULT CALLBACK InterfaceThread::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kRunTasks) {
        if (auto* queue = reinterpret_cast<Queue*>(::GetWindowLongPtrW(window, GWLP_USERDATA))) {
            queue->runWaiting();
        }
        return 0;
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

} // namespace quorvel
