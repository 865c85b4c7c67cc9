#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/stat.h>

#include "system/linux/knock_socket.h"

namespace quorvel {
namespace {

namespace fs = std::filesystem;

struct KnockSocketTest : ::testing::Test {
    fs::path folder;
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "quorvel-knock-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        folder = pattern;
    }
    void TearDown() override { fs::remove_all(folder); }
};

// A socket a crashed copy left is replaced; the new one is the user's alone,
// carries a knock to the peer's hang-up and goes with the listener.
TEST_F(KnockSocketTest, ListensInPlaceOfALeftSocketForTheUserAloneAndHearsAKnock) {
    const fs::path path = folder / "quorvel.socket";
    std::ofstream(path) << "left behind";
    {
        KnockSocket socket;
        ASSERT_TRUE(socket.listen(path)) << socket.error();
        struct stat seen {};
        ASSERT_EQ(::lstat(path.c_str(), &seen), 0);
        EXPECT_TRUE(S_ISSOCK(seen.st_mode));
        EXPECT_EQ(seen.st_mode & 0777, 0600u);
        EXPECT_FALSE(socket.accept()) << "no peer waits yet";

        ASSERT_TRUE(KnockAt(path, "show\n", 1000));
        const std::optional<int> fd = socket.accept();
        ASSERT_TRUE(fd);
        KnockPeer peer(*fd);
        EXPECT_EQ(peer.read(3), "sho") << "no more than asked for";
        EXPECT_EQ(peer.read(10), "w\n");
        EXPECT_EQ(peer.read(10), std::nullopt) << "the knocker hung up";
    }
    EXPECT_FALSE(fs::exists(fs::symlink_status(path)));
    EXPECT_FALSE(KnockAt(path, "show\n", 100)) << "no one listens";
}

TEST_F(KnockSocketTest, APathTooLongForASocketIsToldAndNotListenedAt) {
    KnockSocket socket;
    EXPECT_FALSE(socket.listen(folder / std::string(200, 'x')));
    EXPECT_NE(socket.error().find("too long"), std::string::npos) << socket.error();
}

} // namespace
} // namespace quorvel
