#pragma once

#include <cstdint>

#include "config/device_config.h"
#include "ports/device_event_port.h"
#include "ports/hid_port.h"

namespace quorvel {

inline constexpr std::uint16_t kMouseVendorId = 0x04D9;
inline constexpr std::uint16_t kMouseProductId = 0xA09F;

// The two vendor-defined collections the program talks to; the usage page and
// the usage are the same number.
inline constexpr std::uint16_t kEventCollectionUsage = 0xFF01;   // event reports
inline constexpr std::uint16_t kFeatureCollectionUsage = 0xFF00; // commands and data chunks

// The start of an event report of the event collection; what follows is not used.
struct EventReport {
    Byte reportId; // only kEventReportId is handled
    Byte code;     // DeviceEventCode
    Byte unused;
    Byte value;
};
static_assert(sizeof(EventReport) == 4);
inline constexpr Byte kEventReportId = 6;

constexpr bool IsMouse(std::uint16_t vendorId, std::uint16_t productId) {
    return vendorId == kMouseVendorId && productId == kMouseProductId;
}

constexpr bool IsEventCollection(const HidInterface& collection) {
    return IsMouse(collection.vendorId, collection.productId) &&
           collection.usagePage == kEventCollectionUsage && collection.usage == kEventCollectionUsage &&
           collection.inputReportLength != 0;
}

constexpr bool IsFeatureCollection(const HidInterface& collection) {
    return IsMouse(collection.vendorId, collection.productId) &&
           collection.usagePage == kFeatureCollectionUsage && collection.usage == kFeatureCollectionUsage &&
           collection.featureReportLength != 0;
}

// The codes the mouse sends in its event reports; others are not passed on.
constexpr bool IsMouseEventCode(Byte code) {
    switch (static_cast<DeviceEventCode>(code)) {
    case DeviceEventCode::ReportRate:
    case DeviceEventCode::DpiStage:
    case DeviceEventCode::KeyConfiguration:
    case DeviceEventCode::MacroMode:
        return true;
    default:
        return false;
    }
}

} // namespace quorvel
