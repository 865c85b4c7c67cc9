#include "device/device_controller.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <optional>
#include <system_error>
#include <utility>

#include "assign/key_matrices.h"
#include "device/commands.h"
#include "device/mouse_identity.h"

namespace quorvel {

namespace {

// A device whose reports would not fit the working buffers is not used.
bool FitsBuffers(const HidInterface& feature) {
    return feature.featureReportLength <= kFeatureBufferSize &&
           feature.inputReportLength <= kChunkBufferSize && feature.outputReportLength <= kChunkBufferSize;
}

} // namespace

DeviceController::DeviceController(HidPort& hid, Clock& clock, DeviceEventPort& events, MessagePort& messages)
    : hid_(hid), clock_(clock), events_(events), messages_(messages) {
}

DeviceController::~DeviceController() {
    CloseDeviceLink();
}

void DeviceController::SetConnected(bool connected) {
    std::lock_guard lock(readerMutex_);
    link_.connected = connected;
    ++readerGeneration_;
    readerWake_.notify_all();
}

void DeviceController::SetEventInput(std::shared_ptr<HidDevice> input, std::uint16_t reportLength) {
    std::shared_ptr<HidDevice> previous;
    {
        std::lock_guard lock(readerMutex_);
        previous = std::exchange(link_.inputHandle, std::move(input));
        link_.eventReportLength = reportLength;
        ++readerGeneration_;
        readerWake_.notify_all();
    }
    // A reader blocked on the old handle comes back and takes the new one.
    if (previous) {
        previous->cancelEventRead();
    }
}

bool DeviceController::OpenDevice() {
    for (const HidInterface& interface : hid_.enumerate()) {
        link_.devicePath = interface.path;
        if (IsEventCollection(interface)) {
            if (interface.inputReportLength > kEventBufferSize) {
                continue;
            }
            std::shared_ptr<HidDevice> input = hid_.open(interface.path, HidAccess::Read);
            if (!input) {
                return false;
            }
            SetEventInput(std::move(input), interface.inputReportLength);
            auto write = hid_.open(interface.path, HidAccess::Write);
            if (!write) {
                return false;
            }
            link_.writeHandle = std::move(write);
            continue;
        }
        if (IsFeatureCollection(interface)) {
            if (!FitsBuffers(interface)) {
                return false;
            }
            auto feature = hid_.open(interface.path, HidAccess::ReadWrite);
            if (!feature) {
                return false;
            }
            link_.featureHandle = std::move(feature);
            link_.featureReportLength = interface.featureReportLength;
            link_.chunkInLength = interface.inputReportLength;
            link_.chunkOutLength = interface.outputReportLength;
            SetConnected(true);
            return true;
        }
    }
    return false;
}

bool DeviceController::ProbeAttempt(bool scrambled) {
    if (!link_.featureHandle || link_.featureReportLength > kFeatureBufferSize) {
        return false;
    }
    std::array<Byte, kFeatureBufferSize> buffer{};
    const std::span report(buffer.data(), link_.featureReportLength);
    std::span<Byte, kCommandReportSize> command(buffer.data() + 1, kCommandReportSize);
    const CommandReport probe = MakeProbe();
    std::copy(probe.begin(), probe.end(), command.begin());
    if (scrambled) {
        ScrambleReport(command, link_.linkKey);
    }
    if (!link_.featureHandle->setFeature(report)) {
        return false;
    }
    clock_.sleep(kProbePause);
    buffer.fill(0);
    if (!link_.featureHandle->getFeature(report)) {
        return false;
    }
    if (scrambled) {
        UnscrambleReport(command, link_.linkKey);
    }
    return std::equal(kProbeBytes.begin(), kProbeBytes.end(), command.begin() + 1);
}

void DeviceController::Handshake() {
    // A mouse that echoes the plain probe is not the one this program talks to.
    bool linked = false;
    if (!ProbeAttempt(false)) {
        link_.linkKey = MakeLinkKey();
        linked = ProbeAttempt(true);
    }
    link_.scrambled = linked;
    events_.deliver(linked ? DeviceEventCode::LinkUp : DeviceEventCode::LinkDown, 0);
    SetConnected(linked);
}

bool DeviceController::StartReader() {
    if (reader_.joinable()) {
        return true;
    }
    {
        std::lock_guard lock(readerMutex_);
        stopping_ = false;
    }
    try {
        reader_ = std::thread([this] { ReadEventReports(); });
    } catch (const std::system_error&) {
        return false;
    }
    return true;
}

bool DeviceController::StartDeviceLink(std::string_view notDetectedText, std::function<void()> noticeWakeup) {
    if (OpenDevice()) {
        Handshake();
    } else {
        messages_.showMessage(notDetectedText, kWarningTitle);
        SetConnected(false);
    }
    // The reader waits while the link is down, and reads once it is up.
    if (!StartReader()) {
        messages_.showMessage(kCreateEventFailedText, kApplicationTitle);
        return false;
    }
    hid_.setNoticeWakeup(std::move(noticeWakeup));
    watchingNotices_ = true;
    if (!hid_.watchingNotices()) {
        messages_.showMessage(kRegisterNotificationFailedText, kApplicationTitle);
        return false;
    }
    return true;
}

void DeviceController::LoseMouse() {
    events_.deliver(DeviceEventCode::LinkDown, 0);
    events_.hideWindow();
    SetConnected(false);
}

void DeviceController::HandleDeviceChange(const HidNotice& notice) {
    if (!IsMouse(notice.vendorId, notice.productId)) {
        return;
    }
    // Arrival or removal, the present interfaces decide: the mouse is opened
    // again if it is (still) there.
    if (!OpenDevice()) {
        LoseMouse();
        return;
    }
    Handshake();
    if (notice.kind == HidNotice::Kind::Arrival && link_.connected) {
        SyncSensorInfo();
    }
}

void DeviceController::HandleDeviceNotices() {
    // Each of the mouse's collections comes and goes with its own notice;
    // one reopen answers them all.
    std::optional<HidNotice> mouseNotice;
    for (HidNotice& notice : hid_.takeNotices()) {
        if (!IsMouse(notice.vendorId, notice.productId)) {
            continue;
        }
        if (!mouseNotice || notice.kind == HidNotice::Kind::Arrival) {
            mouseNotice = std::move(notice);
        }
    }
    if (mouseNotice) {
        HandleDeviceChange(*mouseNotice);
    }
}

void DeviceController::ReadEventReports() {
    std::array<Byte, kEventBufferSize> report{};
    std::unique_lock lock(readerMutex_);
    while (!stopping_) {
        const std::uint64_t generation = readerGeneration_;
        const auto changed = [&] { return stopping_ || readerGeneration_ != generation; };
        if (!link_.connected || !link_.inputHandle) {
            readerWake_.wait(lock, changed);
            continue;
        }
        const std::shared_ptr<HidDevice> input = link_.inputHandle;
        const std::size_t length = std::min<std::size_t>(link_.eventReportLength, report.size());
        lock.unlock();
        report.fill(0);
        const auto got = input->readEvent(std::span(report.data(), length));
        lock.lock();
        if (!got) {
            // Woken for a change of the link, or the device failed: a failed
            // device is not read again until the link changes.
            readerWake_.wait(lock, changed);
            continue;
        }
        if (stopping_ || !link_.connected || *got == 0 || report[0] != kEventReportId ||
            !IsMouseEventCode(report[1])) {
            continue;
        }
        lock.unlock();
        events_.deliver(static_cast<DeviceEventCode>(report[1]), report[3]);
        lock.lock();
    }
}

void DeviceController::CloseDeviceLink() {
    std::shared_ptr<HidDevice> input;
    {
        std::lock_guard lock(readerMutex_);
        stopping_ = true;
        input = link_.inputHandle;
        readerWake_.notify_all();
    }
    if (input) {
        input->cancelEventRead();
    }
    if (reader_.joinable()) {
        reader_.join();
    }
    if (watchingNotices_) {
        hid_.setNoticeWakeup({});
        watchingNotices_ = false;
    }
    {
        std::lock_guard lock(readerMutex_);
        link_.inputHandle.reset();
        link_.connected = false;
    }
    link_.writeHandle.reset();
    link_.featureHandle.reset();
}

bool DeviceController::SyncSensorInfo() {
    const auto read = ReadSensorInfo(link_);
    if (!read) {
        return false;
    }
    image_.sensorInfo = *read;
    image_.currentSensorType = read->sensorType;
    image_.sensorInfo.option2 |= kOption2ProgramBit;
    return WriteSensorInfo(link_, image_.sensorInfo);
}

bool DeviceController::SendConfiguration(const DeviceConfig& config) {
    CommandReport reportRate = MakeCommand(Command::ReportRate, {config.reportRate});
    if (!FeatureTransaction(link_, reportRate) || !ReadLightingBlocks(link_, clock_, image_)) {
        return false;
    }
    UpdateLightingCommand(config, image_.lightingCommand);
    image_.lightingBlock0 = PackLoopColours(config);
    const auto colourSwitches =
        config.bytes().subspan(offsetof(DeviceConfig, dpiStageColourSwitches), kLightingBlockSizes[2]);
    std::copy(colourSwitches.begin(), colourSwitches.end(), image_.lightingBlock2.begin());
    if (!WriteLightingBlocks(link_, clock_, image_) || !WriteLightingCommand(link_, image_)) {
        return false;
    }
    image_.dpiTable = BuildDpiTable(config, image_.currentSensorType);
    if (!WriteDpiTable(link_, clock_, image_)) {
        return false;
    }
    image_.macroImage = config.macroSlots;
    if (!WriteMacroSlots(link_, clock_, image_) || !ReadMacroSlots(link_, clock_, image_)) {
        return false;
    }
    image_.keyMatrices = BuildKeyMatrices(config);
    return WriteKeyMatrices(link_, clock_, image_);
}

ApplyResult DeviceController::Apply(const DeviceConfig& config, ApplySaves& saves) {
    if (!link_.connected) {
        return ApplyResult::NotConnected;
    }
    const bool sent = SendConfiguration(config);
    if (!sent) {
        events_.deliver(DeviceEventCode::LinkDown, 0);
        SetConnected(false);
    }
    saves.saveApplied(config);
    return sent ? ApplyResult::Completed : ApplyResult::LinkBroken;
}

} // namespace quorvel
