#pragma once

#include <map>
#include <mutex>

#include "hid/windows/win_hid_system.h"
#include "ports/hid_port.h"

namespace quorvel {

// The HID port on Windows. Each device interface is one top-level collection
// with its own path. Interfaces that cannot be opened for the attribute
// queries are left out. Notices carry the ids read from the interface name
// ("\\?\hid#vid_04d9&pid_a09f&mi_01#...").
class WindowsHidPort final : public HidPort {
public:
    WindowsHidPort(); // the running system
    explicit WindowsHidPort(std::shared_ptr<WinHidSystem> system);
    ~WindowsHidPort() override;
    WindowsHidPort(const WindowsHidPort&) = delete;
    WindowsHidPort& operator=(const WindowsHidPort&) = delete;

    std::vector<HidInterface> enumerate() override;
    HidOpenResult open(const std::string& path, HidAccess access) override;
    void setNoticeWakeup(std::function<void()> wake) override;
    std::vector<HidNotice> takeNotices() override;
    bool watchingNotices() const override { return watch_ != nullptr; }

private:
    std::shared_ptr<WinHidSystem> system_;
    std::mutex mutex_; // guards the two below: the system's thread writes them
    std::vector<HidNotice> notices_;
    std::function<void()> wake_;
    std::unique_ptr<WinHidSystem::Watch> watch_; // last: stopped before the rest goes
};

// The vendor and product ids in an interface name; 0 where it has none.
struct InterfaceIds {
    std::uint16_t vendorId = 0;
    std::uint16_t productId = 0;
};
InterfaceIds IdsFromInterfacePath(const std::string& path);

} // namespace quorvel
