#include <gtest/gtest.h>

#include "device_test_support.h"

namespace quorvel::test {
namespace {

using Kind = SimTransfer::Kind;

DeviceConfig SomeConfig() {
    DeviceConfig config = zeroDeviceConfig();
    config.reportRate = 4;
    config.lightingMode = 1;
    config.macroSlots[11].fill(0x5C);
    return config;
}

struct Faults : DeviceFixture {
    // Apply on a mouse that misbehaves; returns what Apply said.
    ApplyResult ApplyWith(const SimFaults& faults) {
        Connect();
        mouse.setFaults(faults);
        ApplyResult result = ApplyResult::Completed;
        ExpectFinishes([&] { result = controller.Apply(SomeConfig()); });
        return result;
    }

    // The link went down the way the window shows it, and nothing was sent
    // after the transfer of `kind` that failed.
    void ExpectBrokenLink(Kind kind, bool failedOnTheWire = true) {
        EXPECT_EQ(events.events(), (std::vector<DeviceEvent>{{DeviceEventCode::LinkDown, 0}}));
        EXPECT_FALSE(controller.connected());
        const auto transfers = mouse.transfers();
        ASSERT_FALSE(transfers.empty());
        EXPECT_EQ(transfers.back().kind, kind);
        EXPECT_EQ(std::count_if(transfers.begin(), transfers.end(), [](const auto& t) { return !t.ok; }),
                  failedOnTheWire ? 1 : 0);
        EXPECT_EQ(transfers.back().ok, !failedOnTheWire);
        EXPECT_EQ(controller.Apply(SomeConfig()), ApplyResult::NotConnected);
    }
};

TEST_F(Faults, ApplyStopsWhenTheMouseFallsSilent) {
    SimFaults faults;
    faults.silent = true;
    EXPECT_EQ(ApplyWith(faults), ApplyResult::LinkBroken);
    ExpectBrokenLink(Kind::GetFeature);
    EXPECT_TRUE(OfKind(mouse.transfers(), Kind::Write).empty());
}

TEST_F(Faults, ApplyStopsWhenChunksComeLaterThanTheTimeOut) {
    SimFaults faults;
    faults.chunkDelay = 10 * kTestTimeout;
    EXPECT_EQ(ApplyWith(faults), ApplyResult::LinkBroken);
    ExpectBrokenLink(Kind::Read);
}

TEST_F(Faults, ApplyStopsOnChunksThatComeShort) {
    SimFaults faults;
    faults.shortChunks = true;
    EXPECT_EQ(ApplyWith(faults), ApplyResult::LinkBroken);
    ExpectBrokenLink(Kind::Read, false);
}

TEST_F(Faults, ApplyStopsWhenTheMouseIsPulledOutAndTheRemovalThenHidesTheWindow) {
    SimFaults faults;
    faults.unplugAfter = 40;
    EXPECT_EQ(ApplyWith(faults), ApplyResult::LinkBroken);
    ExpectBrokenLink(Kind::Write);
    EXPECT_EQ(events.hides(), 0);

    events.clear();
    controller.HandleDeviceNotices();
    EXPECT_EQ(events.events(), (std::vector<DeviceEvent>{{DeviceEventCode::LinkDown, 0}}));
    EXPECT_EQ(events.hides(), 1);
}

TEST_F(Faults, AnswersThatComeLateButInTimeDoNoHarm) {
    SimFaults faults;
    faults.chunkDelay = kTestTimeout / 4;
    EXPECT_EQ(ApplyWith(faults), ApplyResult::Completed);
    EXPECT_EQ(mouse.macroSlot(12), SomeConfig().macroSlots[11]);
}

TEST_F(Faults, OverlongLengthBytesAreReadButOnlyTheBlocksSizeIsKept) {
    const std::vector<Byte> mousesOwnBlock = mouse.lightingBlock(1);
    SimFaults faults;
    faults.lengthByte = 0xFF;
    EXPECT_EQ(ApplyWith(faults), ApplyResult::Completed);
    // Block 1 came back announced as 255 bytes; only its 24 went back to the mouse.
    EXPECT_EQ(mouse.lightingBlock(1), mousesOwnBlock);
    EXPECT_EQ(controller.image().macroImage[11], SomeConfig().macroSlots[11]);
    EXPECT_EQ(OfKind(mouse.transfers(), Kind::Read).size(), (3u + 12u) * 8u);
    EXPECT_TRUE(controller.connected());
}

TEST_F(Faults, ChunksBeyondWhatAnAnswerAnnouncedAreNeverTakenForALaterRead) {
    const std::vector<Byte> mousesOwnBlock = mouse.lightingBlock(1);
    MacroSlot slot{};
    slot.fill(0x21);
    DeviceConfig config = SomeConfig();
    config.macroSlots[0] = slot;
    Connect();
    SimFaults faults;
    faults.extraChunks = 1;
    mouse.setFaults(faults);
    EXPECT_EQ(controller.Apply(config), ApplyResult::Completed);
    // Block 0's extra chunk was not read as block 1, nor slot 1's as slot 2.
    EXPECT_EQ(mouse.lightingBlock(1), mousesOwnBlock);
    EXPECT_EQ(controller.image().macroImage[0], slot);
    EXPECT_EQ(controller.image().macroImage[1], config.macroSlots[1]);
}

TEST_F(Faults, AnAnswerThatContradictsTheRequestBreaksApplyAsUnusable) {
    struct Case {
        const char* name;
        SimFaults faults;
    };
    SimFaults otherCode;
    otherCode.answerCode = 0x13;
    SimFaults otherBlock;
    otherBlock.answerNumber = 0x05;
    SimFaults shortBlock;
    shortBlock.lengthByte = 4; // lighting block 0 holds 24
    SimFaults noBlock;
    noBlock.lengthByte = 0;
    const Case cases[] = {{"another command", otherCode},
                          {"another block", otherBlock},
                          {"a block too short", shortBlock},
                          {"no block", noBlock}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        mouse.setFaults({});
        events.clear();
        EXPECT_EQ(ApplyWith(c.faults), ApplyResult::UnusableAnswer);
        EXPECT_EQ(events.events(), (std::vector<DeviceEvent>{{DeviceEventCode::LinkDown, 0}}));
        EXPECT_FALSE(controller.connected());
        // Nothing was written after the lighting blocks were read.
        EXPECT_TRUE(OfKind(mouse.transfers(), Kind::Write).empty());
    }
}

TEST_F(Faults, ASensorRecordAnswerForAnotherCommandIsNotTaken) {
    mouse.setSensorType(2);
    Connect();
    ASSERT_TRUE(controller.SyncSensorInfo());
    SimFaults faults;
    faults.answerCode = 0x90;
    mouse.setFaults(faults);
    mouse.setSensorType(3);
    EXPECT_FALSE(controller.SyncSensorInfo());
    EXPECT_FALSE(controller.ReadSensorRecord());
    EXPECT_EQ(controller.image().currentSensorType, 2);
}

TEST_F(Faults, SyncSensorInfoWritesNothingBackWhenTheReadFails) {
    mouse.setSensorType(2);
    Connect();
    ASSERT_TRUE(controller.SyncSensorInfo());
    SimFaults faults;
    faults.silent = true;
    mouse.setFaults(faults);
    mouse.clearTransfers();
    EXPECT_FALSE(controller.SyncSensorInfo());
    EXPECT_EQ(OfKind(mouse.transfers(), Kind::SetFeature).size(), 1u);
    EXPECT_EQ(controller.image().currentSensorType, 2);
}

TEST_F(Faults, ASilentMouseAtStartEndsInLinkDownWithoutHanging) {
    SimFaults faults;
    faults.silent = true;
    mouse.setFaults(faults);
    ExpectFinishes([&] { EXPECT_TRUE(Started(controller.StartDeviceLink([] {}))); });
    EXPECT_FALSE(controller.connected());
    EXPECT_EQ(events.events(), (std::vector<DeviceEvent>{{DeviceEventCode::LinkDown, 0}}));
    ExpectFinishes([&] { controller.CloseDeviceLink(); });
}

} // namespace
} // namespace quorvel::test
