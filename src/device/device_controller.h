#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "config/device_config.h"
#include "device/commands.h"
#include "device/device_discovery.h"
#include "device/device_image.h"
#include "device/event_reader.h"
#include "device/feature_channel.h"
#include "ports/clock.h"
#include "ports/device_event_port.h"
#include "ports/hid_port.h"

namespace quorvel {

enum class ApplyResult {
    Completed,      // every transfer went through
    LinkBroken,     // a transfer failed: the rest was not sent and the link is down
    UnusableAnswer, // the mouse answered something that contradicts the request: as LinkBroken
    NotConnected,   // nothing sent
};

// How the start of the device link went: what the search for the mouse came
// to, and whether the link can follow the mouse at all.
struct DeviceLinkStart {
    enum class Failure {
        None,
        ReaderThread, // the reader thread could not be started
        Notices,      // the system delivers no arrival and removal notices
    };
    OpenResult mouse = OpenResult::NoMouse;
    Failure failure = Failure::None;
};

// The device link as the main window runs it: finding and opening the mouse,
// the handshake, arrival and removal, the reader of the mouse's event
// reports, and the commands that write the configuration. It shows nothing:
// the caller learns from the results what to tell the user. Everything but
// the reader runs on the thread that calls these methods.
class DeviceController {
public:
    DeviceController(HidPort& hid, Clock& clock, DeviceEventPort& events);
    ~DeviceController();
    DeviceController(const DeviceController&) = delete;
    DeviceController& operator=(const DeviceController&) = delete;

    // How long a feature report or a data chunk may take; a mouse that stays
    // silent longer has failed the transfer.
    void setTransferTimeout(std::chrono::milliseconds timeout) { channel_.setTransferTimeout(timeout); }

    // Opens the mouse's event collection when it is listed before the feature
    // collection, then the feature collection. Opened: the link is connected,
    // handshake pending.
    OpenResult OpenDevice();

    // Opens the mouse and runs the handshake, starts the reader and the watch
    // for arrival and removal. `noticeWakeup` is called from any thread when
    // notices wait; the owner then calls HandleDeviceNotices on its own
    // thread. A failure means the rest of the window's initialisation is to
    // be skipped.
    DeviceLinkStart StartDeviceLink(std::function<void()> noticeWakeup);

    // Takes the waiting arrival and removal notices. Those that concern the
    // mouse are handled once together: as an arrival when one of them is.
    // What the reopen came to, when one was made.
    std::optional<OpenResult> HandleDeviceNotices();

    // Stops the reader (it never hangs on a blocked read) and closes the device.
    void CloseDeviceLink();

    // Decides the link mode: the mouse must not echo the plain probe and must
    // echo the scrambled one. Ends with link up (14) or link down (15).
    void Handshake();

    // Reads the sensor record, takes its sensor type, writes it back with
    // bit 6 of Option2 set. Nothing is written when the read fails.
    bool SyncSensorInfo();

    // The sensor record as the mouse holds it, without writing anything back.
    std::optional<SensorInfo> ReadSensorRecord() { return ReadSensorInfo(channel_); }

    // Sends the whole configuration. When a transfer fails the rest is not
    // sent and the link goes down (15). The caller saves the files whatever
    // the result but NotConnected.
    ApplyResult Apply(const DeviceConfig& config);

    bool connected() const { return reader_.connected(); }
    const FeatureChannel& channel() const { return channel_; }
    const std::string& devicePath() const { return devicePath_; }
    std::uint16_t eventReportLength() const { return reader_.eventReportLength(); }
    const DeviceImage& image() const { return image_; }

private:
    OpenResult HandleDeviceChange(const HidNotice& notice);
    TransferResult SendConfiguration(const DeviceConfig& config);
    void LoseMouse();

    HidPort& hid_;
    Clock& clock_;
    DeviceEventPort& events_;

    FeatureChannel channel_;
    std::unique_ptr<HidDevice> eventWrite_;
    std::string devicePath_;
    DeviceImage image_;
    bool watchingNotices_ = false;
    EventReader reader_; // last: its thread stops before the rest goes
};

} // namespace quorvel
