#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "assign/key_matrices.h"
#include "config/device_config.h"
#include "device/command_report.h"
#include "device/device_image.h"
#include "ports/clock.h"
#include "ports/hid_port.h"

namespace quorvel {

enum class SimCollection { Event, Feature, Other };

// One transfer as it crossed the wire, or one pause of the program's clock.
struct SimTransfer {
    enum class Kind { SetFeature, GetFeature, Write, Read, ReadEvent, Pause };
    Kind kind = Kind::SetFeature;
    SimCollection collection = SimCollection::Feature;
    std::vector<Byte> report; // the whole buffer, report ID first (for reads: as answered)
    CommandReport command{};  // feature reports: the eight command bytes as the firmware reads them
    std::chrono::milliseconds pause{0};
    bool ok = true;                 // false: failed, timed out, or the mouse was gone
    std::chrono::nanoseconds at{0}; // since the mouse was made
};

// How many transfers the mouse keeps: the most recent ones, the older ones
// dropped as new ones come, so that a mouse serving the demo for hours holds
// a fixed amount of memory. An Apply is a few hundred transfers; tests and
// the trace read far fewer between two clearTransfers().
inline constexpr std::size_t kSimTransferLogLimit = 8192;

// Report lengths as the mouse declares them (report ID included).
struct SimReportLengths {
    std::uint16_t feature = 9;
    std::uint16_t chunkIn = 33;
    std::uint16_t chunkOut = 33;
    std::uint16_t event = 9;
};

// Misbehaviour on demand.
struct SimFaults {
    bool silent = false;              // takes every report, answers none: gets fail, chunk reads time out
    bool shortFeatureAnswers = false; // only the report ID and two bytes of each feature answer
    bool shortChunks = false;         // chunks read come with half their bytes
    std::optional<Byte> lengthByte;   // read answers announce this length and send as many chunks
    std::chrono::milliseconds chunkDelay{0}; // data chunks come this late, in real time
    std::optional<int> unplugAfter;   // pulled out after this many more transfers on the feature collection
    std::optional<Byte> answerCode;   // answers to read commands carry this command byte
    std::optional<Byte> answerNumber; // answers to read commands carry this byte 1
    int extraChunks = 0;       // read answers send this many chunks (of 0xEE) beyond what they announce
    bool noPermission = false; // the system refuses this user every open with access
};

// The mouse, firmware side: its two collections (event reports; commands and
// data chunks), the handshake, the sensor record, the lighting blocks, the DPI
// table, four key matrices and twelve macro slots, its own buttons, unplug
// and replug. Every transfer and every pause of clock() is recorded (the most
// recent kSimTransferLogLimit of them are kept). Safe to
// use from several threads.
class SimulatedMouse final : public HidPort {
public:
    SimulatedMouse();
    ~SimulatedMouse() override;
    SimulatedMouse(const SimulatedMouse&) = delete;
    SimulatedMouse& operator=(const SimulatedMouse&) = delete;

    // HidPort.
    std::vector<HidInterface> enumerate() override;
    HidOpenResult open(const std::string& path, HidAccess access) override;
    void setNoticeWakeup(std::function<void()> wake) override;
    std::vector<HidNotice> takeNotices() override;

    // The clock the program should pause with: every pause is recorded and,
    // when `real` is given, also waited out on it.
    Clock& clock();
    void sleepThrough(Clock* real);

    // How the mouse presents itself.
    void setEventCollectionFirst(bool first);
    void setReportLengths(const SimReportLengths& lengths);
    // A mouse of another kind, which echoes the plain probe and then takes plain commands.
    void setAnswersPlainProbe(bool answers);
    // Another collection or device, listed before the mouse.
    void addInterface(const HidInterface& collection);
    void pushNotice(const HidNotice& notice);

    void setFaults(const SimFaults& faults);

    // Plugging. A handle opened before an unplug stays dead after a replug.
    void unplug();
    void plugIn();
    bool pluggedIn() const;

    // The firmware's stored state.
    void setSensorType(Byte sensorType);
    void setSensorRecord(const SensorInfo& record);
    SensorInfo sensorRecord() const;
    Byte reportRate() const;
    std::array<Byte, 3> lightingCommand() const;
    void setLightingBlock(int n, std::vector<Byte> block);
    std::vector<Byte> lightingBlock(int n) const;
    Byte dpiStageCount() const;
    std::array<Byte, kDpiTableSize> dpiTable() const;
    KeyMatrix keyMatrix(int table) const; // 1-4
    MacroSlot macroSlot(int slot) const;  // 1-12
    void setMacroSlot(int slot, const MacroSlot& data);
    bool linked() const; // answered the scrambled probe since it was plugged in

    // The mouse's own buttons: each switches the mouse and sends its event report.
    void pressReportRateButton();
    void pressDpiButton();
    void pressKeyConfigurationButton();
    void pressMacroButton();
    // An event report of report ID 6, or any report.
    void sendEvent(Byte code, Byte value);
    void sendEventReport(std::vector<Byte> report);

    // The transfers kept, oldest first.
    std::vector<SimTransfer> transfers() const;
    void clearTransfers();
    // Handles of a collection that are open and alive.
    int openHandles(SimCollection collection) const;

    struct State;

private:
    std::shared_ptr<State> state_;
    std::unique_ptr<Clock> clock_;
};

} // namespace quorvel
