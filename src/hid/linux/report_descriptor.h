#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

// The HID report descriptor, read the way Windows' HID parser reports a
// device's capabilities. Plain C++: no system header, so it is tested anywhere.

namespace quorvel {

// One top-level Application collection: what the system lists as an interface.
// Each report length is that of the longest report of its kind among the
// report IDs used inside the collection, in whole bytes, plus one byte for the
// report ID (counted also when the device numbers no reports); 0 when the
// collection has no report of that kind.
struct TopLevelCollection {
    std::uint16_t usagePage = 0;
    std::uint16_t usage = 0;
    std::uint16_t inputReportLength = 0;
    std::uint16_t outputReportLength = 0;
    std::uint16_t featureReportLength = 0;
    // IDs of the input reports declared inside the collection, ascending
    // (just 0 for a device that numbers no reports). A hidraw node hands every
    // input report of the device to every reader; these pick the collection's own.
    std::vector<std::uint8_t> inputReportIds;

    bool operator==(const TopLevelCollection&) const = default;
};

struct ReportDescriptorLayout {
    // True when the descriptor declares report IDs: every report then starts
    // with its ID byte on the wire, and hidraw passes that byte through.
    bool numberedReports = false;
    std::vector<TopLevelCollection> collections; // in descriptor order
};

enum class DescriptorFault {
    None,
    Truncated, // an item's data runs past the end of the descriptor
    EndWithoutCollection,
    UnclosedCollection, // the descriptor ends inside a collection
    PopWithoutPush,
    InvalidReportId, // 0, or wider than one byte
    ReportTooLong,   // a report longer than a 16-bit length can say
};

struct ParsedReportDescriptor {
    ReportDescriptorLayout layout; // meaningful only when fault is None
    DescriptorFault fault = DescriptorFault::None;
    std::size_t faultOffset = 0; // offset of the item that failed

    bool ok() const { return fault == DescriptorFault::None; }
};

// Never reads outside `descriptor`; a malformed descriptor gives a fault.
ParsedReportDescriptor parseReportDescriptor(std::span<const std::uint8_t> descriptor);

} // namespace quorvel
