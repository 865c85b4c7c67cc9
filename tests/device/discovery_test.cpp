#include <atomic>

#include <gtest/gtest.h>

#include "device_test_support.h"

namespace quorvel::test {
namespace {

HidInterface Interface(std::string path, std::uint16_t vendor, std::uint16_t product, std::uint16_t usage) {
    return {std::move(path), vendor, product, 0x0100, usage, usage, 33, 33, 9};
}

using Discovery = DeviceFixture;

TEST_F(Discovery, PassesOverOtherDevicesAndOtherCollections) {
    mouse.addInterface(Interface("keyboard", 0x046D, 0xC31C, kFeatureCollectionUsage));
    mouse.addInterface(Interface("mouse-pointer", kMouseVendorId, kMouseProductId, 0x0002));
    mouse.addInterface({"no-feature-report", kMouseVendorId, kMouseProductId, 0, kFeatureCollectionUsage,
                        kFeatureCollectionUsage, 33, 33, 0});
    ASSERT_EQ(controller.OpenDevice(), OpenResult::Opened);
    EXPECT_EQ(controller.devicePath(), "sim/1/feature");
    EXPECT_EQ(controller.channel().featureReportLength(), 9);
    EXPECT_EQ(controller.channel().chunkInLength(), 33);
    EXPECT_EQ(controller.channel().chunkOutLength(), 33);
    EXPECT_EQ(controller.eventReportLength(), 9);
    EXPECT_EQ(mouse.openHandles(SimCollection::Event), 2); // read and write
    EXPECT_EQ(mouse.openHandles(SimCollection::Feature), 1);
}

TEST_F(Discovery, RefusesAMouseWhoseReportsDoNotFitTheBuffersOrCannotCarryACommandOrAChunk) {
    struct Case {
        SimReportLengths lengths;
        bool opened;
    };
    const Case cases[] = {
        {{16, 40, 40, 40}, true}, {{9, 33, 33, 9}, true},  {{17, 33, 33, 9}, false}, {{9, 41, 33, 9}, false},
        {{9, 33, 41, 9}, false},  {{8, 33, 33, 9}, false}, {{9, 32, 33, 9}, false},  {{9, 33, 32, 9}, false},
        {{9, 9, 33, 9}, false},   {{9, 33, 0, 9}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << c.lengths.feature << " " << c.lengths.chunkIn << " " << c.lengths.chunkOut);
        SimulatedMouse other;
        other.setReportLengths(c.lengths);
        DeviceController link(other, other.clock(), events);
        EXPECT_EQ(link.OpenDevice(), c.opened ? OpenResult::Opened : OpenResult::Unusable);
        EXPECT_EQ(link.connected(), c.opened);
    }
}

TEST_F(Discovery, AnEventCollectionWithOverlongReportsIsNotRead) {
    mouse.setReportLengths({9, 33, 33, 41});
    ASSERT_EQ(controller.OpenDevice(), OpenResult::Opened);
    EXPECT_EQ(mouse.openHandles(SimCollection::Event), 0);
}

TEST_F(Discovery, FeatureCollectionListedFirstGivesAWorkingLinkWithoutEventReports) {
    mouse.setEventCollectionFirst(false);
    ASSERT_TRUE(Started(controller.StartDeviceLink([] {})));
    EXPECT_TRUE(controller.connected());
    EXPECT_EQ(mouse.openHandles(SimCollection::Event), 0);
    EXPECT_TRUE(controller.SyncSensorInfo());
}

TEST_F(Discovery, MouseEventReportsReachTheWindowOthersDoNot) {
    ASSERT_TRUE(Started(controller.StartDeviceLink([] {})));
    events.clear();
    mouse.sendEventReport({7, 5, 0, 1}); // another report ID
    mouse.sendEvent(6, 3);               // codes the window does not know
    mouse.sendEvent(14, 0);
    mouse.sendEvent(0, 0);
    mouse.pressReportRateButton();       // 1 -> 2
    mouse.pressDpiButton();              // stage 2
    mouse.pressKeyConfigurationButton(); // 2
    mouse.sendEvent(9, 4);
    const auto received = events.waitFor(4);
    EXPECT_EQ(received, (std::vector<DeviceEvent>{{DeviceEventCode::ReportRate, 2},
                                                  {DeviceEventCode::DpiStage, 2},
                                                  {DeviceEventCode::KeyConfiguration, 2},
                                                  {DeviceEventCode::MacroMode, 4}}));
    controller.CloseDeviceLink();
    EXPECT_EQ(events.events().size(), 4u);
}

TEST_F(Discovery, NoMouseAtStartThenArrivalRemovalAndReplug) {
    std::atomic<int> wakes = 0;
    mouse.unplug();
    mouse.takeNotices();
    const DeviceLinkStart start = controller.StartDeviceLink([&] { ++wakes; });
    ASSERT_TRUE(Started(start));
    EXPECT_EQ(start.mouse, OpenResult::NoMouse);
    EXPECT_FALSE(controller.connected());
    EXPECT_TRUE(events.events().empty());

    // Arrival: the link comes up, the sensor record is synchronised, events flow.
    mouse.setSensorRecord({0x02, 0x01, 0x00, 0x01});
    mouse.plugIn();
    EXPECT_GT(wakes.load(), 0);
    EXPECT_EQ(controller.HandleDeviceNotices(), OpenResult::Opened);
    EXPECT_TRUE(controller.connected());
    EXPECT_EQ(controller.image().currentSensorType, 2);
    EXPECT_EQ(mouse.sensorRecord().option2, 0x41);
    mouse.pressDpiButton();
    EXPECT_EQ(events.waitFor(2),
              (std::vector<DeviceEvent>{{DeviceEventCode::LinkUp, 0}, {DeviceEventCode::DpiStage, 2}}));

    // Removal: link down, the window hides.
    events.clear();
    mouse.unplug();
    EXPECT_EQ(controller.HandleDeviceNotices(), OpenResult::NoMouse);
    EXPECT_FALSE(controller.connected());
    EXPECT_EQ(events.events(), (std::vector<DeviceEvent>{{DeviceEventCode::LinkDown, 0}}));
    EXPECT_EQ(events.hides(), 1);

    // Replug: new handles, and the reader reads the new event collection.
    events.clear();
    mouse.plugIn();
    controller.HandleDeviceNotices();
    EXPECT_TRUE(controller.connected());
    mouse.pressMacroButton();
    EXPECT_EQ(events.waitFor(2),
              (std::vector<DeviceEvent>{{DeviceEventCode::LinkUp, 0}, {DeviceEventCode::MacroMode, 1}}));
}

TEST_F(Discovery, NoticesOfOtherDevicesAreIgnored) {
    ASSERT_TRUE(Started(controller.StartDeviceLink([] {})));
    events.clear();
    mouse.clearTransfers();
    mouse.pushNotice({HidNotice::Kind::Arrival, "keyboard", 0x046D, 0xC31C});
    mouse.pushNotice({HidNotice::Kind::Removal, "keyboard", 0x046D, 0xC31C});
    EXPECT_EQ(controller.HandleDeviceNotices(), std::nullopt);
    EXPECT_TRUE(events.events().empty());
    EXPECT_TRUE(mouse.transfers().empty());
    EXPECT_TRUE(controller.connected());
}

TEST_F(Discovery, RemovalOfOneCollectionWhileTheMouseStaysReopensWithAHandshakeOnly) {
    ASSERT_TRUE(Started(controller.StartDeviceLink([] {})));
    events.clear();
    mouse.clearTransfers();
    mouse.pushNotice({HidNotice::Kind::Removal, "sim/1/event", kMouseVendorId, kMouseProductId});
    controller.HandleDeviceNotices();
    EXPECT_EQ(events.events(), (std::vector<DeviceEvent>{{DeviceEventCode::LinkUp, 0}}));
    EXPECT_EQ(events.hides(), 0);
    // The handshake's two probes, no sensor record.
    EXPECT_EQ(OfKind(mouse.transfers(), SimTransfer::Kind::SetFeature).size(), 2u);
}

// A port whose system cannot watch for arrival and removal.
class UnwatchedPort final : public HidPort {
public:
    explicit UnwatchedPort(HidPort& inner) : inner_(inner) {}
    std::vector<HidInterface> enumerate() override { return inner_.enumerate(); }
    HidOpenResult open(const std::string& path, HidAccess access) override {
        return inner_.open(path, access);
    }
    void setNoticeWakeup(std::function<void()> wake) override { inner_.setNoticeWakeup(std::move(wake)); }
    std::vector<HidNotice> takeNotices() override { return inner_.takeNotices(); }
    bool watchingNotices() const override { return false; }

private:
    HidPort& inner_;
};

TEST_F(Discovery, SaysWhenArrivalAndRemovalCannotBeWatched) {
    UnwatchedPort port(mouse);
    DeviceController link(port, mouse.clock(), events);
    const DeviceLinkStart start = link.StartDeviceLink([] {});
    EXPECT_EQ(start.failure, DeviceLinkStart::Failure::Notices);
    EXPECT_EQ(start.mouse, OpenResult::Opened);
}

TEST_F(Discovery, AMouseThisUserMayNotOpenIsNotReportedAsNoMouse) {
    SimFaults faults;
    faults.noPermission = true;
    mouse.setFaults(faults);
    const DeviceLinkStart start = controller.StartDeviceLink([] {});
    EXPECT_TRUE(Started(start));
    EXPECT_EQ(start.mouse, OpenResult::NoPermission);
    EXPECT_FALSE(controller.connected());

    // Plugged in again without access: the same, and the link stays down.
    mouse.unplug();
    mouse.plugIn();
    EXPECT_EQ(controller.HandleDeviceNotices(), OpenResult::NoPermission);
    EXPECT_FALSE(controller.connected());
}

TEST_F(Discovery, ClosingNeverHangsOnTheReader) {
    // Blocked on an event read, waiting for the link, or closed twice.
    ASSERT_TRUE(Started(controller.StartDeviceLink([] {})));
    ExpectFinishes([&] { controller.CloseDeviceLink(); });
    EXPECT_EQ(mouse.openHandles(SimCollection::Feature), 0);
    EXPECT_EQ(mouse.openHandles(SimCollection::Event), 0);

    mouse.unplug();
    DeviceController waiting(mouse, mouse.clock(), events);
    ASSERT_TRUE(Started(waiting.StartDeviceLink([] {})));
    ExpectFinishes([&] {
        waiting.CloseDeviceLink();
        waiting.CloseDeviceLink();
    });
}

} // namespace
} // namespace quorvel::test
