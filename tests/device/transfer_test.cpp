#include <array>
#include <numeric>

#include <gtest/gtest.h>

#include "device/command_report.h"
#include "device/feature_channel.h"
#include "device_test_support.h"

namespace quorvel::test {
namespace {

using Kind = SimTransfer::Kind;

std::vector<Kind> Kinds(const std::vector<SimTransfer>& transfers) {
    std::vector<Kind> kinds;
    for (const auto& transfer : transfers) {
        kinds.push_back(transfer.kind);
    }
    return kinds;
}

TEST(FeatureTransaction, SendsTheCorrectChecksumWhateverTheCallerLeftInByte7) {
    SimulatedMouse mouse;
    FeatureChannel link = LinkTo(mouse);
    for (bool scrambled : {false, true}) {
        SCOPED_TRACE(scrambled ? "scrambled" : "plain");
        link.setScrambled(scrambled);
        mouse.clearTransfers();
        CommandReport command = MakeCommand(Command::ReportRate, {0x02});
        command[7] = 0x00;
        EXPECT_EQ(link.FeatureTransaction(command), TransferResult::Done);

        CommandReport expected = MakeCommand(Command::ReportRate, {0x02});
        EXPECT_EQ(Hex(expected), "01 02 00 00 00 00 00 fc");
        if (scrambled) {
            ScrambleReport(expected, link.linkKey());
        }
        const auto sent = OfKind(mouse.transfers(), Kind::SetFeature);
        ASSERT_EQ(sent.size(), 1u);
        EXPECT_EQ(Hex(sent[0].report), "00 " + Hex(expected));
    }
    // The scrambled one reached the firmware as the command it is.
    EXPECT_EQ(mouse.reportRate(), 0x02);
}

TEST(FeatureTransaction, ReadCommandTakesTheUnscrambledAnswer) {
    SimulatedMouse mouse;
    mouse.setSensorRecord({0x07, 0x02, 0x10, 0x01});
    FeatureChannel link = LinkTo(mouse);
    CommandReport command = MakeCommand(Command::ReadSensorRecord);
    ASSERT_EQ(link.FeatureTransaction(command), TransferResult::Done);
    EXPECT_EQ(Hex(command), "83 07 02 10 01 00 00 " + Hex(std::array<Byte, 1>{Checksum(command)}));
}

struct WriteCase {
    Byte length;
    std::size_t bufferSize;
    std::size_t chunks;
};

TEST(BulkTransfer, WritesAsManyChunksAsTheLengthNeedsEachFollowedBy3ms) {
    const WriteCase cases[] = {{128, 128, 4}, {4, 32, 1}, {33, 64, 2}, {0, 0, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.length));
        SimulatedMouse mouse;
        FeatureChannel link = LinkTo(mouse);
        std::vector<Byte> data(c.bufferSize);
        std::iota(data.begin(), data.end(), Byte{1});
        CommandReport command = MakeCommand(Command::WriteMacroSlot, {1, c.length});
        ASSERT_EQ(link.BulkTransfer(mouse.clock(), command, data), TransferResult::Done);

        const auto transfers = mouse.transfers();
        std::vector<Kind> expected{Kind::SetFeature};
        for (std::size_t i = 0; i < c.chunks; ++i) {
            expected.insert(expected.end(), {Kind::Write, Kind::Pause});
        }
        ASSERT_EQ(Kinds(transfers), expected);
        for (std::size_t i = 0; i < c.chunks; ++i) {
            const SimTransfer& chunk = transfers[1 + 2 * i];
            ASSERT_EQ(chunk.report.size(), 33u);
            EXPECT_EQ(chunk.report[0], 0); // report ID
            // Every chunk carries 32 bytes of the caller's buffer, also past the length.
            EXPECT_TRUE(std::equal(chunk.report.begin() + 1, chunk.report.end(), data.begin() + 32 * i));
            EXPECT_EQ(transfers[2 + 2 * i].pause, 3ms);
        }
    }
}

TEST(BulkTransfer, WriteBeyondTheCallersBufferSendsZeros) {
    SimulatedMouse mouse;
    FeatureChannel link = LinkTo(mouse);
    const std::array<Byte, 4> block{0xA1, 0xA2, 0xA3, 0xA4};
    std::array<Byte, 4> copy = block;
    CommandReport command = MakeCommand(Command::WriteLightingBlock, {2, 4});
    ASSERT_EQ(link.BulkTransfer(mouse.clock(), command, copy), TransferResult::Done);
    const auto writes = OfKind(mouse.transfers(), Kind::Write);
    ASSERT_EQ(writes.size(), 1u);
    std::vector<Byte> expected(33, 0);
    std::copy(block.begin(), block.end(), expected.begin() + 1);
    EXPECT_EQ(writes[0].report, expected);
    EXPECT_EQ(mouse.lightingBlock(2), std::vector<Byte>(block.begin(), block.end()));
}

TEST(BulkTransfer, ReadTakesAsManyChunksAsTheAnswerAnnounces) {
    SimulatedMouse mouse;
    FeatureChannel link = LinkTo(mouse);
    std::array<Byte, 128> data{};
    // Asks for 128 bytes; the mouse announces the block's 24.
    CommandReport command = MakeCommand(Command::ReadLightingBlock, {1, 0x80});
    ASSERT_EQ(link.BulkTransfer(mouse.clock(), command, data), TransferResult::Done);
    EXPECT_EQ(command[1], 1);
    EXPECT_EQ(command[2], 24);
    EXPECT_EQ(OfKind(mouse.transfers(), Kind::Read).size(), 1u);
    EXPECT_TRUE(OfKind(mouse.transfers(), Kind::Pause).empty());
    const auto block = mouse.lightingBlock(1);
    EXPECT_TRUE(std::equal(block.begin(), block.end(), data.begin()));
}

TEST(BulkTransfer, OverlongAnswerFillsOnlyTheCallersBufferAndKeepsTheLinkInStep) {
    SimulatedMouse mouse;
    MacroSlot slot{};
    std::iota(slot.begin(), slot.end(), Byte{0x40});
    mouse.setMacroSlot(3, slot);
    FeatureChannel link = LinkTo(mouse);
    SimFaults faults;
    faults.lengthByte = 0xFF;
    mouse.setFaults(faults);

    std::array<Byte, 72> buffer{};
    buffer.fill(0xEE);
    CommandReport command = MakeCommand(Command::ReadMacroSlot, {3});
    ASSERT_EQ(link.BulkTransfer(mouse.clock(), command, std::span(buffer.data(), 64)), TransferResult::Done);
    EXPECT_EQ(command[2], 0xFF);
    EXPECT_EQ(OfKind(mouse.transfers(), Kind::Read).size(), 8u); // every announced chunk is taken
    EXPECT_TRUE(std::equal(buffer.begin(), buffer.begin() + 64, slot.begin()));
    EXPECT_TRUE(std::all_of(buffer.begin() + 64, buffer.end(), [](Byte b) { return b == 0xEE; }));

    // No chunk of that answer is left to be mistaken for the next one.
    mouse.setFaults({});
    std::array<Byte, 128> next{};
    CommandReport again = MakeCommand(Command::ReadMacroSlot, {3});
    ASSERT_EQ(link.BulkTransfer(mouse.clock(), again, next), TransferResult::Done);
    EXPECT_TRUE(std::equal(slot.begin(), slot.end(), next.begin()));
}

using Handshake = DeviceFixture;

TEST_F(Handshake, TheMouseThatAnswersOnlyTheScrambledProbeBringsTheLinkUp) {
    ASSERT_EQ(controller.OpenDevice(), OpenResult::Opened);
    controller.Handshake();
    EXPECT_EQ(events.events(), (std::vector<DeviceEvent>{{DeviceEventCode::LinkUp, 0}}));
    EXPECT_TRUE(controller.connected());
    EXPECT_TRUE(controller.channel().scrambled());
    EXPECT_EQ(controller.channel().linkKey(), MakeLinkKey());

    const auto transfers = mouse.transfers();
    ASSERT_EQ(Kinds(transfers), (std::vector<Kind>{Kind::SetFeature, Kind::Pause, Kind::GetFeature,
                                                   Kind::SetFeature, Kind::Pause, Kind::GetFeature}));
    EXPECT_EQ(Hex(transfers[0].report), "00 00 aa dd 3b 62 00 00 db");
    EXPECT_EQ(transfers[1].pause, 5ms);
    CommandReport scrambledProbe = MakeProbe();
    ScrambleReport(scrambledProbe, MakeLinkKey());
    EXPECT_EQ(Hex(transfers[3].report), "00 " + Hex(scrambledProbe));
    EXPECT_EQ(transfers[4].pause, 5ms);
}

TEST_F(Handshake, EndsWithTheLinkDownForAMouseThatAnswersWrongly) {
    struct Case {
        const char* name;
        bool answersPlainProbe;
        SimFaults faults;
    };
    SimFaults silent;
    silent.silent = true;
    SimFaults shortAnswers;
    shortAnswers.shortFeatureAnswers = true;
    const Case cases[] = {
        {"answers the plain probe", true, {}},
        {"silent", false, silent},
        {"short answers", false, shortAnswers},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        mouse.setAnswersPlainProbe(c.answersPlainProbe);
        mouse.setFaults(c.faults);
        events.clear();
        mouse.clearTransfers();
        ASSERT_EQ(controller.OpenDevice(), OpenResult::Opened);
        controller.Handshake();
        EXPECT_EQ(events.events(), (std::vector<DeviceEvent>{{DeviceEventCode::LinkDown, 0}}));
        EXPECT_FALSE(controller.connected());
        EXPECT_FALSE(controller.channel().scrambled());
        // A plain answer ends it after the first attempt.
        EXPECT_EQ(OfKind(mouse.transfers(), Kind::SetFeature).size(), c.answersPlainProbe ? 1u : 2u);
    }
}

} // namespace
} // namespace quorvel::test
