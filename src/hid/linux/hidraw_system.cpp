#include "hid/linux/hidraw_system.h"

#include <fcntl.h>
#include <sys/eventfd.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cerrno>

namespace quorvel {

namespace {

template <typename Call> auto retried(Call call) {
    for (;;) {
        const auto result = call();
        if (result >= 0) {
            return result;
        }
        if (errno != EINTR) {
            return static_cast<decltype(result)>(-errno);
        }
    }
}

} // namespace

int SystemHidraw::open(const std::string& path, int flags) {
    return retried([&] { return ::open(path.c_str(), flags); });
}

bool SystemHidraw::exists(const std::string& path) {
    return ::access(path.c_str(), F_OK) == 0;
}

int SystemHidraw::close(int fd) {
    // Linux frees the descriptor even when close reports EINTR: never repeat it.
    return ::close(fd) == 0 ? 0 : -errno;
}

int SystemHidraw::ioctl(int fd, unsigned long request, void* argument) {
    return retried([&] { return ::ioctl(fd, request, argument); });
}

ssize_t SystemHidraw::read(int fd, void* buffer, std::size_t size) {
    return retried([&] { return ::read(fd, buffer, size); });
}

ssize_t SystemHidraw::write(int fd, const void* buffer, std::size_t size) {
    return retried([&] { return ::write(fd, buffer, size); });
}

int SystemHidraw::poll(std::span<pollfd> fds, int timeoutMs) {
    const int result = ::poll(fds.data(), fds.size(), timeoutMs);
    return result >= 0 ? result : -errno;
}

int SystemHidraw::eventfd(unsigned int initialValue, int flags) {
    const int fd = ::eventfd(initialValue, flags);
    return fd >= 0 ? fd : -errno;
}

} // namespace quorvel
