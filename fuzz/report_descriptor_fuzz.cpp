// Any bytes as a HID report descriptor: the parser reads nothing outside
// them, and either names a fault at an offset within them or lists
// collections with their input report IDs in ascending order.

#include <algorithm>

#include "fuzz_support.h"
#include "hid/linux/report_descriptor.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace quorvel;
    using quorvel::fuzz::Require;
    const ParsedReportDescriptor parsed = parseReportDescriptor(std::span(data, size));
    if (!parsed.ok()) {
        Require(parsed.faultOffset <= size, "a fault outside the descriptor");
        return 0;
    }
    for (const TopLevelCollection& collection : parsed.layout.collections) {
        Require(std::is_sorted(collection.inputReportIds.begin(), collection.inputReportIds.end()),
                "input report IDs out of order");
    }
    return 0;
}
