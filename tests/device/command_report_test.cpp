#include <bit>
#include <cstdint>
#include <random>
#include <string>

#include <gtest/gtest.h>

#include "device/command_report.h"
#include "device_test_support.h"
#include "hid/sim/firmware_codec.h"

namespace quorvel::test {
namespace {

TEST(CommandReport, ChecksumMakesTheEightBytesAddUpToFF) {
    struct Case {
        CommandReport command;
        Byte checksum;
    };
    const Case cases[] = {
        {MakeProbe(), 0xDB},
        {MakeCommand(Command::ReadSensorRecord), 0x7C},
        {MakeCommand(Command::WriteKeyMatrix, {0x01, 0x40}), 0xAC},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(Hex(c.command));
        EXPECT_EQ(c.command[7], c.checksum);
        EXPECT_EQ(Checksum(c.command), c.checksum);
        unsigned sum = 0;
        for (Byte b : c.command) {
            sum += b;
        }
        EXPECT_EQ(sum % 256, 0xFFu);
    }
    EXPECT_EQ(Hex(MakeProbe()), "00 aa dd 3b 62 00 00 db");
}

// The scrambling written out another way: the permuted, keyed bytes as one
// big-endian 64-bit number rotated left by 3, then the key text added.
CommandReport ReferenceScramble(const CommandReport& x, const LinkKey& key) {
    const CommandReport y{x[5], x[4], x[7], x[6], x[1], x[0], x[3], x[2]};
    std::uint64_t number = 0;
    for (int i = 0; i < 8; ++i) {
        const Byte keyed = (i >= 1 && i <= 6) ? static_cast<Byte>(y[i] ^ key[i]) : y[i];
        number = (number << 8) | keyed;
    }
    number = std::rotl(number, 3);
    CommandReport out{};
    for (int i = 0; i < 8; ++i) {
        const auto z = static_cast<Byte>(number >> (8 * (7 - i)));
        const auto a = static_cast<Byte>(kAdditiveKey[i]);
        out[i] = static_cast<Byte>(z + static_cast<Byte>((a << 4) | (a >> 4)));
    }
    return out;
}

TEST(CommandReport, ScrambleMatchesTheWrittenOutTransformAndUnscrambleUndoesIt) {
    std::mt19937 random(20240611);
    std::uniform_int_distribution<int> byte(0, 255);
    for (int round = 0; round < 2000; ++round) {
        CommandReport plain{};
        LinkKey key{};
        for (auto& b : plain) {
            b = static_cast<Byte>(byte(random));
        }
        for (std::size_t i = 1; i <= 6; ++i) {
            key[i] = static_cast<Byte>(byte(random));
        }
        if (round % 2 == 0) {
            key = MakeLinkKey();
        }
        CommandReport bytes = plain;
        ScrambleReport(bytes, key);
        ASSERT_EQ(bytes, ReferenceScramble(plain, key)) << Hex(plain);
        UnscrambleReport(bytes, key);
        ASSERT_EQ(bytes, plain);
    }
}

// Frames worked out by hand from the protocol, with the link key 731904:
// the probe, the sensor record read, and the mouse's answer to it.
struct KnownFrame {
    const char* name;
    const char* plain;
    const char* scrambled;
};
constexpr KnownFrame kKnownFrames[] = {
    {"probe", "00 aa dd 3b 62 00 00 db", "67 05 f5 a3 d0 d7 83 fe"},
    {"sensor record read", "83 00 00 00 00 00 00 7c", "66 10 2d a0 04 f0 a5 16"},
    {"sensor record answer", "83 02 01 00 41 00 00 38", "68 06 0d a0 14 f0 a5 1e"},
};

CommandReport FromHex(const char* text) {
    CommandReport bytes{};
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        bytes[i] = static_cast<Byte>(std::stoi(std::string(text + 3 * i, 2), nullptr, 16));
    }
    return bytes;
}

TEST(CommandReport, ProgramAndSimulatedMouseBothGiveTheKnownFrames) {
    for (const auto& frame : kKnownFrames) {
        SCOPED_TRACE(frame.name);
        const CommandReport plain = FromHex(frame.plain);
        const CommandReport scrambled = FromHex(frame.scrambled);

        EXPECT_EQ(Checksum(plain), plain[7]);
        CommandReport bytes = plain;
        ScrambleReport(bytes, MakeLinkKey());
        EXPECT_EQ(Hex(bytes), frame.scrambled);
        UnscrambleReport(bytes, MakeLinkKey());
        EXPECT_EQ(Hex(bytes), frame.plain);

        EXPECT_TRUE(firmware::ChecksumHolds(plain));
        EXPECT_EQ(Hex(firmware::Encode(plain)), frame.scrambled);
        EXPECT_EQ(Hex(firmware::Decode(scrambled)), frame.plain);
    }
    EXPECT_EQ(Hex(MakeCommand(Command::ReadSensorRecord)), kKnownFrames[1].plain);
    EXPECT_TRUE(firmware::IsProbe(FromHex(kKnownFrames[0].plain)));
    const std::array<Byte, 4> record{0x02, 0x01, 0x00, 0x41};
    EXPECT_EQ(Hex(firmware::Sealed(0x83, record)), kKnownFrames[2].plain);
}

TEST(CommandReport, LinkKeyIsSixDigitsBetweenZeros) {
    const LinkKey key = MakeLinkKey();
    EXPECT_EQ(key[0], 0);
    EXPECT_EQ(key[7], 0);
    for (std::size_t i = 1; i <= 6; ++i) {
        EXPECT_GE(key[i], '0');
        EXPECT_LE(key[i], '9');
    }
}

} // namespace
} // namespace quorvel::test
