// The uhid mouse's report descriptors, read by the hidraw adapter's own
// parser, give the interfaces the simulated mouse lists: the programs find
// it in the virtual machine as they find it simulated.

#include <gtest/gtest.h>

#include <ostream>
#include <span>

#include "device/feature_channel.h"
#include "device/mouse_identity.h"
#include "hid/linux/hidraw_directory.h"
#include "hid/linux/linux_hid_port.h"
#include "hid/linux/report_descriptor.h"
#include "hid/sim/simulated_mouse.h"
#include "mouse_descriptors.h"

namespace quorvel {
namespace {

using namespace uhid_mouse;

struct Lengths {
    std::uint16_t input, output, feature;
    bool operator==(const Lengths&) const = default;
};

void PrintTo(const Lengths& l, std::ostream* out) {
    *out << "{in " << l.input << " out " << l.output << " feature " << l.feature << '}';
}

struct InterfaceCase {
    const char* name;
    std::span<const std::uint8_t> descriptor;
    std::uint16_t usage; // also the usage page
    Lengths lengths;
    bool numbered;
    std::vector<std::uint8_t> inputReportIds;
};

TEST(UhidMouseDescriptors, GiveTheReportLengthsOfTheSimulatedMouse) {
    const SimReportLengths sim;
    // The event interface takes no reports (the simulated one claims the
    // event report's length for output too, which nothing uses).
    const Lengths event{sim.event, 0, 0};
    const Lengths feature{sim.chunkIn, sim.chunkOut, sim.feature};
    const std::vector<InterfaceCase> cases{
        {"event", kEventInterfaceDescriptor, kEventCollectionUsage, event, true, {kEventReportId}},
        {"feature", kFeatureInterfaceDescriptor, kFeatureCollectionUsage, feature, false, {0}},
    };
    for (const InterfaceCase& c : cases) {
        SCOPED_TRACE(c.name);
        const ParsedReportDescriptor parsed = parseReportDescriptor(c.descriptor);
        ASSERT_TRUE(parsed.ok()) << "fault at " << parsed.faultOffset;
        EXPECT_EQ(parsed.layout.numberedReports, c.numbered);
        ASSERT_EQ(parsed.layout.collections.size(), 1u);
        EXPECT_EQ(parsed.layout.collections[0].inputReportIds, c.inputReportIds);

        // As the Linux port lists the node.
        HidrawNode node;
        node.devnode = "/dev/hidraw0";
        node.reportDescriptor.assign(c.descriptor.begin(), c.descriptor.end());
        const auto listed = interfacesOf(node, {kVendorId, kProductId});
        ASSERT_EQ(listed.size(), 1u);
        const HidInterface& got = listed[0];
        EXPECT_EQ(got.usagePage, c.usage);
        EXPECT_EQ(got.usage, c.usage);
        EXPECT_EQ((Lengths{got.inputReportLength, got.outputReportLength, got.featureReportLength}),
                  c.lengths);
        if (c.usage == kFeatureCollectionUsage) {
            EXPECT_TRUE(IsFeatureCollection(got));
            EXPECT_TRUE(FitsBuffers(got));
        } else {
            EXPECT_TRUE(IsEventCollection(got));
        }
    }
}

} // namespace
} // namespace quorvel
