#pragma once

#include "hid/linux/hidraw_system.h"
#include "ports/hid_port.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace quorvel {

// One collection of a hidraw node, opened. Buffers keep the port's form (the
// report ID first, 0 for a device that numbers no reports); this class turns
// them into what hidraw wants:
// - write() and feature sets pass the buffer whole, ID 0 included: hidraw
//   takes the first byte as the report number and drops a 0 before the wire.
// - A feature get answers with the ID still in byte 0 and the data after it
//   (usbhid keeps byte 0 for unnumbered reports); byte 0 is set back to the
//   ID asked for, whatever a driver left there.
// - read() of an unnumbered report gives the data alone; 0 is put in front.
// - A node hands every input report of the device to each reader, so reports
//   of other collections (known by their ID) are passed over, as Windows
//   gives a collection's handle only its own reports.
// Time-outs bound the wait for the node (poll); once a write has started, the
// kernel's own transfer time-out bounds it. A feature report is set or got on
// a thread of its own: the caller waits no longer than its time-out, and a
// node whose feature transfer did not come back in time counts as failed for
// further feature reports (the node stays open until the transfer returns).
// While such a transfer is still in the kernel, closing any hidraw node would
// wait for it; nodes are then closed on a thread of their own, so that
// neither an unplug nor the end of the program waits past a time-out.
class HidrawDevice final : public HidDevice {
public:
    struct Reports {
        bool numbered = false;
        std::vector<std::uint8_t> inputIds; // this collection's input reports
    };

    // Owns both descriptors; `wake` is the eventfd of cancelEventRead(). `node`
    // is -1 for a collection opened with no access: every transfer fails.
    // A node not `readable` (opened write-only) gives no reports.
    HidrawDevice(std::shared_ptr<HidrawSystem> system, int node, bool readable, int wake, Reports reports);
    ~HidrawDevice() override;
    HidrawDevice(const HidrawDevice&) = delete;
    HidrawDevice& operator=(const HidrawDevice&) = delete;

    bool setFeature(std::span<const std::uint8_t> report, std::chrono::milliseconds timeout) override;
    bool getFeature(std::span<std::uint8_t> report, std::chrono::milliseconds timeout) override;
    bool write(std::span<const std::uint8_t> report, std::chrono::milliseconds timeout) override;
    std::optional<std::size_t> read(std::span<std::uint8_t> report,
                                    std::chrono::milliseconds timeout) override;
    // Once the node has failed (unplugged), further calls wait for
    // cancelEventRead() alone, so a reader that loops does not spin.
    std::size_t discardInput() override;
    std::optional<std::size_t> readEvent(std::span<std::uint8_t> report) override;
    void cancelEventRead() override;

private:
    enum class Take { Report, Foreign, Nothing, Failed };
    // Unnumbered reports arrive without the ID byte: they are read one byte in.
    std::size_t idBytesMissing() const { return reports_.numbered ? 0 : 1; }
    bool holdsReport(std::span<const std::uint8_t> report) const;
    Take takeReport(std::span<std::uint8_t> report, std::size_t& length);
    // What the node's poll result means for a read: a report of this
    // collection, a device that failed, or more waiting.
    enum class Ready { Report, Failed, Wait };
    Ready takeReadyReport(short revents, std::span<std::uint8_t> report, std::size_t& length);
    bool fitsIoctl(std::size_t length) const;
    // The feature ioctl's result, or -ETIMEDOUT when it did not come back in time.
    int featureIoctl(unsigned long request, std::span<std::uint8_t> buffer,
                     std::chrono::milliseconds timeout);

    std::shared_ptr<HidrawSystem> system_;
    std::shared_ptr<const int> owner_; // closes the node once no feature transfer uses it
    int node_;
    std::atomic<bool> featureStuck_{false};
    int wake_;
    Reports reports_;
    std::atomic<bool> failed_;
};

// Opens a collection path as LinuxHidPort lists it (see hidraw_names.h). The
// node's own report descriptor, read through the open node, tells how its
// reports are numbered and which belong to the collection. Nothing when the
// node is missing, cannot be opened with `access` (NoPermission when the
// system refused this user), or has no such collection.
HidOpenResult openHidrawCollection(std::shared_ptr<HidrawSystem> system, const std::string& path,
                                   HidAccess access);

} // namespace quorvel
