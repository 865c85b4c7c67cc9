#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <cerrno>
#include <cstdlib>
#include <string>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include "app/main_window_layout.h"
#include "app/second_launch.h"
#include "qt/program.h"
#include "qt/shell_support.h"
#include "support/memory_file_system.h"

namespace quorvel {
namespace {

using testing::PutAway;

// A peer of the running copy's socket, at the level of the system's calls:
// what it manages to send is what the running copy took in (or the kernel
// holds for it), and it sees the running copy hang up.
class Peer {
public:
    explicit Peer(const std::filesystem::path& socket) {
        fd_ = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        socket.string().copy(address.sun_path, sizeof address.sun_path - 1);
        connected_ = ::connect(fd_, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    }
    ~Peer() { ::close(fd_); }
    Peer(const Peer&) = delete;
    Peer& operator=(const Peer&) = delete;

    bool connected() const { return connected_; }
    // The bytes the system took: fewer when its buffer is full; -1 once the
    // running copy has hung up.
    long send(std::string_view bytes) {
        const ssize_t sent = ::send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
        if (sent >= 0) {
            return long(sent);
        }
        return errno == EAGAIN ? 0 : -1;
    }
    void hangUp() { ::shutdown(fd_, SHUT_WR); }
    bool hungUpOn() {
        char byte = 0;
        const ssize_t got = ::recv(fd_, &byte, 1, MSG_DONTWAIT);
        return got == 0 || (got < 0 && errno != EAGAIN);
    }
    // Waits, with the program's events going on, for it to hang up; the
    // bound only keeps a failing test from hanging.
    bool waitUntilHungUpOn() {
        return QTest::qWaitFor([this] { return hungUpOn(); }, 4 * KnockListener::kPatienceMs + 10000);
    }

private:
    int fd_ = -1;
    bool connected_ = false;
};

// The program with its own lock (in a runtime folder of the test's), so it
// listens for later starts, its window put away.
struct SecondLaunch : ::testing::Test {
    testing::ShellDataFolder data;
    std::filesystem::path runtime;
    SimulatedMouse mouse;
    testing::RecordingMessages messages;
    std::unique_ptr<Program> program;

    void SetUp() override {
        std::string pattern = (std::filesystem::temp_directory_path() / "quorvel-runtime-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        runtime = pattern;
        Program::Options options;
        options.paths = DataPathsIn(data.folder, data.folder / "quorvel");
        options.messages = &messages;
        options.lockFile = runtime / "quorvel.lock";
        program = std::make_unique<Program>(mouse, mouse.clock(), std::move(options));
        ASSERT_TRUE(program->start());
        QCoreApplication::processEvents();
        putAway();
    }
    void TearDown() override {
        program.reset();
        std::filesystem::remove_all(runtime);
    }
    std::filesystem::path socket() const { return runtime / "quorvel.socket"; }
    void putAway() {
        QTest::mouseClick(&program->window(), Qt::LeftButton, Qt::NoModifier,
                          testing::Inside(WindowButtonRect(WindowButtonId::Minimise)));
        QCoreApplication::processEvents();
        ASSERT_TRUE(PutAway(program->window()));
    }
    // A second start's knock: the bytes, then hanging up.
    void knock(std::string_view bytes) {
        Peer peer(socket());
        ASSERT_TRUE(peer.connected());
        ASSERT_EQ(peer.send(bytes), long(bytes.size()));
        peer.hangUp();
        EXPECT_TRUE(peer.waitUntilHungUpOn());
    }
};

TEST_F(SecondLaunch, OnlyTheKnockThenHangingUpShowsTheWindow) {
    struct Case {
        const char* what;
        std::string bytes;
        bool shows;
    };
    const Case cases[] = {
        {"the knock", std::string(kShowWindowKnock), true},
        {"nothing", "", false},
        {"a part of the knock", "show", false},
        {"the knock twice", "show\nshow\n", false},
        {"the knock with more after it", "show\nhide\n", false},
        {"another word", "hide\n", false},
        {"the knock in capitals", "SHOW\n", false},
        {"a null byte", std::string("show\0", 5), false},
    };
    for (const Case& knocked : cases) {
        SCOPED_TRACE(knocked.what);
        knock(knocked.bytes);
        EXPECT_EQ(!PutAway(program->window()), knocked.shows);
        putAway();
    }
}

TEST_F(SecondLaunch, ASilentPeerIsCutOffAndAKnockAfterItStillShowsTheWindow) {
    Peer silent(socket());
    ASSERT_TRUE(silent.connected());
    EXPECT_TRUE(silent.waitUntilHungUpOn()) << "a peer that says nothing is kept on";
    EXPECT_TRUE(PutAway(program->window()));
    knock(kShowWindowKnock);
    EXPECT_FALSE(PutAway(program->window()));
}

TEST_F(SecondLaunch, AFloodingPeerIsCutOffWithoutItsBytesBeingKept) {
    constexpr long kFlood = 64L << 20;
    std::string chunk;
    while (chunk.size() < 64 * 1024) {
        chunk += kShowWindowKnock;
    }
    Peer flood(socket());
    ASSERT_TRUE(flood.connected());
    long taken = 0;
    // A bounded number of rounds keeps a failing test from hanging.
    for (int round = 0; round < 200000 && taken < kFlood; ++round) {
        const long sent = flood.send(chunk);
        if (sent < 0) {
            break;
        }
        taken += sent;
        QCoreApplication::processEvents();
    }
    EXPECT_TRUE(flood.waitUntilHungUpOn()) << "the flood is kept on";
    // The system's buffers hold a few hundred kilobytes: the program took in
    // none of the rest.
    EXPECT_LT(taken, 8L << 20) << "the program took " << taken << " bytes of the flood";
    EXPECT_TRUE(PutAway(program->window())) << "a knock with more after it is no knock";
    knock(kShowWindowKnock);
    EXPECT_FALSE(PutAway(program->window())) << "after the flood a knock still shows the window";
}

} // namespace
} // namespace quorvel
