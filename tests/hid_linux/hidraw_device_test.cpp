#include "hid/linux/hidraw_device.h"
#include "hid_linux/descriptors.h"
#include "hid_linux/fake_hidraw.h"

#include <gtest/gtest.h>

#include <atomic>
#include <future>
#include <thread>

namespace quorvel {
namespace {

using Bytes = std::vector<std::uint8_t>;
using namespace std::chrono_literals;

class HidrawDeviceTest : public ::testing::Test {
protected:
    std::shared_ptr<FakeHidraw> system = std::make_shared<FakeHidraw>();

    std::unique_ptr<HidDevice> open(const Bytes& descriptor, const std::string& path = "/dev/hidraw7",
                                    HidAccess access = HidAccess::ReadWrite) {
        system->descriptor = descriptor;
        return openHidrawCollection(system, path, access).device;
    }

    static Bytes taken(const Bytes& buffer, std::optional<std::size_t> length) {
        return length ? Bytes(buffer.begin(), buffer.begin() + static_cast<std::ptrdiff_t>(*length))
                      : Bytes{};
    }
};

TEST_F(HidrawDeviceTest, UnnumberedReportsGetIdZeroInFront) {
    auto device = open(descriptors::kBootMouse);
    ASSERT_TRUE(device);
    Bytes buffer(8, 0xFF);

    system->deviceSends({0x01, 0x02, 0x03});
    EXPECT_EQ(taken(buffer, device->read(buffer, 100ms)), (Bytes{0x00, 0x01, 0x02, 0x03}));

    system->deviceSends({0x04, 0xFE, 0x7F});
    EXPECT_EQ(taken(buffer, device->readEvent(buffer)), (Bytes{0x00, 0x04, 0xFE, 0x7F}));
}

TEST_F(HidrawDeviceTest, NumberedReportsKeepTheirIdAndOtherCollectionsReportsArePassedOver) {
    // Collection #1 is the vendor collection with input report 0x5C; report 1
    // belongs to the mouse collection of the same node.
    auto device = open(descriptors::kTouchpadVendorCollections, "/dev/hidraw7#1");
    ASSERT_TRUE(device);
    Bytes buffer(12, 0);

    system->deviceSends({0x01, 0x01, 0x05, 0xFB});
    system->deviceSends({0x5C, 0xA0, 0xA1});
    EXPECT_EQ(taken(buffer, device->read(buffer, 100ms)), (Bytes{0x5C, 0xA0, 0xA1}));

    system->deviceSends({0x01, 0x00, 0x00, 0x00});
    system->deviceSends({0x5C, 0xB0});
    EXPECT_EQ(taken(buffer, device->readEvent(buffer)), (Bytes{0x5C, 0xB0}));
}

TEST_F(HidrawDeviceTest, WritesAndFeatureSetsPassTheWholeBufferIdZeroIncluded) {
    auto device = open(descriptors::kBootKeyboard);
    ASSERT_TRUE(device);

    EXPECT_TRUE(device->write(Bytes{0x00, 0x05}, 100ms));
    EXPECT_EQ(system->receivedByDevice(), (Bytes{0x00, 0x05}));

    const Bytes command{0x00, 0x00, 0xAA, 0xDD, 0x3B, 0x62, 0x00, 0x00, 0xDB};
    EXPECT_TRUE(device->setFeature(command, 100ms));
    ASSERT_EQ(system->ioctls.size(), 1u);
    EXPECT_EQ(system->ioctls[0].request, HIDIOCSFEATURE(9));
    EXPECT_EQ(system->ioctls[0].bytes, command);
}

TEST_F(HidrawDeviceTest, FeatureGetAsksWithTheIdAndKeepsItInFront) {
    auto device = open(descriptors::kBootKeyboard);
    ASSERT_TRUE(device);
    system->featureAnswer = {0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08};

    Bytes report(9, 0);
    EXPECT_TRUE(device->getFeature(report, 100ms));
    ASSERT_EQ(system->ioctls.size(), 1u);
    EXPECT_EQ(system->ioctls[0].request, HIDIOCGFEATURE(9));
    EXPECT_EQ(system->ioctls[0].bytes[0], 0x00);
    EXPECT_EQ(report, (Bytes{0x00, 0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08}));
}

TEST_F(HidrawDeviceTest, ReadsAndWritesGiveUpAfterTheirTimeOut) {
    auto device = open(descriptors::kBootMouse);
    ASSERT_TRUE(device);
    Bytes buffer(4, 0);

    EXPECT_FALSE(device->read(buffer, 30ms));
    auto polls = system->pollCalls();
    ASSERT_FALSE(polls.empty());
    EXPECT_GT(polls.front().timeoutMs, 0);
    EXPECT_LE(polls.front().timeoutMs, 30);

    system->pollAnswer = 0; // the node never becomes writable
    EXPECT_FALSE(device->write(Bytes{0x00, 0x01}, 25ms));
    EXPECT_EQ(system->nodeWrites, 0);
    polls = system->pollCalls();
    EXPECT_LE(polls.back().timeoutMs, 25);
}

TEST_F(HidrawDeviceTest, AnotherThreadWakesTheEventRead) {
    auto device = open(descriptors::kBootMouse);
    ASSERT_TRUE(device);
    std::promise<void> waiting;
    system->onPoll = [&waiting, done = false]() mutable {
        if (!done) {
            done = true;
            waiting.set_value();
        }
    };
    Bytes buffer(4, 0);
    auto reader = std::async(std::launch::async, [&] { return device->readEvent(buffer); });
    waiting.get_future().wait();
    device->cancelEventRead();
    EXPECT_FALSE(reader.get());
    system->onPoll = nullptr;

    // The wake is used up: the next event read delivers the next report.
    system->deviceSends({0x01, 0x00, 0x00});
    EXPECT_EQ(taken(buffer, device->readEvent(buffer)), (Bytes{0x00, 0x01, 0x00, 0x00}));
}

TEST_F(HidrawDeviceTest, ACancelBeforeTheEventReadWinsOverAWaitingReport) {
    auto device = open(descriptors::kBootMouse);
    ASSERT_TRUE(device);
    Bytes buffer(4, 0);
    system->deviceSends({0x01, 0x00, 0x00});
    device->cancelEventRead();
    EXPECT_FALSE(device->readEvent(buffer));
    EXPECT_TRUE(device->readEvent(buffer));
}

TEST_F(HidrawDeviceTest, AnUnpluggedNodeFailsEveryTransferAndTheReaderWaitsForItsWake) {
    struct Case {
        const char* name;
        std::function<void(FakeHidraw&)> unplug;
    };
    const std::vector<Case> cases{
        // A waiting report makes the read happen, and fail.
        {"read answers ENODEV",
         [](FakeHidraw& s) {
             s.deviceSends({0x01, 0x00, 0x00});
             s.nodeReadFailure = -ENODEV;
         }},
        {"read answers EIO",
         [](FakeHidraw& s) {
             s.deviceSends({0x01, 0x00, 0x00});
             s.nodeReadFailure = -EIO;
         }},
        {"the node hangs up", [](FakeHidraw& s) { s.unplug(); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        system = std::make_shared<FakeHidraw>();
        auto device = open(descriptors::kBootMouse);
        ASSERT_TRUE(device);
        c.unplug(*system);
        system->ioctlFailure = -ENODEV;
        system->nodeWriteFailure = -ENODEV;
        Bytes buffer(4, 0);

        EXPECT_FALSE(device->readEvent(buffer));
        EXPECT_FALSE(device->read(buffer, 10ms));
        EXPECT_FALSE(device->setFeature(Bytes{0x00, 0x01}, 100ms));
        EXPECT_FALSE(device->getFeature(buffer, 100ms));
        EXPECT_FALSE(device->write(Bytes{0x00, 0x01}, 10ms));

        // A reader that comes back now blocks on its wake alone instead of spinning.
        std::promise<void> waiting;
        system->onPoll = [&waiting, done = false]() mutable {
            if (!done) {
                done = true;
                waiting.set_value();
            }
        };
        auto reader = std::async(std::launch::async, [&] { return device->readEvent(buffer); });
        waiting.get_future().wait();
        device->cancelEventRead();
        EXPECT_FALSE(reader.get());
        system->onPoll = nullptr;
        EXPECT_EQ(system->pollCalls().back().fds.size(), 1u);
    }
}

TEST_F(HidrawDeviceTest, OpenAsksForTheAccessWantedAndChecksTheCollection) {
    struct Case {
        HidAccess access;
        int flags;
    };
    for (const auto& c : {Case{HidAccess::Read, O_RDONLY}, Case{HidAccess::Write, O_WRONLY},
                          Case{HidAccess::ReadWrite, O_RDWR}}) {
        system = std::make_shared<FakeHidraw>();
        EXPECT_TRUE(open(descriptors::kBootMouse, "/dev/hidraw7", c.access));
        ASSERT_EQ(system->openCalls.size(), 1u);
        EXPECT_EQ(system->openCalls[0].flags, c.flags | O_CLOEXEC | O_NONBLOCK);
    }

    system = std::make_shared<FakeHidraw>();
    EXPECT_TRUE(open(descriptors::kKeyboardWithConsumerControl, "/dev/hidraw7#1"));
    EXPECT_FALSE(open(descriptors::kKeyboardWithConsumerControl, "/dev/hidraw7#2"));
    EXPECT_EQ(system->closed.back(), system->adapterEnd); // the node is not left open
    EXPECT_FALSE(open({0xA1, 0x01}, "/dev/hidraw7"));     // a descriptor that makes no sense
    EXPECT_FALSE(open(descriptors::kBootMouse, "/dev/hidraw7#0"));
    EXPECT_FALSE(open(descriptors::kBootMouse, "/dev/hidraw8"));
}

TEST_F(HidrawDeviceTest, OpeningWithNoAccessNeedsOnlyAPresentNode) {
    auto device = open(descriptors::kBootMouse, "/dev/hidraw7", HidAccess::None);
    ASSERT_TRUE(device);
    EXPECT_TRUE(system->openCalls.empty());
    Bytes buffer(4, 0);
    EXPECT_FALSE(device->read(buffer, 10ms));
    EXPECT_FALSE(device->setFeature(buffer, 100ms));
    device->cancelEventRead();
    EXPECT_FALSE(device->readEvent(buffer));

    EXPECT_FALSE(open(descriptors::kBootMouse, "/dev/hidraw8", HidAccess::None));
}

TEST_F(HidrawDeviceTest, BuffersTheKernelCannotTakeAreRefusedUntouched) {
    auto device = open(descriptors::kBootMouse);
    ASSERT_TRUE(device);
    Bytes huge(1 << 14, 0);
    EXPECT_FALSE(device->setFeature(huge, 100ms));
    EXPECT_FALSE(device->getFeature(huge, 100ms));
    EXPECT_FALSE(device->setFeature(Bytes{}, 100ms));
    EXPECT_TRUE(system->ioctls.empty());

    // An unnumbered report needs room after the ID byte, or it would be lost.
    system->deviceSends({0x01, 0x00, 0x00});
    Bytes idOnly(1, 0);
    EXPECT_FALSE(device->read(idOnly, 10ms));
    Bytes buffer(4, 0);
    EXPECT_TRUE(device->read(buffer, 100ms));
}

TEST_F(HidrawDeviceTest, AFeatureTransferThatDoesNotComeBackGivesUpAfterItsTimeOut) {
    auto device = open(descriptors::kBootKeyboard);
    ASSERT_TRUE(device);
    // The first feature ioctl hangs in the "kernel" until the test lets it go.
    std::promise<void> release;
    std::shared_future<void> released = release.get_future().share();
    std::atomic<int> calls = 0;
    system->onFeatureIoctl = [released, &calls] {
        if (calls++ == 0) {
            released.wait();
        }
    };
    Bytes report(9, 0);
    auto got = std::async(std::launch::async, [&] { return device->getFeature(report, 30ms); });
    if (got.wait_for(10s) != std::future_status::ready) {
        release.set_value();
        FAIL() << "the feature get waited for the hung transfer";
    }
    EXPECT_FALSE(got.get());
    // The node counts as failed: further feature reports do not queue behind the hung one.
    EXPECT_FALSE(device->setFeature(Bytes{0x00, 0x01}, 30ms));
    EXPECT_EQ(calls.load(), 1);
    release.set_value();
}

TEST_F(HidrawDeviceTest, WhileAFeatureTransferHangsInTheKernelNoNodeIsClosedOnTheCallersThread) {
    // The kernel's hidraw lock is one for all nodes: a close waits until the
    // hung transfer comes back, seconds after the caller's time-out.
    auto other = open(descriptors::kBootKeyboard);
    ASSERT_TRUE(other);
    const int otherNode = system->adapterEnd;
    auto device = open(descriptors::kBootKeyboard);
    ASSERT_TRUE(device);
    const int deviceNode = system->adapterEnd;
    std::promise<void> release;
    std::shared_future<void> released = release.get_future().share();
    std::atomic<bool> hanging = false;
    system->onFeatureIoctl = [released, &hanging] {
        hanging = true;
        released.wait();
        hanging = false;
    };
    const auto caller = std::this_thread::get_id();
    std::atomic<int> closesThatWouldWait = 0;
    system->onClose = [&](int fd) {
        // Only the nodes: the wake-up eventfds close at once whatever hangs.
        if ((fd == otherNode || fd == deviceNode) && hanging && std::this_thread::get_id() == caller) {
            ++closesThatWouldWait;
        }
    };

    Bytes report(9, 0);
    EXPECT_FALSE(device->getFeature(report, 30ms));
    other.reset();
    device.reset();
    EXPECT_EQ(closesThatWouldWait.load(), 0);

    // Once the transfer is back, both nodes are closed all the same.
    release.set_value();
    for (int i = 0; i < 1000 && !(system->wasClosed(otherNode) && system->wasClosed(deviceNode)); ++i) {
        std::this_thread::sleep_for(5ms);
    }
    EXPECT_TRUE(system->wasClosed(otherNode));
    EXPECT_TRUE(system->wasClosed(deviceNode));
    system->onClose = nullptr;
}

TEST_F(HidrawDeviceTest, OpenSaysWhenTheSystemRefusesThisUser) {
    struct Case {
        int failure;
        HidOpenError error;
    };
    for (const auto& c : {Case{-EACCES, HidOpenError::NoPermission}, Case{-EPERM, HidOpenError::NoPermission},
                          Case{-ENODEV, HidOpenError::Failed}}) {
        system = std::make_shared<FakeHidraw>();
        system->descriptor = descriptors::kBootMouse;
        system->openFailure = c.failure;
        const HidOpenResult opened = openHidrawCollection(system, "/dev/hidraw7", HidAccess::ReadWrite);
        EXPECT_FALSE(opened.device);
        EXPECT_EQ(opened.error, c.error) << c.failure;
    }
}

TEST_F(HidrawDeviceTest, DiscardDropsWhatWaitsWithoutWaitingForMore) {
    auto device = open(descriptors::kBootMouse);
    ASSERT_TRUE(device);
    system->deviceSends({0x01, 0x02, 0x03});
    system->deviceSends({0x04, 0x05, 0x06});
    EXPECT_EQ(device->discardInput(), 2u);
    EXPECT_EQ(device->discardInput(), 0u);
    Bytes buffer(4, 0);
    EXPECT_FALSE(device->read(buffer, 10ms));
}

} // namespace
} // namespace quorvel
