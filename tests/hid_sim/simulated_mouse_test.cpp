#include <atomic>
#include <numeric>

#include <gtest/gtest.h>

#include "device/commands.h"
#include "device/device_test_support.h"
#include "hid/sim/simulated_mouse.h"

namespace quorvel::test {
namespace {

using Kind = SimTransfer::Kind;

std::string PathOf(SimulatedMouse& mouse, SimCollection collection) {
    for (const auto& interface : mouse.enumerate()) {
        if (collection == SimCollection::Event ? IsEventCollection(interface)
                                               : IsFeatureCollection(interface)) {
            return interface.path;
        }
    }
    return {};
}

TEST(SimulatedMouse, ListsItsTwoCollectionsEventCollectionFirstUnlessTurned) {
    SimulatedMouse mouse;
    auto interfaces = mouse.enumerate();
    ASSERT_EQ(interfaces.size(), 2u);
    EXPECT_TRUE(IsEventCollection(interfaces[0]));
    EXPECT_TRUE(IsFeatureCollection(interfaces[1]));
    mouse.setEventCollectionFirst(false);
    interfaces = mouse.enumerate();
    EXPECT_TRUE(IsFeatureCollection(interfaces[0]));
    EXPECT_TRUE(IsEventCollection(interfaces[1]));
}

TEST(SimulatedMouse, UnplugAndReplugAnnounceThemselvesAndKillTheOldHandles) {
    SimulatedMouse mouse;
    std::atomic<int> wakes = 0;
    mouse.setNoticeWakeup([&] { ++wakes; });
    const std::string oldFeature = PathOf(mouse, SimCollection::Feature);
    auto feature = mouse.open(oldFeature, HidAccess::ReadWrite).device;
    ASSERT_TRUE(feature);
    std::array<Byte, 9> report{};
    EXPECT_TRUE(feature->setFeature(report, 10ms));

    mouse.unplug();
    EXPECT_EQ(wakes.load(), 1);
    EXPECT_TRUE(mouse.enumerate().empty());
    EXPECT_FALSE(feature->setFeature(report, 10ms));
    EXPECT_FALSE(mouse.open(oldFeature, HidAccess::ReadWrite).device);
    auto notices = mouse.takeNotices();
    ASSERT_EQ(notices.size(), 2u);
    for (const auto& notice : notices) {
        EXPECT_EQ(notice.kind, HidNotice::Kind::Removal);
        EXPECT_TRUE(IsMouse(notice.vendorId, notice.productId));
    }

    mouse.plugIn();
    EXPECT_EQ(wakes.load(), 2);
    notices = mouse.takeNotices();
    ASSERT_EQ(notices.size(), 2u);
    EXPECT_EQ(notices[0].kind, HidNotice::Kind::Arrival);
    EXPECT_NE(PathOf(mouse, SimCollection::Feature), oldFeature);
    EXPECT_FALSE(feature->setFeature(report, 10ms)); // the old handle stays dead
    EXPECT_FALSE(mouse.linked());                    // and the mouse waits for a new handshake
}

TEST(SimulatedMouse, EventReadBlocksUntilAReportComesOrItIsCancelled) {
    SimulatedMouse mouse;
    const std::string path = PathOf(mouse, SimCollection::Event);
    auto first = mouse.open(path, HidAccess::Read).device;
    auto second = mouse.open(path, HidAccess::Read).device;
    std::array<Byte, 9> report{};

    std::optional<std::size_t> got;
    std::thread reader([&] { got = first->readEvent(report); });
    mouse.pressDpiButton();
    reader.join();
    ASSERT_EQ(got, 9u);
    EXPECT_EQ(Hex(std::span(report.data(), 4)), "06 07 00 02");

    // Every handle gets its own copy.
    std::array<Byte, 9> copy{};
    EXPECT_EQ(second->readEvent(copy), 9u);
    EXPECT_EQ(copy, report);

    reader = std::thread([&] { got = first->readEvent(report); });
    first->cancelEventRead();
    reader.join();
    EXPECT_FALSE(got);
}

TEST(SimulatedMouse, ChunkReadGivesUpAfterItsTimeOutWhenTheMouseIsSilent) {
    SimulatedMouse mouse;
    auto feature = mouse.open(PathOf(mouse, SimCollection::Feature), HidAccess::ReadWrite).device;
    SimFaults faults;
    faults.silent = true;
    mouse.setFaults(faults);
    std::array<Byte, 33> chunk{};
    EXPECT_FALSE(feature->read(chunk, 5ms));
    const auto reads = OfKind(mouse.transfers(), Kind::Read);
    ASSERT_EQ(reads.size(), 1u);
    EXPECT_FALSE(reads[0].ok);
}

TEST(SimulatedMouse, TablesReadBackWhatWasWritten) {
    SimulatedMouse mouse;
    FeatureChannel link = LinkTo(mouse);
    DeviceImage image;
    for (std::size_t slot = 0; slot < image.macroImage.size(); ++slot) {
        std::iota(image.macroImage[slot].begin(), image.macroImage[slot].end(), static_cast<Byte>(slot * 11));
    }
    image.lightingBlock0.fill(0x31);
    image.lightingBlock1.fill(0x32);
    image.lightingBlock2.fill(0x33);
    ASSERT_EQ(WriteMacroSlots(link, mouse.clock(), image), TransferResult::Done);
    ASSERT_EQ(WriteLightingBlocks(link, mouse.clock(), image), TransferResult::Done);

    DeviceImage readBack;
    ASSERT_EQ(ReadMacroSlots(link, mouse.clock(), readBack), TransferResult::Done);
    ASSERT_EQ(ReadLightingBlocks(link, mouse.clock(), readBack), TransferResult::Done);
    EXPECT_EQ(readBack.macroImage, image.macroImage);
    EXPECT_EQ(readBack.lightingBlock0, image.lightingBlock0);
    EXPECT_EQ(readBack.lightingBlock1, image.lightingBlock1);
    EXPECT_EQ(readBack.lightingBlock2, image.lightingBlock2);
}

class CountingClock final : public Clock {
public:
    void sleep(std::chrono::milliseconds duration) override { total += duration; }
    std::chrono::milliseconds total{0};
};

TEST(SimulatedMouse, ClockRecordsEveryPauseAndPassesItOnWhenAsked) {
    SimulatedMouse mouse;
    mouse.clock().sleep(2ms);
    CountingClock real;
    mouse.sleepThrough(&real);
    mouse.clock().sleep(3ms);
    const auto pauses = OfKind(mouse.transfers(), Kind::Pause);
    ASSERT_EQ(pauses.size(), 2u);
    EXPECT_EQ(pauses[0].pause, 2ms);
    EXPECT_EQ(pauses[1].pause, 3ms);
    EXPECT_EQ(real.total, 3ms);
}

// A mouse that runs for hours (the demo) keeps the most recent transfers
// only: the log stops growing at its limit and holds the newest ones, in
// order.
TEST(SimulatedMouse, TheTransferLogKeepsTheMostRecentTransfersOnly) {
    SimulatedMouse mouse;
    const std::size_t made = kSimTransferLogLimit + 1000;
    for (std::size_t i = 1; i <= made; ++i) {
        mouse.clock().sleep(std::chrono::milliseconds(i));
    }
    const auto kept = mouse.transfers();
    ASSERT_EQ(kept.size(), kSimTransferLogLimit);
    EXPECT_EQ(kept.front().pause, std::chrono::milliseconds(made - kSimTransferLogLimit + 1));
    EXPECT_EQ(kept.back().pause, std::chrono::milliseconds(made));
}

} // namespace
} // namespace quorvel::test
