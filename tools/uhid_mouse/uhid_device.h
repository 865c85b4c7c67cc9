#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <span>
#include <string>
#include <thread>

namespace quorvel::uhid_mouse {

class UhidDevice;

// What the kernel asks of a device made through /dev/uhid. Each runs on the
// device's own thread, one at a time; a get or set is over once its reply is
// sent (or never, for a device that stays silent: the kernel then gives up
// by itself after its own time-out).
struct UhidRequests {
    // A feature (or other) report read: reply with replyGetReport(id, ...).
    std::function<void(UhidDevice&, std::uint32_t id, std::uint8_t reportNumber, std::uint8_t reportType)>
        getReport;
    // A report set: `report` starts with the report number, 0 for a device
    // that numbers no reports. Reply with replySetReport(id, ...).
    std::function<void(UhidDevice&, std::uint32_t id, std::uint8_t reportType,
                       std::span<const std::uint8_t> report)>
        setReport;
    // An output report written to the hidraw node, report number first as the
    // program wrote it (0 included). Needs no reply.
    std::function<void(std::span<const std::uint8_t> report)> output;
};

struct UhidDescription {
    std::string name;
    std::string phys;
    std::span<const std::uint8_t> reportDescriptor;
    std::uint16_t bus = 0;
    std::uint16_t vendorId = 0;
    std::uint16_t productId = 0;
    std::uint16_t version = 0;
};

// One HID device of the kernel, made through its own open /dev/uhid: created
// with the object, destroyed with it (the hidraw node goes away at once).
class UhidDevice {
public:
    // Nothing, with `error` set, when /dev/uhid cannot be opened or refuses the device.
    static std::unique_ptr<UhidDevice> create(const UhidDescription& description, UhidRequests requests,
                                              std::string& error);
    ~UhidDevice();
    UhidDevice(const UhidDevice&) = delete;
    UhidDevice& operator=(const UhidDevice&) = delete;

    // Safe from any thread.
    bool input(std::span<const std::uint8_t> report);
    bool replyGetReport(std::uint32_t id, int error, std::span<const std::uint8_t> report);
    bool replySetReport(std::uint32_t id, int error);

    // Whether a HID driver has started the device (the hidraw node follows at once).
    bool waitStarted(std::chrono::steady_clock::time_point deadline);

private:
    UhidDevice(int uhid, int stop, UhidRequests requests);
    void run();
    bool send(const void* event, std::size_t size);

    int uhid_;
    int stop_;
    UhidRequests requests_;
    std::mutex writing_;
    std::mutex mutex_;
    std::condition_variable startedChanged_;
    bool started_ = false;
    std::thread thread_; // last: it runs on everything above
};

} // namespace quorvel::uhid_mouse
