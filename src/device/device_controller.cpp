#include "device/device_controller.h"

#include <algorithm>
#include <cstddef>
#include <utility>

#include "assign/key_matrices.h"
#include "device/mouse_identity.h"

namespace quorvel {

DeviceController::DeviceController(HidPort& hid, Clock& clock, DeviceEventPort& events)
    : hid_(hid), clock_(clock), events_(events), reader_(events) {
}

DeviceController::~DeviceController() {
    CloseDeviceLink();
}

OpenResult DeviceController::OpenDevice() {
    OpenedMouse opened = OpenMouse(hid_);
    devicePath_ = opened.devicePath;
    if (opened.eventInput) {
        reader_.setInput(std::move(opened.eventInput), opened.eventReportLength);
    }
    if (opened.eventWrite) {
        eventWrite_ = std::move(opened.eventWrite);
    }
    if (opened.result == OpenResult::Opened) {
        channel_.attach(std::move(opened.feature), opened.featureCollection);
        reader_.setConnected(true);
    }
    return opened.result;
}

void DeviceController::Handshake() {
    // A mouse that echoes the plain probe is not the one this program talks to.
    bool linked = false;
    if (!channel_.ProbeAttempt(clock_, false)) {
        channel_.setLinkKey(MakeLinkKey());
        linked = channel_.ProbeAttempt(clock_, true);
    }
    channel_.setScrambled(linked);
    events_.deliver(linked ? DeviceEventCode::LinkUp : DeviceEventCode::LinkDown, 0);
    reader_.setConnected(linked);
}

DeviceLinkStart DeviceController::StartDeviceLink(std::function<void()> noticeWakeup) {
    DeviceLinkStart start;
    start.mouse = OpenDevice();
    if (start.mouse == OpenResult::Opened) {
        Handshake();
    } else {
        reader_.setConnected(false);
    }
    // The reader waits while the link is down, and reads once it is up.
    if (!reader_.start()) {
        start.failure = DeviceLinkStart::Failure::ReaderThread;
        return start;
    }
    hid_.setNoticeWakeup(std::move(noticeWakeup));
    watchingNotices_ = true;
    if (!hid_.watchingNotices()) {
        start.failure = DeviceLinkStart::Failure::Notices;
    }
    return start;
}

void DeviceController::LoseMouse() {
    events_.deliver(DeviceEventCode::LinkDown, 0);
    events_.hideWindow();
    reader_.setConnected(false);
}

OpenResult DeviceController::HandleDeviceChange(const HidNotice& notice) {
    // Arrival or removal, the present interfaces decide: the mouse is opened
    // again if it is (still) there.
    const OpenResult opened = OpenDevice();
    if (opened != OpenResult::Opened) {
        LoseMouse();
        return opened;
    }
    Handshake();
    if (notice.kind == HidNotice::Kind::Arrival && connected()) {
        SyncSensorInfo();
    }
    return opened;
}

std::optional<OpenResult> DeviceController::HandleDeviceNotices() {
    if (const auto notice = DecidingMouseNotice(hid_.takeNotices())) {
        return HandleDeviceChange(*notice);
    }
    return std::nullopt;
}

void DeviceController::CloseDeviceLink() {
    reader_.stop();
    if (watchingNotices_) {
        hid_.setNoticeWakeup({});
        watchingNotices_ = false;
    }
    eventWrite_.reset();
    channel_.close();
}

bool DeviceController::SyncSensorInfo() {
    const auto read = ReadSensorInfo(channel_);
    if (!read) {
        return false;
    }
    image_.sensorInfo = *read;
    image_.currentSensorType = read->sensorType;
    image_.sensorInfo.option2 |= kOption2ProgramBit;
    return WriteSensorInfo(channel_, image_.sensorInfo) == TransferResult::Done;
}

TransferResult DeviceController::SendConfiguration(const DeviceConfig& config) {
    // Each step runs when the ones before it went through.
    TransferResult result = TransferResult::Done;
    const auto then = [&result](auto step) {
        if (result == TransferResult::Done) {
            result = step();
        }
    };
    CommandReport reportRate = MakeCommand(Command::ReportRate, {config.reportRate});
    then([&] { return channel_.FeatureTransaction(reportRate); });
    then([&] { return ReadLightingBlocks(channel_, clock_, image_); });
    if (result != TransferResult::Done) {
        return result;
    }
    UpdateLightingCommand(config, image_.lightingCommand);
    image_.lightingBlock0 = PackLoopColours(config);
    const auto colourSwitches =
        config.bytes().subspan(offsetof(DeviceConfig, dpiStageColourSwitches), kLightingBlockSizes[2]);
    std::copy(colourSwitches.begin(), colourSwitches.end(), image_.lightingBlock2.begin());
    then([&] { return WriteLightingBlocks(channel_, clock_, image_); });
    then([&] { return WriteLightingCommand(channel_, image_); });
    then([&] {
        image_.dpiTable = BuildDpiTable(config, image_.currentSensorType);
        return WriteDpiTable(channel_, clock_, image_);
    });
    then([&] {
        image_.macroImage = config.macroSlots;
        return WriteMacroSlots(channel_, clock_, image_);
    });
    then([&] { return ReadMacroSlots(channel_, clock_, image_); });
    then([&] {
        image_.keyMatrices = BuildKeyMatrices(config);
        return WriteKeyMatrices(channel_, clock_, image_);
    });
    return result;
}

ApplyResult DeviceController::Apply(const DeviceConfig& config) {
    if (!connected()) {
        return ApplyResult::NotConnected;
    }
    // The pauses of an Apply are a hundred or so: the clock keeps the thread
    // to time for all of them, the transfers in between included.
    const TransferResult sent = [&] {
        const ClockRun run(clock_);
        return SendConfiguration(config);
    }();
    if (sent == TransferResult::Done) {
        return ApplyResult::Completed;
    }
    events_.deliver(DeviceEventCode::LinkDown, 0);
    reader_.setConnected(false);
    return sent == TransferResult::UnusableAnswer ? ApplyResult::UnusableAnswer : ApplyResult::LinkBroken;
}

} // namespace quorvel
