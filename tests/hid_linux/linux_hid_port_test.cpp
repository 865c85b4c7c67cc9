#include "hid/linux/linux_hid_port.h"
#include "hid_linux/descriptors.h"
#include "hid_linux/fake_hidraw.h"

#include <gtest/gtest.h>

#include <thread>
#include <tuple>

namespace quorvel {
namespace {

// The device manager as a table; the test plays udev's announcements.
struct DirectoryState {
    std::vector<HidrawNode> nodes;
    std::function<void(const HidrawChange&)> onChange;
    bool canWatch = true;
    bool watchStopped = false;
};

class FakeWatch : public HidrawWatch {
public:
    explicit FakeWatch(std::shared_ptr<DirectoryState> state) : state_(std::move(state)) {}
    ~FakeWatch() override { state_->watchStopped = true; }

private:
    std::shared_ptr<DirectoryState> state_;
};

class FakeDirectory : public HidrawDirectory {
public:
    explicit FakeDirectory(std::shared_ptr<DirectoryState> state) : state_(std::move(state)) {}
    std::vector<HidrawNode> list() override { return state_->nodes; }
    std::unique_ptr<HidrawWatch> watch(std::function<void(const HidrawChange&)> onChange) override {
        if (!state_->canWatch) {
            return nullptr;
        }
        state_->onChange = std::move(onChange);
        return std::make_unique<FakeWatch>(state_);
    }

private:
    std::shared_ptr<DirectoryState> state_;
};

auto fields(const HidInterface& i) {
    return std::tuple(i.path, i.vendorId, i.productId, i.versionNumber, i.usagePage, i.usage,
                      i.inputReportLength, i.outputReportLength, i.featureReportLength);
}

auto fields(const HidNotice& n) {
    return std::tuple(n.kind, n.path, n.vendorId, n.productId);
}

class LinuxHidPortTest : public ::testing::Test {
protected:
    std::shared_ptr<DirectoryState> state = std::make_shared<DirectoryState>();
    std::shared_ptr<FakeHidraw> system = std::make_shared<FakeHidraw>();
    std::unique_ptr<LinuxHidPort> port =
        std::make_unique<LinuxHidPort>(system, std::make_unique<FakeDirectory>(state));

    void SetUp() override {
        state->nodes = {
            {"/dev/hidraw0", "/devices/pci0000:00/usb1/1-1/1-1:1.0/0003:046D:C077.0001/hidraw/hidraw0",
             "0003:0000046D:0000C077", 0x7200, descriptors::kBootMouse},
            // Known by its sysfs path alone.
            {"/dev/hidraw1", "/devices/platform/i2c-1/0018:04F3:3140.0002/hidraw/hidraw1", "", 0,
             descriptors::kTouchpadVendorCollections},
            {"/dev/hidraw2",
             "/devices/x/0003:1234:5678.0003/hidraw/hidraw2",
             "0003:00001234:00005678",
             0x0100,
             {0x05, 0x01, 0xA1, 0x01}}, // never closes its collection
            {"/dev/hidraw3",
             "/devices/x/0003:1234:5679.0004/hidraw/hidraw3",
             "0003:00001234:00005679",
             0x0100,
             {}}, // descriptor unreadable
        };
    }

    // Announcements come from the watcher's thread, as udev's do.
    void announce(const HidrawChange& change) {
        std::thread watcher([&] { state->onChange(change); });
        watcher.join();
    }
};

TEST_F(LinuxHidPortTest, EnumerateListsEveryTopLevelCollectionOfEveryReadableNode) {
    const std::vector<std::tuple<std::string, int, int, int, int, int, int, int, int>> expected{
        {"/dev/hidraw0", 0x046D, 0xC077, 0x7200, 0x0001, 0x0002, 4, 0, 0},
        {"/dev/hidraw1", 0x04F3, 0x3140, 0, 0x0001, 0x0002, 9, 0, 5},
        {"/dev/hidraw1#1", 0x04F3, 0x3140, 0, 0xFF00, 0x0001, 12, 0, 529},
    };
    const auto interfaces = port->enumerate();
    ASSERT_EQ(interfaces.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(fields(interfaces[i]), expected[i]) << interfaces[i].path;
    }
}

TEST_F(LinuxHidPortTest, ListedPathsOpenThroughTheSystemCalls) {
    system->nodePath = "/dev/hidraw1";
    system->descriptor = descriptors::kTouchpadVendorCollections;
    for (const auto& interface : port->enumerate()) {
        if (interface.path.starts_with("/dev/hidraw1")) {
            EXPECT_TRUE(port->open(interface.path, HidAccess::ReadWrite).device) << interface.path;
        }
    }
    EXPECT_FALSE(port->open("/dev/hidraw1#2", HidAccess::ReadWrite).device);
}

TEST_F(LinuxHidPortTest, NoticesNameTheDeviceEvenWhenItIsGone) {
    int wakes = 0;
    port->setNoticeWakeup([&wakes] { ++wakes; });
    port->enumerate();

    announce({HidrawChange::Action::Add, "/dev/hidraw5", "/devices/x/0003:04D9:A09F.0009/hidraw/hidraw5",
              "0003:000004D9:0000A09F"});
    // Removals: the parent is gone, so no HID_ID; the sysfs path still tells...
    announce(
        {HidrawChange::Action::Remove, "/dev/hidraw5", "/devices/x/0003:04D9:A09F.0009/hidraw/hidraw5", ""});
    // ...and when it does not, the ids listed or announced before do.
    announce({HidrawChange::Action::Remove, "/dev/hidraw0", "/devices/virtual/hidraw/hidraw0", ""});
    announce({HidrawChange::Action::Add, "/dev/hidraw6", "", "0003:000004D9:0000A09F"});
    announce({HidrawChange::Action::Remove, "/dev/hidraw6", "", ""});
    announce({HidrawChange::Action::Remove, "/dev/hidraw9", "", ""}); // never seen

    using Kind = HidNotice::Kind;
    const std::vector<std::tuple<Kind, std::string, int, int>> expected{
        {Kind::Arrival, "/dev/hidraw5", 0x04D9, 0xA09F}, {Kind::Removal, "/dev/hidraw5", 0x04D9, 0xA09F},
        {Kind::Removal, "/dev/hidraw0", 0x046D, 0xC077}, {Kind::Arrival, "/dev/hidraw6", 0x04D9, 0xA09F},
        {Kind::Removal, "/dev/hidraw6", 0x04D9, 0xA09F}, {Kind::Removal, "/dev/hidraw9", 0, 0},
    };
    const auto notices = port->takeNotices();
    ASSERT_EQ(notices.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(fields(notices[i]), expected[i]) << i;
    }
    EXPECT_EQ(wakes, 6);
    EXPECT_TRUE(port->takeNotices().empty());
}

TEST_F(LinuxHidPortTest, TheWakeupMayTakeTheNoticesAtOnce) {
    std::vector<HidNotice> taken;
    port->setNoticeWakeup([&] {
        for (auto& notice : port->takeNotices()) {
            taken.push_back(notice);
        }
    });
    announce({HidrawChange::Action::Add, "/dev/hidraw5", "", "0003:000004D9:0000A09F"});
    ASSERT_EQ(taken.size(), 1u);
    EXPECT_EQ(taken[0].path, "/dev/hidraw5");
}

TEST_F(LinuxHidPortTest, TheWatchLastsAsLongAsThePort) {
    EXPECT_TRUE(port->watchingNotices());
    port.reset();
    EXPECT_TRUE(state->watchStopped);

    // Without a watch the port still lists, and says it cannot follow changes.
    state->canWatch = false;
    port = std::make_unique<LinuxHidPort>(system, std::make_unique<FakeDirectory>(state));
    EXPECT_FALSE(port->watchingNotices());
    EXPECT_EQ(port->enumerate().size(), 3u);
}

// The running system: there may be no hidraw node and no udev daemon here,
// but listing must work and the watcher's thread must stop when asked.
TEST(LinuxHidPortOnThisSystem, ListsAndStopsWatchingWithoutHanging) {
    for (int round = 0; round < 3; ++round) {
        LinuxHidPort port;
        for (const auto& interface : port.enumerate()) {
            EXPECT_FALSE(interface.path.empty());
        }
        EXPECT_TRUE(port.takeNotices().empty());
    }
}

} // namespace
} // namespace quorvel
