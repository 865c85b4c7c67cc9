#include "hid/linux/hidraw_directory.h"

#include <fcntl.h>
#include <libudev.h>
#include <linux/hidraw.h>
#include <sys/eventfd.h>

#include <array>
#include <cerrno>
#include <charconv>
#include <string_view>
#include <system_error>
#include <thread>

namespace quorvel {

namespace {

constexpr const char* kSubsystem = "hidraw";
constexpr const char* kHidSubsystem = "hid";
constexpr const char* kHidIdProperty = "HID_ID";
constexpr const char* kUsbSubsystem = "usb";
constexpr const char* kUsbDeviceType = "usb_device";
constexpr const char* kUsbVersionAttribute = "bcdDevice";
constexpr const char* kDescriptorFile = "/report_descriptor";
constexpr const char* kUdevAnnouncements = "udev";
constexpr std::string_view kAddAction = "add";
constexpr std::string_view kRemoveAction = "remove";
// The kernel never hands out a longer descriptor (HID_MAX_DESCRIPTOR_SIZE).
constexpr std::size_t kMaxDescriptorSize = sizeof(hidraw_report_descriptor::value);

struct UdevDeleter {
    void operator()(udev* u) const { udev_unref(u); }
    void operator()(udev_enumerate* e) const { udev_enumerate_unref(e); }
    void operator()(udev_device* d) const { udev_device_unref(d); }
    void operator()(udev_monitor* m) const { udev_monitor_unref(m); }
};
template <typename T> using UdevPtr = std::unique_ptr<T, UdevDeleter>;

std::string text(const char* value) {
    return value != nullptr ? value : "";
}

std::string hidIdOf(udev_device* device) {
    if (const char* own = udev_device_get_property_value(device, kHidIdProperty)) {
        return own;
    }
    udev_device* hid = udev_device_get_parent_with_subsystem_devtype(device, kHidSubsystem, nullptr);
    return hid != nullptr ? text(udev_device_get_property_value(hid, kHidIdProperty)) : "";
}

std::uint16_t versionOf(udev_device* device) {
    udev_device* usb = udev_device_get_parent_with_subsystem_devtype(device, kUsbSubsystem, kUsbDeviceType);
    const std::string bcd =
        usb != nullptr ? text(udev_device_get_sysattr_value(usb, kUsbVersionAttribute)) : "";
    std::uint16_t version = 0;
    std::from_chars(bcd.data(), bcd.data() + bcd.size(), version, 16);
    return version;
}

std::vector<std::uint8_t> readDescriptor(HidrawSystem& system, udev_device* device) {
    udev_device* hid = udev_device_get_parent_with_subsystem_devtype(device, kHidSubsystem, nullptr);
    if (hid == nullptr) {
        return {};
    }
    const int fd = system.open(text(udev_device_get_syspath(hid)) + kDescriptorFile, O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return {};
    }
    std::vector<std::uint8_t> bytes(kMaxDescriptorSize);
    std::size_t filled = 0;
    while (filled < bytes.size()) {
        const ssize_t got = system.read(fd, bytes.data() + filled, bytes.size() - filled);
        if (got <= 0) {
            if (got < 0) {
                filled = 0; // half a descriptor would be read as a different one
            }
            break;
        }
        filled += static_cast<std::size_t>(got);
    }
    system.close(fd);
    bytes.resize(filled);
    return bytes;
}

class UdevWatch final : public HidrawWatch {
public:
    UdevWatch(std::shared_ptr<HidrawSystem> system, UdevPtr<udev> context, UdevPtr<udev_monitor> monitor,
              int stop, std::function<void(const HidrawChange&)> onChange)
        : system_(std::move(system)), context_(std::move(context)), monitor_(std::move(monitor)), stop_(stop),
          onChange_(std::move(onChange)) {}

    ~UdevWatch() override {
        if (thread_.joinable()) {
            const std::uint64_t one = 1;
            system_->write(stop_, &one, sizeof one);
            thread_.join();
        }
        system_->close(stop_);
    }
    UdevWatch(const UdevWatch&) = delete;
    UdevWatch& operator=(const UdevWatch&) = delete;

    bool start() {
        try {
            thread_ = std::thread([this] { run(); });
        } catch (const std::system_error&) {
            return false;
        }
        return true;
    }

private:
    void run() {
        std::array<pollfd, 2> fds{{{stop_, POLLIN, 0}, {udev_monitor_get_fd(monitor_.get()), POLLIN, 0}}};
        for (;;) {
            const int ready = system_->poll(fds, -1);
            if (ready == -EINTR) {
                continue;
            }
            if (ready < 0 || fds[0].revents != 0 || (fds[1].revents & POLLNVAL) != 0) {
                return;
            }
            // POLLERR too: receiving clears it (an overflowed socket), the watch goes on.
            if (fds[1].revents != 0) {
                receive();
            }
        }
    }

    void receive() {
        const UdevPtr<udev_device> device(udev_monitor_receive_device(monitor_.get()));
        if (!device) {
            return;
        }
        const std::string action = text(udev_device_get_action(device.get()));
        HidrawChange change;
        if (action == kAddAction) {
            change.action = HidrawChange::Action::Add;
        } else if (action == kRemoveAction) {
            change.action = HidrawChange::Action::Remove;
        } else {
            return;
        }
        change.devnode = text(udev_device_get_devnode(device.get()));
        change.devpath = text(udev_device_get_devpath(device.get()));
        change.hidId = hidIdOf(device.get());
        if (!change.devnode.empty()) {
            onChange_(change);
        }
    }

    std::shared_ptr<HidrawSystem> system_;
    UdevPtr<udev> context_;
    UdevPtr<udev_monitor> monitor_;
    int stop_;
    std::function<void(const HidrawChange&)> onChange_;
    std::thread thread_; // last: it runs on everything above
};

} // namespace

UdevHidrawDirectory::UdevHidrawDirectory(std::shared_ptr<HidrawSystem> system) : system_(std::move(system)) {
}

std::vector<HidrawNode> UdevHidrawDirectory::list() {
    std::vector<HidrawNode> nodes;
    const UdevPtr<udev> context(udev_new());
    const UdevPtr<udev_enumerate> enumeration(context ? udev_enumerate_new(context.get()) : nullptr);
    if (!enumeration || udev_enumerate_add_match_subsystem(enumeration.get(), kSubsystem) < 0 ||
        udev_enumerate_scan_devices(enumeration.get()) < 0) {
        return nodes;
    }
    udev_list_entry* entry = nullptr;
    udev_list_entry_foreach(entry, udev_enumerate_get_list_entry(enumeration.get())) {
        const UdevPtr<udev_device> device(
            udev_device_new_from_syspath(context.get(), udev_list_entry_get_name(entry)));
        if (!device || udev_device_get_devnode(device.get()) == nullptr) {
            continue;
        }
        HidrawNode node;
        node.devnode = udev_device_get_devnode(device.get());
        node.devpath = text(udev_device_get_devpath(device.get()));
        node.hidId = hidIdOf(device.get());
        node.versionNumber = versionOf(device.get());
        node.reportDescriptor = readDescriptor(*system_, device.get());
        nodes.push_back(std::move(node));
    }
    return nodes;
}

std::unique_ptr<HidrawWatch> UdevHidrawDirectory::watch(std::function<void(const HidrawChange&)> onChange) {
    UdevPtr<udev> context(udev_new());
    UdevPtr<udev_monitor> monitor(context ? udev_monitor_new_from_netlink(context.get(), kUdevAnnouncements)
                                          : nullptr);
    if (!monitor || udev_monitor_filter_add_match_subsystem_devtype(monitor.get(), kSubsystem, nullptr) < 0 ||
        udev_monitor_enable_receiving(monitor.get()) < 0) {
        return nullptr;
    }
    const int stop = system_->eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (stop < 0) {
        return nullptr;
    }
    auto watch = std::make_unique<UdevWatch>(system_, std::move(context), std::move(monitor), stop,
                                             std::move(onChange));
    if (!watch->start()) {
        return nullptr;
    }
    return watch;
}

} // namespace quorvel
