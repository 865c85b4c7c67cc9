#include "uhid_mouse.h"

#include <linux/uhid.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "device/mouse_identity.h"
#include "mouse_descriptors.h"

namespace quorvel::uhid_mouse {

namespace {

namespace fs = std::filesystem;
using SteadyClock = std::chrono::steady_clock;

// The firmware answers at once; the time-out of its handles only bounds a wait
// that never comes.
constexpr std::chrono::milliseconds kFirmwareTimeout{1000};
// Reads of the firmware's chunks wait for the next one as long as the mouse is plugged in.
constexpr std::chrono::hours kForever{24};
// How long the kernel and udev may take to make or remove a node.
constexpr std::chrono::seconds kNodePatience{5};
constexpr std::chrono::milliseconds kNodeRetry{5};

const SimReportLengths kLengths{};

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// The hidraw node of the HID device created with `phys`, once the kernel has made it.
std::optional<std::string> HidrawNodeOf(std::string_view phys) {
    std::error_code error;
    const std::string wanted = "HID_PHYS=" + std::string(phys) + "\n";
    for (const auto& device : fs::directory_iterator("/sys/bus/hid/devices", error)) {
        if (ReadFile(device.path() / "uevent").find(wanted) == std::string::npos) {
            continue;
        }
        for (const auto& node : fs::directory_iterator(device.path() / "hidraw", error)) {
            const fs::path devnode = fs::path("/dev") / node.path().filename();
            if (fs::exists(devnode, error)) {
                return devnode.string();
            }
        }
    }
    return std::nullopt;
}

bool UdevRuns() {
    std::error_code error;
    return fs::exists("/run/udev/control", error);
}

// udev's record of a node, written once udev has handled its arrival and
// removed once it has handled its removal.
fs::path UdevRecordOf(const std::string& devnode) {
    std::string number = ReadFile(fs::path("/sys/class/hidraw") / fs::path(devnode).filename() / "dev");
    while (!number.empty() && (number.back() == '\n' || number.back() == ' ')) {
        number.pop_back();
    }
    return number.empty() ? fs::path() : fs::path("/run/udev/data") / ("c" + number);
}

template <typename Condition> bool WaitFor(Condition condition) {
    const auto deadline = SteadyClock::now() + kNodePatience;
    while (!condition()) {
        if (SteadyClock::now() >= deadline) {
            return false;
        }
        std::this_thread::sleep_for(kNodeRetry);
    }
    return true;
}

std::string PathOf(SimulatedMouse& sim, std::uint16_t usage) {
    for (const HidInterface& interface : sim.enumerate()) {
        if (interface.usagePage == usage) {
            return interface.path;
        }
    }
    return {};
}

} // namespace

struct UhidMouse::Link {
    std::unique_ptr<HidDevice> eventHandle; // the firmware's ends of the two interfaces
    std::unique_ptr<HidDevice> featureHandle;
    std::unique_ptr<UhidDevice> event;
    std::unique_ptr<UhidDevice> feature;
    std::thread eventPump;
    std::thread featurePump;
    MouseNodes nodes;
    std::vector<fs::path> udevRecords;

    // The firmware must be unplugged first: that ends the pumps' reads.
    ~Link() {
        if (eventPump.joinable()) {
            eventPump.join();
        }
        if (featurePump.joinable()) {
            featurePump.join();
        }
        feature.reset();
        event.reset();
        std::error_code error;
        WaitFor([&] {
            for (const fs::path& record : udevRecords) {
                if (fs::exists(record, error)) {
                    return false;
                }
            }
            return true;
        });
    }
};

UhidMouse::UhidMouse(std::function<void(std::string_view)> notice)
    : notice_(std::move(notice)), pullWakeup_(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {
}

UhidMouse::~UhidMouse() {
    unplug();
    ::close(pullWakeup_);
}

std::optional<MouseNodes> UhidMouse::plug(std::string& error) {
    if (link_) {
        return link_->nodes;
    }
    sim_.plugIn();
    sim_.takeNotices(); // the kernel and udev announce the mouse, not the firmware
    auto link = std::make_unique<Link>();
    link->eventHandle = sim_.open(PathOf(sim_, kEventCollectionUsage), HidAccess::Read).device;
    link->featureHandle = sim_.open(PathOf(sim_, kFeatureCollectionUsage), HidAccess::ReadWrite).device;
    if (!link->eventHandle || !link->featureHandle) {
        error = "the simulated mouse did not open";
        sim_.unplug();
        return std::nullopt;
    }

    UhidDescription description;
    description.bus = kBusUsb;
    description.vendorId = kVendorId;
    description.productId = kProductId;
    description.version = kVersion;
    description.name = std::string(kDeviceName);

    description.phys = std::string(kEventInterfacePhys);
    description.reportDescriptor = kEventInterfaceDescriptor;
    link->event = UhidDevice::create(description, {}, error);

    description.phys = std::string(kFeatureInterfacePhys);
    description.reportDescriptor = kFeatureInterfaceDescriptor;
    if (link->event) {
        link->feature = UhidDevice::create(description, featureRequests(*link->featureHandle), error);
    }
    if (!link->event || !link->feature) {
        sim_.unplug();
        return std::nullopt;
    }

    // What the firmware sends goes to the kernel as it comes.
    link->eventPump = std::thread([handle = link->eventHandle.get(), device = link->event.get()] {
        std::vector<Byte> report(kLengths.event);
        while (const auto got = handle->readEvent(report)) {
            device->input(std::span(report).first(*got)); // report ID 6 first
        }
    });
    link->featurePump = std::thread([handle = link->featureHandle.get(), device = link->feature.get()] {
        std::vector<Byte> chunk(kLengths.chunkIn);
        while (const auto got = handle->read(chunk, kForever)) {
            if (*got > 1) {
                device->input(std::span(chunk).subspan(1, *got - 1)); // without the report number 0
            }
        }
    });

    const auto deadline = SteadyClock::now() + kNodePatience;
    std::optional<std::string> eventNode;
    std::optional<std::string> featureNode;
    const bool made =
        link->event->waitStarted(deadline) && link->feature->waitStarted(deadline) && WaitFor([&] {
            eventNode = HidrawNodeOf(kEventInterfacePhys);
            featureNode = HidrawNodeOf(kFeatureInterfacePhys);
            return eventNode && featureNode;
        });
    if (!made) {
        error = "the kernel made no hidraw nodes for the mouse";
        sim_.unplug();
        return std::nullopt;
    }
    link->nodes = {*eventNode, *featureNode};
    if (UdevRuns()) {
        for (const std::string& node : {*eventNode, *featureNode}) {
            const fs::path record = UdevRecordOf(node);
            std::error_code ignored;
            if (!record.empty() && WaitFor([&] { return fs::exists(record, ignored); })) {
                link->udevRecords.push_back(record);
            }
        }
    }
    link_ = std::move(link);
    return link_->nodes;
}

UhidRequests UhidMouse::featureRequests(HidDevice& firmwareSide) {
    UhidRequests requests;
    requests.getReport = [this, &firmwareSide](UhidDevice& device, std::uint32_t id, std::uint8_t,
                                               std::uint8_t reportType) {
        if (reportType != UHID_FEATURE_REPORT) {
            device.replyGetReport(id, EIO, {});
            return;
        }
        const bool quiet = silentNow();
        // The interface numbers no reports: the firmware answers after a 0,
        // and the reply keeps it in front, where hidraw hands it on.
        std::vector<Byte> report(kLengths.feature, 0);
        const bool answered = firmwareSide.getFeature(report, kFirmwareTimeout);
        if (!quiet) {
            device.replyGetReport(id, answered ? 0 : EIO, report);
        }
        countRequest();
    };
    requests.setReport = [this, &firmwareSide](UhidDevice& device, std::uint32_t id, std::uint8_t reportType,
                                               std::span<const std::uint8_t> report) {
        if (reportType != UHID_FEATURE_REPORT) {
            device.replySetReport(id, EIO);
            return;
        }
        const bool quiet = silentNow();
        const bool taken = firmwareSide.setFeature(report, kFirmwareTimeout);
        if (!quiet) {
            device.replySetReport(id, taken ? 0 : EIO);
        }
        countRequest();
    };
    requests.output = [this, &firmwareSide](std::span<const std::uint8_t> report) {
        firmwareSide.write(report, kFirmwareTimeout);
        countRequest();
    };
    return requests;
}

bool UhidMouse::silentNow() {
    const std::lock_guard lock(faultMutex_);
    return silent_;
}

void UhidMouse::unplug() {
    sim_.unplug();
    link_.reset();
}

bool UhidMouse::followPull() {
    std::uint64_t count = 0;
    [[maybe_unused]] const ssize_t got = ::read(pullWakeup_, &count, sizeof count);
    if (!link_ || sim_.pluggedIn()) {
        return false;
    }
    link_.reset();
    return true;
}

void UhidMouse::silent(std::optional<int> after) {
    {
        const std::lock_guard lock(faultMutex_);
        if (after && *after > 0) {
            silentAfter_ = after;
            return;
        }
        silent_ = true;
        silentAfter_.reset();
    }
    SimFaults faults;
    faults.silent = true;
    sim_.setFaults(faults);
}

void UhidMouse::unplugAfter(int after) {
    const std::lock_guard lock(faultMutex_);
    unplugAfter_ = after;
}

void UhidMouse::healthy() {
    {
        const std::lock_guard lock(faultMutex_);
        silent_ = false;
        silentAfter_.reset();
        unplugAfter_.reset();
    }
    sim_.setFaults({});
}

void UhidMouse::countRequest() {
    bool pull = false;
    bool silence = false;
    {
        const std::lock_guard lock(faultMutex_);
        if (unplugAfter_ && --*unplugAfter_ <= 0) {
            unplugAfter_.reset();
            pull = true;
        }
        if (silentAfter_ && --*silentAfter_ <= 0) {
            silentAfter_.reset();
            silent_ = true;
            silence = true;
        }
    }
    if (silence) {
        SimFaults faults;
        faults.silent = true;
        sim_.setFaults(faults);
        notice_("silenced");
    }
    if (pull) {
        // The firmware goes at once, so the next request finds no mouse; the
        // devices go on the owner's thread, which may wait for this one.
        sim_.unplug();
        notice_("pulled");
        const std::uint64_t one = 1;
        [[maybe_unused]] const ssize_t written = ::write(pullWakeup_, &one, sizeof one);
    }
}

} // namespace quorvel::uhid_mouse
