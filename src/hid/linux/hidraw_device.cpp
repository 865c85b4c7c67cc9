#include "hid/linux/hidraw_device.h"

#include "hid/linux/hidraw_names.h"
#include "hid/linux/report_descriptor.h"

#include <fcntl.h>
#include <linux/hidraw.h>
#include <sys/eventfd.h>
#include <sys/ioctl.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <climits>
#include <condition_variable>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

namespace quorvel {

namespace {

// The length travels in the request number of the feature ioctls, in
// _IOC_SIZEBITS bits; a longer buffer would spill into the other fields.
constexpr std::size_t kMaxIoctlLength = (std::size_t{1} << _IOC_SIZEBITS) - 1;

constexpr short kGone = POLLERR | POLLHUP | POLLNVAL;

// Time-outs beyond what poll() can wait are cut to that, which also keeps
// the deadline from overflowing the clock.
std::chrono::steady_clock::time_point deadlineAfter(std::chrono::milliseconds timeout) {
    const auto bounded =
        std::clamp(timeout, std::chrono::milliseconds::zero(), std::chrono::milliseconds(INT_MAX));
    return std::chrono::steady_clock::now() + bounded;
}

int pollMilliseconds(std::chrono::steady_clock::time_point deadline) {
    const auto left = deadline - std::chrono::steady_clock::now();
    if (left <= std::chrono::steady_clock::duration::zero()) {
        return 0;
    }
    const auto ms = std::chrono::ceil<std::chrono::milliseconds>(left).count();
    return static_cast<int>(std::min<std::chrono::milliseconds::rep>(ms, INT_MAX));
}

bool transient(ssize_t result) {
    return result == -EAGAIN || result == -EINTR;
}

int openFlags(HidAccess access) {
    switch (access) {
    case HidAccess::Read:
        return O_RDONLY;
    case HidAccess::Write:
        return O_WRONLY;
    case HidAccess::ReadWrite:
    case HidAccess::None:
        break;
    }
    return O_RDWR;
}

// One feature ioctl as its thread and its caller share it.
struct FeatureCall {
    std::mutex mutex;
    std::condition_variable finished;
    bool done = false;
    bool abandoned = false; // the caller's time-out ran out first
    int result = 0;
    std::vector<std::uint8_t> buffer;
};

// Feature transfers of this process that outlived their caller's time-out
// and are still in the kernel. Until such a transfer comes back (the kernel
// gives up after about 5 s), closing any hidraw node waits for it: the
// hidraw driver holds one lock for all its nodes while a transfer runs, and
// close takes it exclusively.
std::atomic<int> stalledTransfers{0};

// Closes a node without keeping the caller behind a stalled transfer: such a
// close goes on on a thread of its own.
void closeNode(const std::shared_ptr<HidrawSystem>& system, int fd) {
    if (stalledTransfers.load() > 0) {
        try {
            std::thread([system, fd] { system->close(fd); }).detach();
            return;
        } catch (const std::system_error&) {
            // No thread to spare: close here and wait after all.
        }
    }
    system->close(fd);
}

} // namespace

HidrawDevice::HidrawDevice(std::shared_ptr<HidrawSystem> system, int node, bool readable, int wake,
                           Reports reports)
    : system_(std::move(system)), node_(node), wake_(wake), reports_(std::move(reports)),
      failed_(node < 0 || !readable) {
    if (node_ >= 0) {
        owner_ = std::shared_ptr<const int>(new int(node_), [system = system_](const int* fd) {
            closeNode(system, *fd);
            delete fd;
        });
    }
}

HidrawDevice::~HidrawDevice() {
    system_->close(wake_);
}

int HidrawDevice::featureIoctl(unsigned long request, std::span<std::uint8_t> buffer,
                               std::chrono::milliseconds timeout) {
    if (featureStuck_) {
        return -ETIMEDOUT;
    }
    auto call = std::make_shared<FeatureCall>();
    call->buffer.assign(buffer.begin(), buffer.end());
    std::thread worker;
    try {
        worker = std::thread([call, system = system_, owner = owner_, request] {
            const int result = system->ioctl(*owner, request, call->buffer.data());
            const std::lock_guard lock(call->mutex);
            call->result = result;
            call->done = true;
            if (call->abandoned) {
                --stalledTransfers;
            }
            call->finished.notify_all();
        });
    } catch (const std::system_error&) {
        return -EAGAIN;
    }
    std::unique_lock lock(call->mutex);
    if (!call->finished.wait_until(lock, deadlineAfter(timeout), [&] { return call->done; })) {
        // The transfer goes on without a caller; it keeps the node open until it returns.
        call->abandoned = true;
        ++stalledTransfers;
        lock.unlock();
        worker.detach();
        featureStuck_ = true;
        return -ETIMEDOUT;
    }
    lock.unlock();
    worker.join();
    std::copy(call->buffer.begin(), call->buffer.end(), buffer.begin());
    return call->result;
}

bool HidrawDevice::fitsIoctl(std::size_t length) const {
    return node_ >= 0 && length >= 1 && length <= kMaxIoctlLength;
}

bool HidrawDevice::setFeature(std::span<const std::uint8_t> report, std::chrono::milliseconds timeout) {
    if (!fitsIoctl(report.size())) {
        return false;
    }
    std::vector<std::uint8_t> copy(report.begin(), report.end());
    const int sent = featureIoctl(HIDIOCSFEATURE(report.size()), copy, timeout);
    return sent >= 0 && static_cast<std::size_t>(sent) == report.size();
}

bool HidrawDevice::getFeature(std::span<std::uint8_t> report, std::chrono::milliseconds timeout) {
    if (!fitsIoctl(report.size())) {
        return false;
    }
    const std::uint8_t id = report[0];
    if (featureIoctl(HIDIOCGFEATURE(report.size()), report, timeout) < 0) {
        return false;
    }
    report[0] = id;
    return true;
}

bool HidrawDevice::write(std::span<const std::uint8_t> report, std::chrono::milliseconds timeout) {
    if (node_ < 0 || report.empty()) {
        return false;
    }
    const auto deadline = deadlineAfter(timeout);
    std::array<pollfd, 1> fds{{{node_, POLLOUT, 0}}};
    for (;;) {
        const int ready = system_->poll(fds, pollMilliseconds(deadline));
        if (ready == -EINTR) {
            continue;
        }
        if (ready <= 0 || (fds[0].revents & POLLOUT) == 0) {
            return false; // time-out, or the node is gone
        }
        break;
    }
    const ssize_t sent = system_->write(node_, report.data(), report.size());
    return sent >= 0 && static_cast<std::size_t>(sent) == report.size();
}

HidrawDevice::Take HidrawDevice::takeReport(std::span<std::uint8_t> report, std::size_t& length) {
    const std::size_t skip = idBytesMissing();
    const ssize_t got = system_->read(node_, report.data() + skip, report.size() - skip);
    if (transient(got)) {
        return Take::Nothing;
    }
    if (got <= 0) {
        return Take::Failed; // ENODEV, EIO once unplugged; 0 never carries a report
    }
    if (!reports_.numbered) {
        report[0] = 0;
    } else if (!std::binary_search(reports_.inputIds.begin(), reports_.inputIds.end(), report[0])) {
        return Take::Foreign;
    }
    length = static_cast<std::size_t>(got) + skip;
    return Take::Report;
}

HidrawDevice::Ready HidrawDevice::takeReadyReport(short revents, std::span<std::uint8_t> report,
                                                  std::size_t& length) {
    if ((revents & POLLIN) == 0) {
        if ((revents & kGone) != 0) {
            failed_ = true;
            return Ready::Failed;
        }
        return Ready::Wait;
    }
    switch (takeReport(report, length)) {
    case Take::Report:
        return Ready::Report;
    case Take::Failed:
        failed_ = true;
        return Ready::Failed;
    case Take::Foreign:
    case Take::Nothing:
        break;
    }
    return Ready::Wait;
}

bool HidrawDevice::holdsReport(std::span<const std::uint8_t> report) const {
    // A read into no room would drop the report unread.
    return report.size() > idBytesMissing();
}

std::optional<std::size_t> HidrawDevice::read(std::span<std::uint8_t> report,
                                              std::chrono::milliseconds timeout) {
    if (node_ < 0 || failed_ || !holdsReport(report)) {
        return std::nullopt;
    }
    const auto deadline = deadlineAfter(timeout);
    std::array<pollfd, 1> fds{{{node_, POLLIN, 0}}};
    for (;;) {
        const int ready = system_->poll(fds, pollMilliseconds(deadline));
        if (ready == -EINTR) {
            continue;
        }
        if (ready <= 0) {
            return std::nullopt; // time-out
        }
        std::size_t length = 0;
        switch (takeReadyReport(fds[0].revents, report, length)) {
        case Ready::Report:
            return length;
        case Ready::Failed:
            return std::nullopt;
        case Ready::Wait:
            break;
        }
    }
}

std::size_t HidrawDevice::discardInput() {
    if (node_ < 0 || failed_) {
        return 0;
    }
    // The node is non-blocking: a read with nothing waiting fails at once with EAGAIN.
    std::array<std::uint8_t, 4096> sink{};
    std::size_t dropped = 0;
    for (;;) {
        const ssize_t got = system_->read(node_, sink.data(), sink.size());
        if (got == -EINTR) {
            continue;
        }
        if (got <= 0) {
            return dropped;
        }
        ++dropped;
    }
}

std::optional<std::size_t> HidrawDevice::readEvent(std::span<std::uint8_t> report) {
    if (!holdsReport(report)) {
        return std::nullopt;
    }
    // The wake descriptor comes first so that a cancel wins over a waiting report.
    std::array<pollfd, 2> fds{{{wake_, POLLIN, 0}, {node_, POLLIN, 0}}};
    for (;;) {
        const std::size_t watched = failed_ ? 1 : 2;
        fds[0].revents = 0;
        fds[1].revents = 0;
        const int ready = system_->poll(std::span(fds).first(watched), -1);
        if (ready == -EINTR) {
            continue;
        }
        if (ready < 0) {
            failed_ = true;
            return std::nullopt;
        }
        if ((fds[0].revents & POLLIN) != 0) {
            std::uint64_t count = 0;
            system_->read(wake_, &count, sizeof count);
            return std::nullopt;
        }
        if (watched == 1) {
            continue;
        }
        std::size_t length = 0;
        switch (takeReadyReport(fds[1].revents, report, length)) {
        case Ready::Report:
            return length;
        case Ready::Failed:
            return std::nullopt;
        case Ready::Wait:
            break;
        }
    }
}

void HidrawDevice::cancelEventRead() {
    const std::uint64_t one = 1;
    system_->write(wake_, &one, sizeof one);
}

HidOpenResult openHidrawCollection(std::shared_ptr<HidrawSystem> system, const std::string& path,
                                   HidAccess access) {
    const auto where = splitCollectionPath(path);
    if (!where) {
        return {nullptr, HidOpenError::Failed};
    }
    int node = -1;
    HidrawDevice::Reports reports;
    if (access == HidAccess::None) {
        // As on Windows, opening without access needs no permission, only a present node.
        if (!system->exists(where->node)) {
            return {nullptr, HidOpenError::Failed};
        }
    } else {
        node = system->open(where->node, openFlags(access) | O_CLOEXEC | O_NONBLOCK);
        if (node == -EACCES || node == -EPERM) {
            return {nullptr, HidOpenError::NoPermission};
        }
        if (node < 0) {
            return {nullptr, HidOpenError::Failed};
        }
        int size = 0;
        auto descriptor = std::make_unique<hidraw_report_descriptor>();
        bool known = system->ioctl(node, HIDIOCGRDESCSIZE, &size) >= 0 && size >= 0 &&
                     static_cast<std::size_t>(size) <= sizeof descriptor->value;
        if (known) {
            descriptor->size = static_cast<std::uint32_t>(size);
            known = system->ioctl(node, HIDIOCGRDESC, descriptor.get()) >= 0;
        }
        const auto parsed = known ? parseReportDescriptor(std::span(descriptor->value, descriptor->size))
                                  : ParsedReportDescriptor{};
        if (!known || !parsed.ok() || where->index >= parsed.layout.collections.size()) {
            closeNode(system, node);
            return {nullptr, HidOpenError::Failed};
        }
        reports.numbered = parsed.layout.numberedReports;
        reports.inputIds = parsed.layout.collections[where->index].inputReportIds;
    }
    const int wake = system->eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (wake < 0) {
        if (node >= 0) {
            system->close(node);
        }
        return {nullptr, HidOpenError::Failed};
    }
    const bool readable = access == HidAccess::Read || access == HidAccess::ReadWrite;
    return {std::make_unique<HidrawDevice>(std::move(system), node, readable, wake, std::move(reports))};
}

} // namespace quorvel
