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

#include "ports/hid_port.h"

namespace quorvel {

// Every system call the Windows HID adapter makes, so that tests can stand in
// for the HID class driver. Paths are the device-interface names in UTF-8.
class WinHidSystem {
public:
    // An opened device interface, closed when dropped.
    class Handle {
    public:
        virtual ~Handle() = default;
    };

    struct Attributes {
        std::uint16_t vendorId = 0;
        std::uint16_t productId = 0;
        std::uint16_t versionNumber = 0;
    };

    // What HidP_GetCaps tells of the top-level collection.
    struct Caps {
        std::uint16_t usagePage = 0;
        std::uint16_t usage = 0;
        std::uint16_t inputReportLength = 0;
        std::uint16_t outputReportLength = 0;
        std::uint16_t featureReportLength = 0;
    };

    // The end of an overlapped read.
    struct ReadResult {
        enum class Status { Done, TimedOut, Woken, Failed };
        Status status = Status::Failed;
        std::size_t bytes = 0;
    };

    // A manual-reset event that ends a read from another thread.
    class WakeEvent {
    public:
        virtual ~WakeEvent() = default;
        virtual void set() = 0;
        virtual void reset() = 0;
    };

    virtual ~WinHidSystem() = default;

    // The present interfaces of the HID class, in the system's order.
    virtual std::vector<std::string> interfacePaths() = 0;
    // HidAccess::None opens for the attribute queries only. On failure the
    // handle is empty and the error says why.
    struct Opened {
        std::unique_ptr<Handle> handle;
        HidOpenError error = HidOpenError::None;
    };
    virtual Opened open(const std::string& path, HidAccess access) = 0;
    virtual std::optional<Attributes> attributes(Handle& device) = 0;
    virtual std::optional<Caps> caps(Handle& device) = 0;
    // Feature transfers, cancelled when the device has not finished them in time.
    virtual bool setFeature(Handle& device, std::span<const std::uint8_t> report,
                            std::chrono::milliseconds timeout) = 0;
    virtual bool getFeature(Handle& device, std::span<std::uint8_t> report,
                            std::chrono::milliseconds timeout) = 0;
    virtual bool write(Handle& device, std::span<const std::uint8_t> report,
                       std::chrono::milliseconds timeout) = 0;
    // A negative time-out waits without end. A set wake event ends the read
    // (before or while it waits) and the pending transfer is cancelled.
    virtual ReadResult read(Handle& device, std::span<std::uint8_t> report, std::chrono::milliseconds timeout,
                            WakeEvent* wake) = 0;
    virtual std::unique_ptr<WakeEvent> createWakeEvent() = 0;

    // Arrival (true) and removal (false) of HID interfaces, reported from a
    // system thread until the returned watch is dropped; nothing when the
    // system cannot report them.
    class Watch {
    public:
        virtual ~Watch() = default;
    };
    virtual std::unique_ptr<Watch>
    watch(std::function<void(bool arrived, const std::string& path)> changed) = 0;
};

// The running system: SetupDi, the HID class library and overlapped I/O.
std::shared_ptr<WinHidSystem> MakeSystemWinHid();

} // namespace quorvel
