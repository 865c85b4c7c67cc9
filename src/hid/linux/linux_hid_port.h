#pragma once

#include "hid/linux/hidraw_directory.h"
#include "hid/linux/hidraw_names.h"
#include "hid/linux/hidraw_system.h"
#include "ports/hid_port.h"

#include <map>
#include <mutex>

namespace quorvel {

// The HID port on Linux: hidraw nodes found and followed through udev.
// - enumerate() lists one interface per top-level Application collection of
//   each node, read from the node's report descriptor; paths as in
//   hidraw_names.h ("/dev/hidraw3", "/dev/hidraw3#1"). Nodes whose descriptor
//   cannot be read or makes no sense are left out.
// - Notices come one per hidraw node, with the node's path (that of its first
//   collection). A removal carries the ids the node had, taken from the sysfs
//   path or, failing that, from when the node was listed or announced.
class LinuxHidPort final : public HidPort {
public:
    LinuxHidPort(); // the running system, through udev
    LinuxHidPort(std::shared_ptr<HidrawSystem> system, std::unique_ptr<HidrawDirectory> directory);
    ~LinuxHidPort() override;
    LinuxHidPort(const LinuxHidPort&) = delete;
    LinuxHidPort& operator=(const LinuxHidPort&) = delete;

    std::vector<HidInterface> enumerate() override;
    HidOpenResult open(const std::string& path, HidAccess access) override;
    void setNoticeWakeup(std::function<void()> wake) override;
    std::vector<HidNotice> takeNotices() override;
    // False when udev gave no way to follow arrivals and removals.
    bool watchingNotices() const override { return watch_ != nullptr; }

private:
    void noticeChange(const HidrawChange& change);

    std::shared_ptr<HidrawSystem> system_;
    std::unique_ptr<HidrawDirectory> directory_;
    std::mutex mutex_; // guards the three below: the watcher's thread writes them
    std::map<std::string, HidDeviceIds> knownIds_;
    std::vector<HidNotice> notices_;
    std::function<void()> wake_;
    std::unique_ptr<HidrawWatch> watch_; // last: stopped before the rest goes
};

// The interfaces of one node with the given ids.
std::vector<HidInterface> interfacesOf(const HidrawNode& node, HidDeviceIds ids);

} // namespace quorvel
