#pragma once

#include "hid/linux/hidraw_system.h"

#include <fcntl.h>
#include <linux/hidraw.h>
#include <sys/ioctl.h>
#include <sys/socket.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace quorvel {

// A hidraw node stood in for by a packet socket pair: the adapter gets one
// end, the test plays the device on the other. Packets keep their bounds as
// hidraw reports do, reads, writes, polls and eventfds are the real ones, and
// the hidraw ioctls answer from the fields below. Failures are injected per call.
class FakeHidraw : public SystemHidraw {
public:
    struct Ioctl {
        unsigned long request;
        std::vector<std::uint8_t> bytes; // the buffer as the adapter passed it
    };

    std::string nodePath = "/dev/hidraw7";
    std::vector<std::uint8_t> descriptor;
    // Written after byte 0 of a feature get, as usbhid does; byte 0 gets junk
    // to show that the adapter puts the ID back.
    std::vector<std::uint8_t> featureAnswer;
    std::optional<int> ioctlFailure;        // -errno for the feature ioctls
    std::optional<ssize_t> nodeReadFailure; // -errno for reads of the node
    std::optional<ssize_t> nodeWriteFailure;
    std::optional<int> pollAnswer;        // instead of polling: 0 = time-out
    std::function<void()> onPoll;         // runs before every poll
    std::optional<int> openFailure;       // -errno for opens of the node
    std::function<void()> onFeatureIoctl; // runs (unlocked) before every feature ioctl
    std::function<void(int fd)> onClose;  // runs (unlocked) before every close

    int deviceEnd = -1; // the test's side of the node
    int adapterEnd = -1;

    ~FakeHidraw() override {
        if (deviceEnd >= 0) {
            SystemHidraw::close(deviceEnd);
        }
    }

    int open(const std::string& path, int flags) override {
        const std::lock_guard lock(mutex_);
        openCalls.push_back({path, flags});
        if (path != nodePath) {
            return -ENOENT;
        }
        if (openFailure) {
            return *openFailure;
        }
        if (deviceEnd >= 0) {
            SystemHidraw::close(deviceEnd);
        }
        int ends[2];
        if (::socketpair(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, ends) != 0) {
            return -errno;
        }
        adapterEnd = ends[0];
        deviceEnd = ends[1];
        return adapterEnd;
    }

    bool exists(const std::string& path) override { return path == nodePath; }

    int close(int fd) override {
        if (onClose) {
            onClose(fd);
        }
        const std::lock_guard lock(mutex_);
        closed.push_back(fd);
        return SystemHidraw::close(fd);
    }

    int ioctl(int fd, unsigned long request, void* argument) override {
        if (onFeatureIoctl && (_IOC_NR(request) == _IOC_NR(HIDIOCSFEATURE(0)) ||
                               _IOC_NR(request) == _IOC_NR(HIDIOCGFEATURE(0)))) {
            onFeatureIoctl();
        }
        const std::lock_guard lock(mutex_);
        if (fd != adapterEnd || _IOC_TYPE(request) != 'H') {
            return -ENOTTY;
        }
        const std::size_t length = _IOC_SIZE(request);
        auto* bytes = static_cast<std::uint8_t*>(argument);
        switch (_IOC_NR(request)) {
        case _IOC_NR(HIDIOCGRDESCSIZE):
            *static_cast<int*>(argument) = static_cast<int>(descriptor.size());
            return 0;
        case _IOC_NR(HIDIOCGRDESC): {
            auto* out = static_cast<hidraw_report_descriptor*>(argument);
            if (out->size > descriptor.size()) {
                return -EINVAL;
            }
            std::memcpy(out->value, descriptor.data(), out->size);
            return 0;
        }
        case _IOC_NR(HIDIOCSFEATURE(0)):
            ioctls.push_back({request, {bytes, bytes + length}});
            return ioctlFailure.value_or(static_cast<int>(length));
        case _IOC_NR(HIDIOCGFEATURE(0)): {
            ioctls.push_back({request, {bytes, bytes + length}});
            if (ioctlFailure) {
                return *ioctlFailure;
            }
            bytes[0] = 0xEE;
            const std::size_t n = std::min(featureAnswer.size(), length - 1);
            std::copy_n(featureAnswer.begin(), n, bytes + 1);
            return static_cast<int>(n + 1);
        }
        default:
            return -ENOTTY;
        }
    }

    ssize_t read(int fd, void* buffer, std::size_t size) override {
        if (fd == adapterEnd && nodeReadFailure) {
            return *nodeReadFailure;
        }
        return SystemHidraw::read(fd, buffer, size);
    }

    ssize_t write(int fd, const void* buffer, std::size_t size) override {
        if (fd == adapterEnd) {
            const std::lock_guard lock(mutex_);
            ++nodeWrites;
            if (nodeWriteFailure) {
                return *nodeWriteFailure;
            }
        }
        return SystemHidraw::write(fd, buffer, size);
    }

    int poll(std::span<pollfd> fds, int timeoutMs) override {
        {
            const std::lock_guard lock(mutex_);
            std::vector<int> watched;
            for (const pollfd& p : fds) {
                watched.push_back(p.fd);
            }
            polls.push_back({watched, timeoutMs});
        }
        if (onPoll) {
            onPoll();
        }
        if (pollAnswer) {
            for (pollfd& p : fds) {
                p.revents = 0;
            }
            return *pollAnswer;
        }
        return SystemHidraw::poll(fds, timeoutMs);
    }

    // What the device end received (one packet), or nothing.
    std::optional<std::vector<std::uint8_t>> receivedByDevice() {
        std::vector<std::uint8_t> packet(4096);
        const ssize_t got = ::recv(deviceEnd, packet.data(), packet.size(), MSG_DONTWAIT);
        if (got < 0) {
            return std::nullopt;
        }
        packet.resize(static_cast<std::size_t>(got));
        return packet;
    }

    void deviceSends(const std::vector<std::uint8_t>& report) {
        ::send(deviceEnd, report.data(), report.size(), MSG_DONTWAIT);
    }

    void unplug() {
        SystemHidraw::close(deviceEnd);
        deviceEnd = -1;
    }

    struct OpenCall {
        std::string path;
        int flags;
    };
    struct PollCall {
        std::vector<int> fds;
        int timeoutMs;
    };
    std::vector<OpenCall> openCalls;
    std::vector<int> closed;
    std::vector<Ioctl> ioctls;

    bool wasClosed(int fd) {
        const std::lock_guard lock(mutex_);
        return std::find(closed.begin(), closed.end(), fd) != closed.end();
    }
    std::vector<PollCall> polls;
    int nodeWrites = 0;

    std::vector<PollCall> pollCalls() {
        const std::lock_guard lock(mutex_);
        return polls;
    }

private:
    std::mutex mutex_;
};

} // namespace quorvel
