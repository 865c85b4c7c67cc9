#pragma once

#include <poll.h>
#include <sys/types.h>

#include <cstddef>
#include <span>
#include <string>

namespace quorvel {

// Every system call the hidraw adapter makes, so that tests can stand in for
// a hidraw node. Results follow the kernel's own convention: a count or a
// descriptor when it worked, a negated errno value when it failed.
class HidrawSystem {
public:
    virtual ~HidrawSystem() = default;

    virtual int open(const std::string& path, int flags) = 0;
    virtual bool exists(const std::string& path) = 0;
    virtual int close(int fd) = 0;
    virtual int ioctl(int fd, unsigned long request, void* argument) = 0;
    virtual ssize_t read(int fd, void* buffer, std::size_t size) = 0;
    virtual ssize_t write(int fd, const void* buffer, std::size_t size) = 0;
    // A negative time-out waits without end; -EINTR comes back to the caller,
    // which knows how much of its time-out is left.
    virtual int poll(std::span<pollfd> fds, int timeoutMs) = 0;
    virtual int eventfd(unsigned int initialValue, int flags) = 0;
};

// The running system. Calls interrupted by a signal before doing anything are
// made again (except close and poll, see above).
class SystemHidraw : public HidrawSystem {
public:
    int open(const std::string& path, int flags) override;
    bool exists(const std::string& path) override;
    int close(int fd) override;
    int ioctl(int fd, unsigned long request, void* argument) override;
    ssize_t read(int fd, void* buffer, std::size_t size) override;
    ssize_t write(int fd, const void* buffer, std::size_t size) override;
    int poll(std::span<pollfd> fds, int timeoutMs) override;
    int eventfd(unsigned int initialValue, int flags) override;
};

} // namespace quorvel
