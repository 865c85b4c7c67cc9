#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace quorvel {

// One top-level collection of a HID device, as the system lists it. Report
// lengths are counted as on Windows: the report-ID byte is always included,
// also for devices that number no reports (then it is 0).
struct HidInterface {
    std::string path; // opens this collection; unique among the present interfaces
    std::uint16_t vendorId = 0;
    std::uint16_t productId = 0;
    std::uint16_t versionNumber = 0;
    std::uint16_t usagePage = 0;
    std::uint16_t usage = 0;
    std::uint16_t inputReportLength = 0;
    std::uint16_t outputReportLength = 0;
    std::uint16_t featureReportLength = 0;
};

enum class HidAccess { None, Read, Write, ReadWrite };

// An opened collection. Every buffer starts with the report ID (0 for devices
// that number no reports); adapters add or strip it as their system wants.
// Results are values, never exceptions.
class HidDevice {
public:
    virtual ~HidDevice() = default;

    // Feature reports; a device that has not taken or answered the report
    // within the time-out has failed the transfer.
    virtual bool setFeature(std::span<const std::uint8_t> report, std::chrono::milliseconds timeout) = 0;
    // report[0] holds the ID asked for; the answer fills the buffer.
    virtual bool getFeature(std::span<std::uint8_t> report, std::chrono::milliseconds timeout) = 0;

    // Chunk transfers of the feature collection; they give up after the time-out.
    virtual bool write(std::span<const std::uint8_t> report, std::chrono::milliseconds timeout) = 0;
    // Bytes read (report ID included), or nothing on time-out or failure.
    virtual std::optional<std::size_t> read(std::span<std::uint8_t> report,
                                            std::chrono::milliseconds timeout) = 0;
    // Drops the input reports that are waiting to be read, without waiting
    // for more; how many were dropped.
    virtual std::size_t discardInput() = 0;

    // The event read of the reader thread: blocks without polling until an
    // input report arrives, the device fails, or another thread calls
    // cancelEventRead(). Nothing means "woken or failed".
    virtual std::optional<std::size_t> readEvent(std::span<std::uint8_t> report) = 0;
    // Safe from any thread; makes a blocked or the next readEvent return.
    virtual void cancelEventRead() = 0;
};

struct HidNotice {
    enum class Kind { Arrival, Removal };
    Kind kind = Kind::Arrival;
    std::string path;
    // Which device the notice concerns, as far as the adapter can tell
    // (on Linux from the device's own ids, on Windows from the interface name).
    std::uint16_t vendorId = 0;
    std::uint16_t productId = 0;
};

// Why a collection could not be opened.
enum class HidOpenError {
    None,
    NoPermission, // the system refused this user access to the device
    Failed,       // gone, not a collection of it, or any other failure
};

struct HidOpenResult {
    std::unique_ptr<HidDevice> device; // empty when the open failed
    HidOpenError error = HidOpenError::None;
};

class HidPort {
public:
    virtual ~HidPort() = default;

    // Present collections of every HID device, in the system's order.
    virtual std::vector<HidInterface> enumerate() = 0;
    virtual HidOpenResult open(const std::string& path, HidAccess access) = 0;

    // Arrival and removal notices. The adapter calls `wake` (from any thread)
    // when notices are waiting; the owner then takes them on its own thread.
    virtual void setNoticeWakeup(std::function<void()> wake) = 0;
    virtual std::vector<HidNotice> takeNotices() = 0;
    // False when the system cannot deliver notices at all (the watch could not
    // be set up), so that the user can be told once; asked after setNoticeWakeup.
    virtual bool watchingNotices() const { return true; }
};

} // namespace quorvel
