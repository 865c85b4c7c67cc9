#include <numeric>
#include <string>

#include <gtest/gtest.h>

#include "assign/function_list.h"
#include "assign/key_matrices.h"
#include "device/commands.h"
#include "device/device_image.h"
#include "device_test_support.h"

namespace quorvel::test {
namespace {

using Kind = SimTransfer::Kind;

DeviceConfig ChosenConfig() {
    DeviceConfig config = zeroDeviceConfig();
    config.reportRate = 2;
    config.dpiValueIndex = {0, 5, 7, 2};
    config.dpiStageEnabled = {1, 1, 0, 1, 0, 0, 0, 0};
    config.lightingMode = 2;
    config.respirationPeriod = 4;
    config.loopColourEnabled = {0, 0, 1, 0, 0, 1, 0, 2}; // only exactly 1 counts
    config.loopColours[2] = {0x10, 0x20, 0x30};
    config.loopColours[5] = {0x40, 0x50, 0x60};
    config.loopColours[7] = {0x70, 0x80, 0x90};
    config.dpiStageColourSwitches = {0x21, 0x43};
    config.reserved2019 = {0x65, 0x87};
    for (std::size_t k = 0; k < config.macroSlots.size(); ++k) {
        std::iota(config.macroSlots[k].begin(), config.macroSlots[k].end(), static_cast<Byte>(7 * k));
    }
    config.modeA.field(kFieldFunction, 0) = kFnSingleKey;
    config.modeA.field(kFieldSingleKey, 0) = 0x04;
    config.modeA.field(kFieldFunction, 1) = kFnRightClick;
    config.modeB.field(kFieldFunction, 0) = kFnKeyOff;
    return config;
}

std::string Cmd(Command code, std::initializer_list<Byte> parameters = {}) {
    const CommandReport command = MakeCommand(code, parameters);
    return "cmd " + Hex(std::span(command.data(), 7));
}

// What the mouse saw, in order: commands as the firmware read them, chunks and pauses.
std::vector<std::string> Sequence(const std::vector<SimTransfer>& transfers) {
    std::vector<std::string> steps;
    for (const auto& transfer : transfers) {
        switch (transfer.kind) {
        case Kind::SetFeature:
            steps.push_back("cmd " + Hex(std::span(transfer.command.data(), 7)));
            break;
        case Kind::GetFeature:
            steps.push_back("get");
            break;
        case Kind::Write:
            steps.push_back("write");
            break;
        case Kind::Read:
            steps.push_back("read");
            break;
        case Kind::Pause:
            steps.push_back("pause " + std::to_string(transfer.pause.count()));
            break;
        case Kind::ReadEvent:
            break;
        }
    }
    return steps;
}

std::vector<std::string> ExpectedApplySequence(Byte reportRate, std::array<Byte, 3> lighting) {
    std::vector<std::string> steps{Cmd(Command::ReportRate, {reportRate})};
    const auto writeChunks = [&](int chunks) {
        for (int i = 0; i < chunks; ++i) {
            steps.insert(steps.end(), {"write", "pause 3"});
        }
    };
    for (Byte n = 0; n < 3; ++n) {
        steps.insert(steps.end(), {Cmd(Command::ReadLightingBlock, {n}), "get", "read", "pause 2"});
    }
    for (Byte n = 0; n < 3; ++n) {
        steps.push_back(Cmd(Command::WriteLightingBlock, {n, static_cast<Byte>(kLightingBlockSizes[n])}));
        writeChunks(1);
        steps.push_back("pause 2");
    }
    steps.push_back(Cmd(Command::LightingEffect, {lighting[0], lighting[1], lighting[2]}));
    steps.push_back(Cmd(Command::DpiTable, {4, 8}));
    writeChunks(1);
    for (Byte slot = 1; slot <= 12; ++slot) {
        steps.push_back(Cmd(Command::WriteMacroSlot, {slot, 0x80}));
        writeChunks(4);
        steps.push_back("pause 2");
    }
    for (Byte slot = 1; slot <= 12; ++slot) {
        steps.insert(steps.end(),
                     {Cmd(Command::ReadMacroSlot, {slot}), "get", "read", "read", "read", "read", "pause 2"});
    }
    for (Byte table = 1; table <= 4; ++table) {
        steps.push_back(Cmd(Command::WriteKeyMatrix, {table, 0x40}));
        writeChunks(2);
        steps.push_back("pause 2");
    }
    return steps;
}

struct Apply : DeviceFixture {
    void ConnectWithSensor(Byte sensorType) {
        mouse.setSensorType(sensorType);
        Connect();
        ASSERT_TRUE(controller.SyncSensorInfo());
        mouse.clearTransfers();
    }
};

TEST_F(Apply, LeavesTheMouseHoldingWhatTheConfigurationImplies) {
    ConnectWithSensor(1);
    const std::vector<Byte> mousesOwnBlock = mouse.lightingBlock(1);
    const DeviceConfig config = ChosenConfig();
    ASSERT_EQ(controller.Apply(config), ApplyResult::Completed);

    EXPECT_EQ(mouse.reportRate(), 2);
    EXPECT_EQ(Hex(mouse.lightingBlock(0)),
              "10 20 30 40 50 60 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00");
    EXPECT_EQ(mouse.lightingBlock(1), mousesOwnBlock);
    EXPECT_EQ(Hex(mouse.lightingBlock(2)), "21 43 65 87");
    EXPECT_EQ(Hex(mouse.lightingCommand()), "02 05 03");
    EXPECT_EQ(mouse.dpiStageCount(), 4);
    EXPECT_EQ(Hex(mouse.dpiTable()), "01 23 a5 03 80 80 80 80");
    for (int slot = 1; slot <= 12; ++slot) {
        EXPECT_EQ(mouse.macroSlot(slot), config.macroSlots[static_cast<std::size_t>(slot - 1)]) << slot;
    }
    EXPECT_EQ(Hex(std::span(mouse.keyMatrix(1).data(), 12)), "00 00 04 00 01 00 f1 00 01 00 f0 00");
    EXPECT_EQ(Hex(std::span(mouse.keyMatrix(3).data(), 4)), "00 00 00 00");
    EXPECT_EQ(mouse.keyMatrix(2), KeyMatrix{});
    EXPECT_EQ(mouse.keyMatrix(4), KeyMatrix{});
    const KeyMatrices built = BuildKeyMatrices(config);
    for (int table = 1; table <= 4; ++table) {
        EXPECT_EQ(mouse.keyMatrix(table), built[static_cast<std::size_t>(table - 1)]) << table;
    }
    EXPECT_EQ(mouse.sensorRecord().sensorType, 1); // Apply does not send the sensor record
    EXPECT_TRUE(events.events().empty());
}

TEST_F(Apply, SendsEveryCommandInOrderWithItsPauses) {
    ConnectWithSensor(1);
    ASSERT_EQ(controller.Apply(ChosenConfig()), ApplyResult::Completed);
    const auto sequence = Sequence(mouse.transfers());
    EXPECT_EQ(sequence, ExpectedApplySequence(2, {2, 5, 3}));
    EXPECT_EQ(
        std::count_if(sequence.begin(), sequence.end(), [](const auto& s) { return s.starts_with("cmd"); }),
        37);
}

TEST_F(Apply, SensorTypeWithoutADpiListSendsCodeZeroForEveryStage) {
    ConnectWithSensor(7);
    ASSERT_EQ(controller.Apply(ChosenConfig()), ApplyResult::Completed);
    EXPECT_EQ(Hex(mouse.dpiTable()), "00 00 80 00 80 80 80 80");
}

TEST_F(Apply, LightingCommandKeepsThePreviousModeAndParameterForModeOff) {
    Connect();
    struct Step {
        Byte mode;
        Byte neonPeriod;
        const char* sent;
    };
    const Step steps[] = {{0, 0, "00 00 03"}, {3, 9, "03 0a 03"}, {0, 0, "03 0a 03"}, {4, 0, "03 0a 03"}};
    DeviceConfig config = zeroDeviceConfig();
    for (const auto& step : steps) {
        config.lightingMode = step.mode;
        config.neonPeriod = step.neonPeriod;
        ASSERT_EQ(controller.Apply(config), ApplyResult::Completed);
        EXPECT_EQ(Hex(mouse.lightingCommand()), step.sent) << static_cast<int>(step.mode);
    }
}

TEST_F(Apply, WithoutTheLinkNothingIsSent) {
    EXPECT_EQ(controller.Apply(ChosenConfig()), ApplyResult::NotConnected);
    EXPECT_TRUE(mouse.transfers().empty());
}

TEST(LoopColours, PackTheEnabledSlotsFromTheStart) {
    DeviceConfig config = zeroDeviceConfig();
    for (std::size_t k = 0; k < 8; ++k) {
        config.loopColours[k] = {static_cast<Byte>(k), static_cast<Byte>(0x10 + k),
                                 static_cast<Byte>(0x20 + k)};
    }
    EXPECT_EQ(PackLoopColours(config), (std::array<Byte, 24>{}));
    config.loopColourEnabled = {0, 0, 1, 0, 0, 1, 0, 0};
    EXPECT_EQ(Hex(PackLoopColours(config)),
              "02 12 22 05 15 25 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00");
    config.loopColourEnabled.fill(1);
    EXPECT_EQ(Hex(PackLoopColours(config)),
              "00 10 20 01 11 21 02 12 22 03 13 23 04 14 24 05 15 25 06 16 26 07 17 27");
}

TEST(DpiTable, CodeOfAStageFollowsSensorTypeIndexAndEnabledFlag) {
    struct Case {
        Byte sensorType;
        Byte index;
        Byte enabled;
        Byte code;
    };
    const Case cases[] = {
        {1, 5, 1, 0x23},  {1, 5, 0, 0xA3}, {7, 5, 1, 0x00}, {7, 5, 0, 0x80},
        {0, 11, 1, 0x28}, {2, 4, 1, 0x0A}, {3, 7, 0, 0x88}, {1, 8, 1, 0x00}, // past the end of the list
    };
    for (const auto& c : cases) {
        DeviceConfig config = zeroDeviceConfig();
        config.dpiValueIndex[1] = c.index;
        config.dpiStageEnabled[1] = c.enabled;
        const auto table = BuildDpiTable(config, c.sensorType);
        EXPECT_EQ(table[1], c.code) << static_cast<int>(c.sensorType) << " " << static_cast<int>(c.index);
        EXPECT_EQ(Hex(std::span(table.data() + 4, 4)), "80 80 80 80");
    }
}

using SyncSensorInfo = DeviceFixture;

TEST_F(SyncSensorInfo, TakesTheSensorTypeAndWritesTheRecordBackWithBit6Set) {
    Connect();
    const std::pair<Byte, Byte> option2s[] = {{0x01, 0x41}, {0x40, 0x40}, {0xBF, 0xFF}};
    for (const auto& [read, written] : option2s) {
        mouse.setSensorRecord({0x03, 0x02, 0x5A, read});
        mouse.clearTransfers();
        ASSERT_TRUE(controller.SyncSensorInfo());
        EXPECT_EQ(mouse.sensorRecord(), (SensorInfo{0x03, 0x02, 0x5A, written}));
        EXPECT_EQ(controller.image().currentSensorType, 3);
        EXPECT_EQ(Sequence(mouse.transfers()),
                  (std::vector<std::string>{Cmd(Command::ReadSensorRecord), "get",
                                            Cmd(Command::WriteSensorRecord, {0x03, 0x02, 0x5A, written})}));
    }
}

} // namespace
} // namespace quorvel::test
