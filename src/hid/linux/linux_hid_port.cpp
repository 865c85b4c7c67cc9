#include "hid/linux/linux_hid_port.h"

#include "hid/linux/hidraw_device.h"
#include "hid/linux/report_descriptor.h"

#include <utility>

namespace quorvel {

namespace {

std::optional<HidDeviceIds> idsNamedBy(const std::string& hidId, const std::string& devpath) {
    if (auto ids = parseHidId(hidId)) {
        return ids;
    }
    return hidIdsFromDevpath(devpath);
}

} // namespace

std::vector<HidInterface> interfacesOf(const HidrawNode& node, HidDeviceIds ids) {
    std::vector<HidInterface> interfaces;
    const ParsedReportDescriptor parsed = parseReportDescriptor(node.reportDescriptor);
    if (!parsed.ok()) {
        return interfaces;
    }
    for (std::size_t index = 0; index < parsed.layout.collections.size(); ++index) {
        const TopLevelCollection& collection = parsed.layout.collections[index];
        HidInterface interface;
        interface.path = collectionPath(node.devnode, index);
        interface.vendorId = ids.vendorId;
        interface.productId = ids.productId;
        interface.versionNumber = node.versionNumber;
        interface.usagePage = collection.usagePage;
        interface.usage = collection.usage;
        interface.inputReportLength = collection.inputReportLength;
        interface.outputReportLength = collection.outputReportLength;
        interface.featureReportLength = collection.featureReportLength;
        interfaces.push_back(std::move(interface));
    }
    return interfaces;
}

LinuxHidPort::LinuxHidPort() : LinuxHidPort(std::make_shared<SystemHidraw>(), nullptr) {
}

LinuxHidPort::LinuxHidPort(std::shared_ptr<HidrawSystem> system, std::unique_ptr<HidrawDirectory> directory)
    : system_(std::move(system)), directory_(std::move(directory)) {
    if (!directory_) {
        directory_ = std::make_unique<UdevHidrawDirectory>(system_);
    }
    watch_ = directory_->watch([this](const HidrawChange& change) { noticeChange(change); });
}

LinuxHidPort::~LinuxHidPort() {
    watch_.reset();
}

std::vector<HidInterface> LinuxHidPort::enumerate() {
    std::vector<HidInterface> interfaces;
    std::map<std::string, HidDeviceIds> seen;
    for (const HidrawNode& node : directory_->list()) {
        const HidDeviceIds ids = idsNamedBy(node.hidId, node.devpath).value_or(HidDeviceIds{});
        seen[node.devnode] = ids;
        for (HidInterface& interface : interfacesOf(node, ids)) {
            interfaces.push_back(std::move(interface));
        }
    }
    const std::lock_guard lock(mutex_);
    for (auto& [node, ids] : seen) {
        knownIds_[node] = ids;
    }
    return interfaces;
}

HidOpenResult LinuxHidPort::open(const std::string& path, HidAccess access) {
    return openHidrawCollection(system_, path, access);
}

void LinuxHidPort::setNoticeWakeup(std::function<void()> wake) {
    const std::lock_guard lock(mutex_);
    wake_ = std::move(wake);
}

std::vector<HidNotice> LinuxHidPort::takeNotices() {
    const std::lock_guard lock(mutex_);
    return std::exchange(notices_, {});
}

void LinuxHidPort::noticeChange(const HidrawChange& change) {
    std::function<void()> wake;
    {
        const std::lock_guard lock(mutex_);
        HidNotice notice;
        notice.path = change.devnode;
        auto known = knownIds_.find(change.devnode);
        HidDeviceIds ids;
        if (auto named = idsNamedBy(change.hidId, change.devpath)) {
            ids = *named;
        } else if (known != knownIds_.end()) {
            ids = known->second;
        }
        if (change.action == HidrawChange::Action::Add) {
            notice.kind = HidNotice::Kind::Arrival;
            knownIds_[change.devnode] = ids;
        } else {
            notice.kind = HidNotice::Kind::Removal;
            if (known != knownIds_.end()) {
                knownIds_.erase(known);
            }
        }
        notice.vendorId = ids.vendorId;
        notice.productId = ids.productId;
        notices_.push_back(std::move(notice));
        wake = wake_;
    }
    // Called unlocked: the owner may well take the notices from inside it.
    if (wake) {
        wake();
    }
}

} // namespace quorvel
