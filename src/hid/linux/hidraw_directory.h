#pragma once

#include "hid/linux/hidraw_system.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace quorvel {

// A hidraw node as the device manager describes it; nothing here needs the
// node itself to be opened, so nodes the user may not open are listed too.
struct HidrawNode {
    std::string devnode;                        // "/dev/hidraw3"
    std::string devpath;                        // "/devices/.../0003:04D9:A09F.0005/hidraw/hidraw3"
    std::string hidId;                          // HID_ID of the "hid" parent; empty when unknown
    std::uint16_t versionNumber = 0;            // bcdDevice of a USB device, else 0
    std::vector<std::uint8_t> reportDescriptor; // empty when unreadable
};

struct HidrawChange {
    enum class Action { Add, Remove };
    Action action = Action::Add;
    std::string devnode;
    std::string devpath;
    std::string hidId; // often empty on removal: the parent is gone by then
};

// Watching lasts as long as this object; destroying it stops the watcher and
// waits for its thread, so no change is handed on after that.
class HidrawWatch {
public:
    virtual ~HidrawWatch() = default;
};

// Where hidraw nodes are found and followed: udev on a running system, a
// table in tests.
class HidrawDirectory {
public:
    virtual ~HidrawDirectory() = default;

    virtual std::vector<HidrawNode> list() = 0;
    // `onChange` runs on the watcher's own thread, once per node added or
    // removed. Nothing when the system offers no way to watch.
    virtual std::unique_ptr<HidrawWatch> watch(std::function<void(const HidrawChange&)> onChange) = 0;
};

// libudev, subsystem "hidraw". The report descriptor comes from the "hid"
// parent's report_descriptor file in sysfs, readable without any permission
// on the node. The watcher listens to udev's own announcements (not the
// kernel's), so a node's permissions are already set when it is announced.
class UdevHidrawDirectory final : public HidrawDirectory {
public:
    explicit UdevHidrawDirectory(std::shared_ptr<HidrawSystem> system);

    std::vector<HidrawNode> list() override;
    std::unique_ptr<HidrawWatch> watch(std::function<void(const HidrawChange&)> onChange) override;

private:
    std::shared_ptr<HidrawSystem> system_;
};

} // namespace quorvel
