#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <string_view>
#include <thread>

#include "config/device_config.h"
#include "device/commands.h"
#include "device/device_image.h"
#include "device/device_link.h"
#include "ports/clock.h"
#include "ports/device_event_port.h"
#include "ports/hid_port.h"
#include "ports/message_port.h"

namespace quorvel {

inline constexpr std::string_view kWarningTitle = "Warning";
inline constexpr std::string_view kCreateEventFailedText = "CreateEvent failed.";
inline constexpr std::string_view kRegisterNotificationFailedText = "RegisterDeviceNotification failed!!!";

// The files Apply leaves behind: config.bin, then the button labels in str.ini.
class ApplySaves {
public:
    virtual ~ApplySaves() = default;
    // Runs at the end of every Apply, also of one that the link broke in, so
    // that the files keep what the user chose.
    virtual void saveApplied(const DeviceConfig& config) = 0;
};

enum class ApplyResult {
    Completed,    // every transfer went through
    LinkBroken,   // a transfer failed: the rest was not sent and the link is down
    NotConnected, // nothing sent, nothing saved
};

// The device link as the main window runs it: finding and opening the mouse,
// the handshake, arrival and removal, the reader thread that passes the
// mouse's event reports on, and the commands that write the configuration.
// Everything but the reader runs on the thread that calls these methods.
class DeviceController {
public:
    DeviceController(HidPort& hid, Clock& clock, DeviceEventPort& events, MessagePort& messages);
    ~DeviceController();
    DeviceController(const DeviceController&) = delete;
    DeviceController& operator=(const DeviceController&) = delete;

    // How long a data chunk may take; a mouse that stays silent longer has failed the transfer.
    void setTransferTimeout(std::chrono::milliseconds timeout) { link_.transferTimeout = timeout; }

    // Opens the mouse's event collection when it is listed before the feature
    // collection, then the feature collection. True when the feature
    // collection was opened (the link is then connected, handshake pending).
    bool OpenDevice();

    // Opens the mouse and runs the handshake (or tells the user, with the
    // already translated `notDetectedText`, that there is no mouse), starts the
    // reader thread and the watch for arrival and removal. `noticeWakeup` is
    // called from any thread when notices wait; the owner then calls
    // HandleDeviceNotices on its own thread. False when the rest of the
    // window's initialisation is to be skipped.
    bool StartDeviceLink(std::string_view notDetectedText, std::function<void()> noticeWakeup);

    // Takes the waiting arrival and removal notices. Those that concern the
    // mouse are handled once together: as an arrival when one of them is.
    void HandleDeviceNotices();
    void HandleDeviceChange(const HidNotice& notice);

    // Stops the reader thread (it never hangs on a blocked read) and closes the device.
    void CloseDeviceLink();

    // Decides the link mode: the mouse must not echo the plain probe and must
    // echo the scrambled one. Ends with link up (14) or link down (15).
    void Handshake();

    // Reads the sensor record, takes its sensor type, writes it back with
    // bit 6 of Option2 set. Nothing is written when the read fails.
    bool SyncSensorInfo();

    // The sensor record as the mouse holds it, without writing anything back.
    std::optional<SensorInfo> ReadSensorRecord() { return ReadSensorInfo(link_); }

    // Sends the whole configuration, then saves. When a transfer fails the
    // rest is not sent and the link goes down (15); the saves still run.
    ApplyResult Apply(const DeviceConfig& config, ApplySaves& saves);

    bool connected() const { return link_.connected; }
    const DeviceLink& link() const { return link_; }
    const DeviceImage& image() const { return image_; }

private:
    void ReadEventReports();
    bool StartReader();
    bool SendConfiguration(const DeviceConfig& config);
    bool ProbeAttempt(bool scrambled);
    void SetConnected(bool connected);
    void SetEventInput(std::shared_ptr<HidDevice> input, std::uint16_t reportLength);
    void LoseMouse();

    HidPort& hid_;
    Clock& clock_;
    DeviceEventPort& events_;
    MessagePort& messages_;

    DeviceLink link_;
    DeviceImage image_;

    // The reader's lock guards link_.connected, link_.inputHandle and
    // link_.eventReportLength against the reader; every change of them moves
    // the generation on and wakes the reader.
    std::mutex readerMutex_;
    std::condition_variable readerWake_;
    std::uint64_t readerGeneration_ = 0;
    bool stopping_ = false;
    std::thread reader_;
    bool watchingNotices_ = false;
};

} // namespace quorvel
