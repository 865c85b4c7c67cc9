// The device link against a mouse whose every answer comes from the fuzzer:
// report lengths, feature answers and data chunks. Whatever the mouse says,
// the link must not crash, must stay within its buffers, and must end each
// step with a result that agrees with the state it leaves.
//
// Input: byte 0 chooses whether the mouse links (bit 0 clear) and bytes 1-3
// the feature, chunk-in and chunk-out report lengths; then, for every
// feature get after the handshake, a control byte (0xFF: the get fails) and
// the eight plain answer bytes, which the mouse scrambles as a linked mouse
// does; for every chunk read, a control byte (0xFF: time-out) and up to 32
// data bytes.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "config/device_config.h"
#include "device/command_report.h"
#include "device/device_controller.h"
#include "device/mouse_identity.h"

namespace {

using namespace quorvel;

void Check(bool holds) {
    if (!holds) {
        std::abort();
    }
}

class Script {
public:
    explicit Script(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}
    std::optional<std::uint8_t> next() {
        if (at_ >= bytes_.size()) {
            return std::nullopt;
        }
        return bytes_[at_++];
    }

private:
    std::span<const std::uint8_t> bytes_;
    std::size_t at_ = 0;
};

class ScriptedDevice final : public HidDevice {
public:
    ScriptedDevice(Script& script, bool links) : script_(script), links_(links) {}

    bool setFeature(std::span<const std::uint8_t> report, std::chrono::milliseconds) override {
        Check(!report.empty());
        last_.assign(report.begin(), report.end());
        return true;
    }

    bool getFeature(std::span<std::uint8_t> report, std::chrono::milliseconds) override {
        Check(!report.empty());
        std::fill(report.begin() + 1, report.end(), 0);
        if (report.size() < 1 + kCommandReportSize || last_.size() < 1 + kCommandReportSize) {
            return false;
        }
        std::span<std::uint8_t, kCommandReportSize> answer(report.data() + 1, kCommandReportSize);
        if (handshakes_ < 2) {
            // The handshake: silent on the plain probe, the echo of the scrambled one.
            ++handshakes_;
            if (handshakes_ == 1 || !links_) {
                return false;
            }
            std::copy_n(last_.begin() + 1, kCommandReportSize, answer.begin());
            return true;
        }
        const auto control = script_.next();
        if (!control || *control == 0xFF) {
            return false;
        }
        for (auto& b : answer) {
            b = script_.next().value_or(0);
        }
        ScrambleReport(answer, MakeLinkKey());
        return true;
    }

    bool write(std::span<const std::uint8_t> report, std::chrono::milliseconds) override {
        Check(!report.empty());
        return true;
    }

    std::optional<std::size_t> read(std::span<std::uint8_t> report, std::chrono::milliseconds) override {
        const auto control = script_.next();
        if (!control || *control == 0xFF || report.empty()) {
            return std::nullopt;
        }
        std::fill(report.begin(), report.end(), 0);
        std::size_t n = 1;
        for (; n < report.size() && n <= 32; ++n) {
            const auto b = script_.next();
            if (!b) {
                break;
            }
            report[n] = *b;
        }
        return n;
    }

    std::size_t discardInput() override { return 0; }
    std::optional<std::size_t> readEvent(std::span<std::uint8_t>) override { return std::nullopt; }
    void cancelEventRead() override {}

private:
    Script& script_;
    bool links_;
    int handshakes_ = 0;
    std::vector<std::uint8_t> last_;
};

class ScriptedPort final : public HidPort {
public:
    explicit ScriptedPort(std::span<const std::uint8_t> bytes) : script_(bytes) {
        const std::uint8_t flags = script_.next().value_or(0);
        links_ = (flags & 1) == 0;
        feature_.featureReportLength = static_cast<std::uint16_t>(script_.next().value_or(9) % 20);
        feature_.inputReportLength = static_cast<std::uint16_t>(script_.next().value_or(33) % 48);
        feature_.outputReportLength = static_cast<std::uint16_t>(script_.next().value_or(33) % 48);
    }

    std::vector<HidInterface> enumerate() override {
        HidInterface event{"event",
                           kMouseVendorId,
                           kMouseProductId,
                           0x0100,
                           kEventCollectionUsage,
                           kEventCollectionUsage,
                           9,
                           9,
                           0};
        HidInterface feature = feature_;
        feature.path = "feature";
        feature.vendorId = kMouseVendorId;
        feature.productId = kMouseProductId;
        feature.usagePage = kFeatureCollectionUsage;
        feature.usage = kFeatureCollectionUsage;
        return {event, feature};
    }
    HidOpenResult open(const std::string&, HidAccess) override {
        return {std::make_unique<ScriptedDevice>(script_, links_)};
    }
    void setNoticeWakeup(std::function<void()>) override {}
    std::vector<HidNotice> takeNotices() override { return {}; }

private:
    Script script_;
    bool links_ = true;
    HidInterface feature_;
};

class NoClock final : public Clock {
public:
    void sleep(std::chrono::milliseconds) override {}
};

class NoWindow final : public DeviceEventPort {
public:
    void deliver(DeviceEventCode, int) override {}
    void hideWindow() override {}
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    ScriptedPort port(std::span(data, size));
    NoClock clock;
    NoWindow window;
    DeviceController controller(port, clock, window);

    const OpenResult opened = controller.OpenDevice();
    Check(opened != OpenResult::NoPermission); // every open of this port succeeds
    if (opened != OpenResult::Opened) {
        Check(!controller.connected());
        return 0;
    }
    controller.Handshake();
    if (!controller.connected()) {
        Check(controller.Apply(zeroDeviceConfig()) == ApplyResult::NotConnected);
        return 0;
    }
    const bool synced = controller.SyncSensorInfo();
    Check(!synced || controller.image().currentSensorType == controller.image().sensorInfo.sensorType);

    DeviceConfig config = zeroDeviceConfig();
    config.reportRate = 1;
    config.lightingMode = 2;
    const ApplyResult result = controller.Apply(config);
    switch (result) {
    case ApplyResult::Completed:
        Check(controller.connected());
        Check(controller.image().macroImage.size() == static_cast<std::size_t>(kMacroSlotCount));
        break;
    case ApplyResult::LinkBroken:
    case ApplyResult::UnusableAnswer:
        Check(!controller.connected());
        Check(controller.Apply(config) == ApplyResult::NotConnected);
        break;
    case ApplyResult::NotConnected:
        std::abort(); // the link was up
    }
    controller.ReadSensorRecord();
    return 0;
}
