#include <gtest/gtest.h>

#include <condition_variable>
#include <deque>
#include <map>
#include <mutex>
#include <string_view>
#include <thread>
#include <utility>
#include <windows.h>

#include <dbt.h>

#include "hid/windows/windows_hid_port.h"

namespace quorvel {
namespace {

using namespace std::chrono_literals;
using Status = WinHidSystem::ReadResult::Status;

// A scripted HID class driver: devices by path, the reports they hold and
// what was sent to them.
class FakeWinHid final : public WinHidSystem {
public:
    struct Device {
        std::optional<Attributes> attributes;
        std::optional<Caps> caps;
        bool opens = true;
        std::deque<std::vector<std::uint8_t>> input;
        std::vector<std::vector<std::uint8_t>> features; // set
        std::vector<std::uint8_t> featureAnswer;
        std::vector<HidAccess> opened;
    };

    struct FakeHandle final : Handle {
        explicit FakeHandle(Device& d) : device(d) {}
        Device& device;
    };

    struct FakeEvent final : WakeEvent {
        explicit FakeEvent(FakeWinHid& owner) : owner(owner) {}
        void set() override {
            std::lock_guard lock(owner.mutex);
            isSet = true;
            owner.changed.notify_all();
        }
        void reset() override {
            std::lock_guard lock(owner.mutex);
            isSet = false;
        }
        FakeWinHid& owner;
        bool isSet = false;
    };

    struct FakeWatch final : Watch {
        explicit FakeWatch(FakeWinHid& owner) : owner(owner) {}
        ~FakeWatch() override { owner.changedCallback = nullptr; }
        FakeWinHid& owner;
    };

    std::vector<std::string> interfacePaths() override { return order; }

    Opened open(const std::string& path, HidAccess access) override {
        const auto it = devices.find(path);
        if (it == devices.end()) {
            return {nullptr, HidOpenError::None};
        }
        if (!it->second.opens) {
            return {nullptr, HidOpenError::NoPermission};
        }
        it->second.opened.push_back(access);
        return {std::make_unique<FakeHandle>(it->second), HidOpenError::None};
    }
    std::optional<Attributes> attributes(Handle& h) override { return Of(h).attributes; }
    std::optional<Caps> caps(Handle& h) override { return Of(h).caps; }
    bool setFeature(Handle& h, std::span<const std::uint8_t> report, std::chrono::milliseconds) override {
        Of(h).features.emplace_back(report.begin(), report.end());
        return true;
    }
    bool getFeature(Handle& h, std::span<std::uint8_t> report, std::chrono::milliseconds) override {
        const auto& answer = Of(h).featureAnswer;
        if (answer.size() != report.size()) {
            return false;
        }
        std::copy(answer.begin(), answer.end(), report.begin());
        return true;
    }
    bool write(Handle&, std::span<const std::uint8_t>, std::chrono::milliseconds) override { return writes; }
    ReadResult read(Handle& h, std::span<std::uint8_t> report, std::chrono::milliseconds timeout,
                    WakeEvent* wake) override {
        auto* event = static_cast<FakeEvent*>(wake);
        std::unique_lock lock(mutex);
        auto ready = [&] { return !Of(h).input.empty() || (event != nullptr && event->isSet); };
        if (timeout.count() < 0) {
            changed.wait(lock, ready);
        } else if (!changed.wait_for(lock, timeout, ready)) {
            return {Status::TimedOut, 0};
        }
        if (event != nullptr && event->isSet) {
            return {Status::Woken, 0};
        }
        auto next = std::move(Of(h).input.front());
        Of(h).input.pop_front();
        const auto n = std::min(next.size(), report.size());
        std::copy_n(next.begin(), n, report.begin());
        return {Status::Done, n};
    }
    std::unique_ptr<WakeEvent> createWakeEvent() override { return std::make_unique<FakeEvent>(*this); }
    std::unique_ptr<Watch> watch(std::function<void(bool, const std::string&)> callback) override {
        if (!notifications) {
            return nullptr;
        }
        changedCallback = std::move(callback);
        return std::make_unique<FakeWatch>(*this);
    }

    void add(const std::string& path, Device device) {
        order.push_back(path);
        devices[path] = std::move(device);
    }
    void push(const std::string& path, std::vector<std::uint8_t> report) {
        std::lock_guard lock(mutex);
        devices[path].input.push_back(std::move(report));
        changed.notify_all();
    }

    static Device& Of(Handle& h) { return static_cast<FakeHandle&>(h).device; }

    std::vector<std::string> order;
    std::map<std::string, Device> devices;
    bool writes = true;
    bool notifications = true;
    std::function<void(bool, const std::string&)> changedCallback;
    std::mutex mutex;
    std::condition_variable changed;
};

constexpr const char* kMousePath =
    R"(\\?\HID#VID_04D9&PID_A09F&MI_01#7&1a2b&0&0000#{4d1e55b2-f16f-11cf-88cb-001111000030})";
constexpr const char* kKeyboardPath =
    R"(\\?\hid#vid_046d&pid_c31c&mi_00#7&2c3d&0&0000#{4d1e55b2-f16f-11cf-88cb-001111000030})";

FakeWinHid::Device DeviceWith(std::optional<FakeWinHid::Attributes> attributes,
                              std::optional<FakeWinHid::Caps> caps) {
    FakeWinHid::Device device;
    device.attributes = attributes;
    device.caps = caps;
    return device;
}

FakeWinHid::Device Mouse() {
    return DeviceWith(FakeWinHid::Attributes{0x04D9, 0xA09F, 0x0110},
                      FakeWinHid::Caps{0xFF00, 0x0001, 9, 0, 9});
}

TEST(WindowsHidPort, ListsEachOpenableInterfaceWithItsAttributesAndCaps) {
    auto system = std::make_shared<FakeWinHid>();
    system->add(kKeyboardPath,
                DeviceWith(FakeWinHid::Attributes{0x046D, 0xC31C, 1}, FakeWinHid::Caps{0x01, 0x06, 9, 2, 0}));
    system->add(kMousePath, Mouse());
    FakeWinHid::Device gone = Mouse();
    gone.opens = false;
    system->add("gone", gone);
    system->add("no caps", DeviceWith(FakeWinHid::Attributes{1, 2, 3}, std::nullopt));
    WindowsHidPort port(system);

    const auto found = port.enumerate();
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(found[0].path, kKeyboardPath);
    EXPECT_EQ(found[0].usagePage, 0x01);
    EXPECT_EQ(found[0].outputReportLength, 2);
    const HidInterface& mouse = found[1];
    EXPECT_EQ(mouse.path, kMousePath);
    EXPECT_EQ(mouse.vendorId, 0x04D9);
    EXPECT_EQ(mouse.productId, 0xA09F);
    EXPECT_EQ(mouse.versionNumber, 0x0110);
    EXPECT_EQ(mouse.usagePage, 0xFF00);
    EXPECT_EQ(mouse.usage, 0x0001);
    EXPECT_EQ(mouse.inputReportLength, 9);
    EXPECT_EQ(mouse.featureReportLength, 9);
    EXPECT_EQ(system->devices[kMousePath].opened, std::vector{HidAccess::None})
        << "listing asks for no access, so devices held by the system are listed too";
}

TEST(WindowsHidPort, OpenedDevicePassesReportsWithTheirId) {
    auto system = std::make_shared<FakeWinHid>();
    system->add(kMousePath, Mouse());
    WindowsHidPort port(system);
    const HidOpenResult absent = port.open("absent", HidAccess::ReadWrite);
    EXPECT_EQ(absent.device, nullptr);
    EXPECT_EQ(absent.error, HidOpenError::Failed) << "a failure without a reason is still a failure";
    const auto device = std::move(port.open(kMousePath, HidAccess::ReadWrite).device);
    ASSERT_NE(device, nullptr);
    EXPECT_EQ(system->devices[kMousePath].opened.back(), HidAccess::ReadWrite);

    const std::vector<std::uint8_t> command{0, 1, 2, 3, 4, 5, 6, 7, 8};
    EXPECT_TRUE(device->setFeature(command, 10ms));
    EXPECT_EQ(system->devices[kMousePath].features, std::vector<std::vector<std::uint8_t>>{command});
    system->devices[kMousePath].featureAnswer = {0, 9, 8, 7, 6, 5, 4, 3, 2};
    std::vector<std::uint8_t> answer(9, 0);
    EXPECT_TRUE(device->getFeature(answer, 10ms));
    EXPECT_EQ(answer, system->devices[kMousePath].featureAnswer);
    std::vector<std::uint8_t> tooShort(4, 0);
    EXPECT_FALSE(device->getFeature(tooShort, 10ms));

    system->push(kMousePath, {0, 1});
    system->push(kMousePath, {0, 2});
    EXPECT_EQ(device->discardInput(), 2u);
    EXPECT_EQ(device->discardInput(), 0u);

    system->push(kMousePath, {0, 5, 2});
    std::vector<std::uint8_t> input(9, 0);
    EXPECT_EQ(device->read(input, 10ms), 3u);
    EXPECT_EQ(input[1], 5);
    EXPECT_EQ(device->read(input, 1ms), std::nullopt) << "time-out";
    EXPECT_TRUE(device->write(command, 10ms));
    system->writes = false;
    EXPECT_FALSE(device->write(command, 10ms));
}

TEST(WindowsHidPort, ARefusedOpenSaysSo) {
    auto system = std::make_shared<FakeWinHid>();
    FakeWinHid::Device held = Mouse();
    held.opens = false;
    system->add(kMousePath, held);
    WindowsHidPort port(system);
    const HidOpenResult opened = port.open(kMousePath, HidAccess::ReadWrite);
    EXPECT_EQ(opened.device, nullptr);
    EXPECT_EQ(opened.error, HidOpenError::NoPermission);
}

TEST(WindowsHidPort, EventReadWaitsUntilAReportOrACancel) {
    auto system = std::make_shared<FakeWinHid>();
    system->add(kMousePath, Mouse());
    WindowsHidPort port(system);
    const auto device = std::move(port.open(kMousePath, HidAccess::Read).device);
    std::vector<std::uint8_t> input(9, 0);

    device->cancelEventRead();
    EXPECT_EQ(device->readEvent(input), std::nullopt) << "a cancel before the read ends the next read";

    std::optional<std::size_t> got;
    std::thread reader([&] { got = device->readEvent(input); });
    system->push(kMousePath, {0, 7, 1, 0, 0, 0, 0, 0, 0});
    reader.join();
    EXPECT_EQ(got, 9u) << "the cancel was taken; the next read waited for the report";

    std::thread blocked([&] { got = device->readEvent(input); });
    std::this_thread::sleep_for(5ms);
    device->cancelEventRead();
    blocked.join();
    EXPECT_EQ(got, std::nullopt);
}

TEST(WindowsHidPort, NoticesCarryTheIdsOfTheInterfaceName) {
    auto system = std::make_shared<FakeWinHid>();
    WindowsHidPort port(system);
    int wakes = 0;
    port.setNoticeWakeup([&] { ++wakes; });
    EXPECT_TRUE(port.watchingNotices());
    ASSERT_TRUE(system->changedCallback);
    system->changedCallback(true, kMousePath);
    system->changedCallback(false, kKeyboardPath);
    EXPECT_EQ(wakes, 2);
    const auto notices = port.takeNotices();
    ASSERT_EQ(notices.size(), 2u);
    EXPECT_EQ(notices[0].kind, HidNotice::Kind::Arrival);
    EXPECT_EQ(notices[0].path, kMousePath);
    EXPECT_EQ(notices[0].vendorId, 0x04D9);
    EXPECT_EQ(notices[0].productId, 0xA09F);
    EXPECT_EQ(notices[1].kind, HidNotice::Kind::Removal);
    EXPECT_EQ(notices[1].vendorId, 0x046D);
    EXPECT_TRUE(port.takeNotices().empty());
}

TEST(WindowsHidPort, SaysWhenTheSystemCannotReportChanges) {
    auto system = std::make_shared<FakeWinHid>();
    system->notifications = false;
    WindowsHidPort port(system);
    port.setNoticeWakeup([] {});
    EXPECT_FALSE(port.watchingNotices());
}

TEST(InterfaceIds, AreReadFromTheNameWhateverItsCase) {
    const struct {
        const char* path;
        std::uint16_t vendor, product;
    } cases[] = {{kMousePath, 0x04D9, 0xA09F},
                 {kKeyboardPath, 0x046D, 0xC31C},
                 {R"(\\?\hid#vid_12&pid_zzzz#x)", 0, 0},
                 {"", 0, 0}};
    for (const auto& c : cases) {
        const auto ids = IdsFromInterfacePath(c.path);
        EXPECT_EQ(ids.vendorId, c.vendor) << c.path;
        EXPECT_EQ(ids.productId, c.product) << c.path;
    }
}

// The real system under the adapter: listing works and an absent path does
// not open (Wine has no HID devices to list).
TEST(SystemWinHid, ListsAndRefusesAnAbsentPath) {
    WindowsHidPort port;
    for (const auto& found : port.enumerate()) {
        EXPECT_FALSE(found.path.empty());
    }
    EXPECT_EQ(port.open(R"(\\?\hid#vid_0000&pid_0000#absent)", HidAccess::ReadWrite).device, nullptr);
}

// The real system's watch. Where cfgmgr32 has no notifications (Wine) it
// listens on a message-only window; broadcasts are sent to that window as the
// system would send them.
TEST(SystemWinHid, WatchesThroughAWindowWhereCfgmgrHasNoNotifications) {
    std::mutex mutex;
    std::vector<std::pair<bool, std::string>> changes;
    const std::shared_ptr<WinHidSystem> system = MakeSystemWinHid();
    auto watch = system->watch([&](bool arrived, const std::string& path) {
        const std::lock_guard lock(mutex);
        changes.emplace_back(arrived, path);
    });
    ASSERT_NE(watch, nullptr) << "hot-plug is watched one way or the other";
    const HWND window = ::FindWindowExW(HWND_MESSAGE, nullptr, L"QuorvelHidWatch", nullptr);
    if (window == nullptr) {
        GTEST_SKIP() << "cfgmgr32 reports the changes";
    }

    const GUID hidClass = {0x4D1E55B2, 0xF16F, 0x11CF, {0x88, 0xCB, 0x00, 0x11, 0x11, 0x00, 0x00, 0x30}};
    const GUID otherClass = {0x53F56307, 0xB6BF, 0x11D0, {0x94, 0xF2, 0x00, 0xA0, 0xC9, 0x1E, 0xFB, 0x8B}};
    struct Broadcast {
        DEV_BROADCAST_DEVICEINTERFACE_W header;
        wchar_t rest[64];
    };
    const auto send = [&](WPARAM event, const GUID& classGuid, std::wstring_view name, bool terminated) {
        Broadcast broadcast{};
        broadcast.header.dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
        broadcast.header.dbcc_classguid = classGuid;
        name.copy(broadcast.header.dbcc_name, name.size());
        // Unterminated: the size ends right after the name and the next character is not 0.
        broadcast.header.dbcc_name[name.size()] = terminated ? L'\0' : L'X';
        broadcast.header.dbcc_size =
            static_cast<DWORD>(offsetof(DEV_BROADCAST_DEVICEINTERFACE_W, dbcc_name) +
                               (name.size() + (terminated ? 1 : 0)) * sizeof(wchar_t));
        ::SendMessageW(window, WM_DEVICECHANGE, event, reinterpret_cast<LPARAM>(&broadcast));
    };
    send(DBT_DEVICEARRIVAL, hidClass, LR"(\\?\hid#vid_04d9&pid_a09f&mi_01#7&1)", true);
    send(DBT_DEVICEARRIVAL, otherClass, LR"(\\?\usb#vid_04d9&pid_a09f#5&2)", true);
    send(DBT_DEVICEQUERYREMOVE, hidClass, LR"(\\?\hid#query)", true);
    send(DBT_DEVICEREMOVECOMPLETE, hidClass, LR"(\\?\hid#gone)", false);
    DEV_BROADCAST_HDR volume{sizeof volume, DBT_DEVTYP_VOLUME, 0};
    ::SendMessageW(window, WM_DEVICECHANGE, DBT_DEVICEARRIVAL, reinterpret_cast<LPARAM>(&volume));

    const std::lock_guard lock(mutex);
    EXPECT_EQ(changes, (std::vector<std::pair<bool, std::string>>{
                           {true, R"(\\?\hid#vid_04d9&pid_a09f&mi_01#7&1)"}, {false, R"(\\?\hid#gone)"}}))
        << "HID interfaces arriving and gone; other classes, queries and volumes are not HID changes";

    watch.reset();
    EXPECT_EQ(::FindWindowExW(HWND_MESSAGE, nullptr, L"QuorvelHidWatch", nullptr), nullptr)
        << "the window goes with the watch";
}

} // namespace
} // namespace quorvel
