#include "uhid_device.h"

#include <fcntl.h>
#include <linux/uhid.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <system_error>

namespace quorvel::uhid_mouse {

namespace {

constexpr const char* kUhidNode = "/dev/uhid";

template <std::size_t N> void CopyText(__u8 (&field)[N], const std::string& text) {
    const std::size_t n = std::min(text.size(), N - 1);
    std::memcpy(field, text.data(), n);
    field[n] = 0;
}

std::string SystemError(const char* what, int error) {
    return std::string(what) + ": " + std::strerror(error);
}

} // namespace

std::unique_ptr<UhidDevice> UhidDevice::create(const UhidDescription& description, UhidRequests requests,
                                               std::string& error) {
    if (description.reportDescriptor.size() > HID_MAX_DESCRIPTOR_SIZE) {
        error = "report descriptor too long";
        return nullptr;
    }
    const int uhid = ::open(kUhidNode, O_RDWR | O_CLOEXEC);
    if (uhid < 0) {
        error = SystemError(kUhidNode, errno);
        return nullptr;
    }
    const int stop = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (stop < 0) {
        error = SystemError("eventfd", errno);
        ::close(uhid);
        return nullptr;
    }
    std::unique_ptr<UhidDevice> device(new UhidDevice(uhid, stop, std::move(requests)));

    auto event = std::make_unique<uhid_event>();
    std::memset(event.get(), 0, sizeof *event);
    event->type = UHID_CREATE2;
    uhid_create2_req& create = event->u.create2;
    CopyText(create.name, description.name);
    CopyText(create.phys, description.phys);
    create.rd_size = static_cast<__u16>(description.reportDescriptor.size());
    create.bus = description.bus;
    create.vendor = description.vendorId;
    create.product = description.productId;
    create.version = description.version;
    std::copy(description.reportDescriptor.begin(), description.reportDescriptor.end(), create.rd_data);
    if (!device->send(event.get(), sizeof *event)) {
        error = SystemError("UHID_CREATE2", errno);
        return nullptr;
    }
    try {
        device->thread_ = std::thread([raw = device.get()] { raw->run(); });
    } catch (const std::system_error& failure) {
        error = failure.what();
        return nullptr;
    }
    return device;
}

UhidDevice::UhidDevice(int uhid, int stop, UhidRequests requests)
    : uhid_(uhid), stop_(stop), requests_(std::move(requests)) {
}

UhidDevice::~UhidDevice() {
    if (thread_.joinable()) {
        const std::uint64_t one = 1;
        [[maybe_unused]] const ssize_t written = ::write(stop_, &one, sizeof one);
        thread_.join();
    }
    uhid_event event{};
    event.type = UHID_DESTROY;
    send(&event, sizeof event);
    ::close(uhid_);
    ::close(stop_);
}

bool UhidDevice::send(const void* event, std::size_t size) {
    const std::lock_guard lock(writing_);
    for (;;) {
        const ssize_t written = ::write(uhid_, event, size);
        if (written < 0 && errno == EINTR) {
            continue;
        }
        return written == static_cast<ssize_t>(size);
    }
}

bool UhidDevice::input(std::span<const std::uint8_t> report) {
    auto event = std::make_unique<uhid_event>();
    std::memset(event.get(), 0, sizeof *event);
    event->type = UHID_INPUT2;
    const std::size_t n = std::min<std::size_t>(report.size(), UHID_DATA_MAX);
    event->u.input2.size = static_cast<__u16>(n);
    std::copy_n(report.begin(), n, event->u.input2.data);
    return send(event.get(), sizeof *event);
}

bool UhidDevice::replyGetReport(std::uint32_t id, int error, std::span<const std::uint8_t> report) {
    auto event = std::make_unique<uhid_event>();
    std::memset(event.get(), 0, sizeof *event);
    event->type = UHID_GET_REPORT_REPLY;
    event->u.get_report_reply.id = id;
    event->u.get_report_reply.err = static_cast<__u16>(error);
    if (error == 0) {
        const std::size_t n = std::min<std::size_t>(report.size(), UHID_DATA_MAX);
        event->u.get_report_reply.size = static_cast<__u16>(n);
        std::copy_n(report.begin(), n, event->u.get_report_reply.data);
    }
    return send(event.get(), sizeof *event);
}

bool UhidDevice::replySetReport(std::uint32_t id, int error) {
    uhid_event event{};
    event.type = UHID_SET_REPORT_REPLY;
    event.u.set_report_reply.id = id;
    event.u.set_report_reply.err = static_cast<__u16>(error);
    return send(&event, sizeof event);
}

bool UhidDevice::waitStarted(std::chrono::steady_clock::time_point deadline) {
    std::unique_lock lock(mutex_);
    return startedChanged_.wait_until(lock, deadline, [this] { return started_; });
}

void UhidDevice::run() {
    auto event = std::make_unique<uhid_event>();
    std::array<pollfd, 2> fds{{{stop_, POLLIN, 0}, {uhid_, POLLIN, 0}}};
    for (;;) {
        fds[0].revents = 0;
        fds[1].revents = 0;
        const int ready = ::poll(fds.data(), fds.size(), -1);
        if (ready < 0 && errno == EINTR) {
            continue;
        }
        if (ready < 0 || fds[0].revents != 0 || (fds[1].revents & (POLLERR | POLLHUP | POLLNVAL)) != 0) {
            return;
        }
        const ssize_t got = ::read(uhid_, event.get(), sizeof *event);
        if (got < 0) {
            if (errno == EINTR || errno == EAGAIN) {
                continue;
            }
            return;
        }
        switch (event->type) {
        case UHID_START: {
            const std::lock_guard lock(mutex_);
            started_ = true;
            startedChanged_.notify_all();
            break;
        }
        case UHID_STOP: {
            const std::lock_guard lock(mutex_);
            started_ = false;
            break;
        }
        case UHID_GET_REPORT:
            if (requests_.getReport) {
                requests_.getReport(*this, event->u.get_report.id, event->u.get_report.rnum,
                                    event->u.get_report.rtype);
            } else {
                replyGetReport(event->u.get_report.id, EIO, {});
            }
            break;
        case UHID_SET_REPORT: {
            const uhid_set_report_req& set = event->u.set_report;
            const std::size_t size = std::min<std::size_t>(set.size, UHID_DATA_MAX);
            if (requests_.setReport) {
                requests_.setReport(*this, set.id, set.rtype, std::span<const std::uint8_t>(set.data, size));
            } else {
                replySetReport(set.id, EIO);
            }
            break;
        }
        case UHID_OUTPUT: {
            const uhid_output_req& output = event->u.output;
            const std::size_t size = std::min<std::size_t>(output.size, UHID_DATA_MAX);
            if (requests_.output) {
                requests_.output(std::span<const std::uint8_t>(output.data, size));
            }
            break;
        }
        default:
            break; // UHID_OPEN, UHID_CLOSE: nothing to do
        }
    }
}

} // namespace quorvel::uhid_mouse
