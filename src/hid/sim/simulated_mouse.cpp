#include "hid/sim/simulated_mouse.h"

#include <algorithm>
#include <condition_variable>
#include <deque>
#include <initializer_list>
#include <mutex>
#include <span>
#include <utility>

#include "device/mouse_identity.h"
#include "hid/sim/firmware_codec.h"

namespace quorvel {

namespace {

using SteadyClock = std::chrono::steady_clock;

constexpr std::uint16_t kVersionNumber = 0x0100;
constexpr std::size_t kShortFeatureAnswer = 3; // report ID and two bytes
constexpr Byte kExtraChunkByte = 0xEE;

struct InputReport {
    std::vector<Byte> bytes;
    SteadyClock::time_point availableAt;
};

struct HandleState {
    SimCollection collection = SimCollection::Other;
    std::uint64_t generation = 0;
    HidAccess access = HidAccess::None;
    std::deque<InputReport> input;
    bool cancelRequested = false;

    bool reads() const { return access == HidAccess::Read || access == HidAccess::ReadWrite; }
};

// A write command waiting for its data chunks.
struct PendingWrite {
    CommandReport command{};
    std::vector<Byte> data;
};

struct Firmware {
    SensorInfo sensorRecord{1, 1, 0, 0x01};
    Byte reportRate = 1;
    std::array<Byte, 3> lightingCommand{};
    std::array<std::vector<Byte>, kLightingBlockCount> lightingBlocks{
        std::vector<Byte>(kLightingBlockSizes[0], 0),
        std::vector<Byte>{0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77, 0x88, 0x99, 0xAA, 0xBB, 0xCC,
                          0xDD, 0xEE, 0xF0, 0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08, 0x09},
        std::vector<Byte>(kLightingBlockSizes[2], 0)};
    Byte dpiStageCount = 0;
    std::array<Byte, kDpiTableSize> dpiTable{};
    KeyMatrices keyMatrices{};
    std::array<MacroSlot, kMacroSlotCount> macroSlots{};

    bool linked = false;
    std::optional<PendingWrite> pendingWrite;
    CommandReport answer{};
    bool answerScrambled = false;

    Byte dpiStage = 1;
    Byte keyConfiguration = 1;
};

using firmware::ChecksumHolds;
using firmware::IsProbe;

// The firmware's own block size: 32 data bytes after the report ID.
constexpr std::size_t kChunkData = 32;

std::size_t Chunks(std::size_t length) {
    return (length + kChunkData - 1) / kChunkData;
}

// Answers of read commands have bit 7 of their code set; the probe's echo has code 0.
bool IsReadAnswer(const CommandReport& answer) {
    return (answer[0] & 0x80) != 0;
}

CommandReport Answer(Byte code, std::initializer_list<Byte> parameters) {
    return firmware::Sealed(code, std::span(parameters.begin(), parameters.size()));
}

CommandReport CommandBytes(std::span<const Byte> report) {
    CommandReport command{};
    for (std::size_t i = 0; i < command.size() && i + 1 < report.size(); ++i) {
        command[i] = report[i + 1];
    }
    return command;
}

SimTransfer Transfer(SimTransfer::Kind kind, SimCollection collection, std::span<const Byte> report = {},
                     bool ok = true) {
    SimTransfer transfer;
    transfer.kind = kind;
    transfer.collection = collection;
    transfer.report.assign(report.begin(), report.end());
    transfer.ok = ok;
    return transfer;
}

std::string CollectionPath(std::uint64_t generation, SimCollection collection) {
    return "sim/" + std::to_string(generation) + (collection == SimCollection::Event ? "/event" : "/feature");
}

} // namespace

struct SimulatedMouse::State {
    mutable std::mutex mutex;
    std::condition_variable changed;
    const SteadyClock::time_point created = SteadyClock::now();

    bool plugged = true;
    std::uint64_t generation = 1;
    bool eventCollectionFirst = true;
    bool answersPlainProbe = false;
    SimReportLengths lengths;
    SimFaults faults;
    Firmware firmware;
    std::vector<HidInterface> otherInterfaces;
    std::vector<std::weak_ptr<HandleState>> handles;
    std::vector<HidNotice> notices;
    std::function<void()> wake;
    std::deque<SimTransfer> transfers;
    Clock* realClock = nullptr;

    // Called with the lock held.
    void record(SimTransfer transfer) {
        transfer.at = SteadyClock::now() - created;
        if (transfers.size() == kSimTransferLogLimit) {
            transfers.pop_front();
        }
        transfers.push_back(std::move(transfer));
    }

    bool dead(const HandleState& handle) const { return !plugged || handle.generation != generation; }

    std::vector<HidInterface> mouseInterfaces() const {
        HidInterface event{CollectionPath(generation, SimCollection::Event),
                           kMouseVendorId,
                           kMouseProductId,
                           kVersionNumber,
                           kEventCollectionUsage,
                           kEventCollectionUsage,
                           lengths.event,
                           lengths.event,
                           0};
        HidInterface feature{CollectionPath(generation, SimCollection::Feature),
                             kMouseVendorId,
                             kMouseProductId,
                             kVersionNumber,
                             kFeatureCollectionUsage,
                             kFeatureCollectionUsage,
                             lengths.chunkIn,
                             lengths.chunkOut,
                             lengths.feature};
        if (eventCollectionFirst) {
            return {event, feature};
        }
        return {feature, event};
    }

    void deliverInput(SimCollection collection, std::vector<Byte> bytes) {
        const auto availableAt = SteadyClock::now() + faults.chunkDelay;
        for (const auto& weak : handles) {
            const auto handle = weak.lock();
            if (handle && handle->collection == collection && handle->reads() && !dead(*handle)) {
                handle->input.push_back({bytes, availableAt});
            }
        }
        changed.notify_all();
    }

    // The data of a read command's answer, in as many chunks as the answer announces.
    void sendBlock(Byte code, Byte number, const std::vector<Byte>& block) {
        const Byte length = faults.lengthByte.value_or(static_cast<Byte>(block.size()));
        firmware.answer = Answer(code, {number, length});
        std::vector<Byte> data(Chunks(length) * kChunkData, 0);
        std::copy_n(block.begin(), std::min(block.size(), data.size()), data.begin());
        for (std::size_t offset = 0; offset < data.size(); offset += kChunkData) {
            std::vector<Byte> chunk(std::max<std::size_t>(lengths.chunkIn, 1 + kChunkData), 0);
            std::copy_n(data.begin() + static_cast<std::ptrdiff_t>(offset), kChunkData, chunk.begin() + 1);
            chunk.resize(lengths.chunkIn);
            deliverInput(SimCollection::Feature, std::move(chunk));
        }
        for (int extra = 0; extra < faults.extraChunks; ++extra) {
            std::vector<Byte> chunk(lengths.chunkIn, kExtraChunkByte);
            chunk[0] = 0;
            deliverInput(SimCollection::Feature, std::move(chunk));
        }
    }

    void commitWrite(const PendingWrite& write) {
        const CommandReport& command = write.command;
        const std::size_t length = std::min<std::size_t>(command[2], write.data.size());
        const auto take = [&](auto& target) {
            std::fill(target.begin(), target.end(), 0);
            std::copy_n(write.data.begin(), std::min(length, std::size(target)), target.begin());
        };
        const Byte number = command[1];
        switch (static_cast<Command>(command[0])) {
        case Command::WriteLightingBlock:
            if (number < kLightingBlockCount) {
                firmware.lightingBlocks[number].assign(
                    write.data.begin(), write.data.begin() + static_cast<std::ptrdiff_t>(length));
            }
            break;
        case Command::DpiTable:
            firmware.dpiStageCount = number;
            take(firmware.dpiTable);
            break;
        case Command::WriteKeyMatrix:
            if (number >= 1 && number <= kKeyMatrixCount) {
                take(firmware.keyMatrices[number - 1]);
            }
            break;
        case Command::WriteMacroSlot:
            if (number >= 1 && number <= kMacroSlotCount) {
                take(firmware.macroSlots[number - 1]);
            }
            break;
        default:
            break;
        }
    }

    void runCommand(const CommandReport& command) {
        firmware.pendingWrite.reset();
        const Byte number = command[1];
        switch (static_cast<Command>(command[0])) {
        case Command::ReportRate:
            firmware.reportRate = number;
            break;
        case Command::WriteSensorRecord:
            firmware.sensorRecord = {command[1], command[2], command[3], command[4]};
            break;
        case Command::ReadSensorRecord: {
            const SensorInfo& record = firmware.sensorRecord;
            firmware.answer = Answer(static_cast<Byte>(Command::ReadSensorRecord),
                                     {record.sensorType, record.rate, record.option1, record.option2});
            break;
        }
        case Command::LightingEffect:
            firmware.lightingCommand = {command[1], command[2], command[3]};
            break;
        case Command::WriteLightingBlock:
        case Command::DpiTable:
        case Command::WriteKeyMatrix:
        case Command::WriteMacroSlot:
            firmware.pendingWrite = PendingWrite{command, {}};
            if (command[2] == 0) {
                commitWrite(*firmware.pendingWrite);
                firmware.pendingWrite.reset();
            }
            break;
        case Command::ReadLightingBlock:
            if (number < kLightingBlockCount) {
                sendBlock(command[0], number, firmware.lightingBlocks[number]);
            }
            break;
        case Command::ReadMacroSlot:
            if (number >= 1 && number <= kMacroSlotCount) {
                const MacroSlot& slot = firmware.macroSlots[number - 1];
                sendBlock(command[0], number, std::vector<Byte>(slot.begin(), slot.end()));
            }
            break;
        default:
            break;
        }
    }

    // The firmware reads a feature report; returns the command as it understood it.
    CommandReport receiveFeature(std::span<const Byte> report) {
        const CommandReport raw = CommandBytes(report);
        firmware.answer = {};
        firmware.answerScrambled = false;
        if (IsProbe(raw)) {
            // A plain probe: this mouse stays silent on it, unless it is the other kind.
            firmware.linked = false;
            if (answersPlainProbe) {
                firmware.answer = raw;
            }
            return raw;
        }
        const CommandReport command = firmware::Decode(raw);
        if (IsProbe(command)) {
            firmware.linked = true;
            firmware.answer = command;
            firmware.answerScrambled = true;
            return command;
        }
        if (firmware.linked && ChecksumHolds(command)) {
            runCommand(command);
            firmware.answerScrambled = true;
            return command;
        }
        if (answersPlainProbe && ChecksumHolds(raw)) {
            runCommand(raw);
            return raw;
        }
        return firmware.linked ? command : raw;
    }

    void receiveChunk(std::span<const Byte> report) {
        if (!firmware.pendingWrite) {
            return;
        }
        PendingWrite& write = *firmware.pendingWrite;
        for (std::size_t i = 1; i <= kChunkData; ++i) {
            write.data.push_back(i < report.size() ? report[i] : Byte{0});
        }
        if (write.data.size() >= Chunks(write.command[2]) * kChunkData) {
            commitWrite(write);
            firmware.pendingWrite.reset();
        }
    }

    // Returns the wake-up to call once the lock is released.
    std::function<void()> pullOut() {
        if (!plugged) {
            return {};
        }
        plugged = false;
        for (const auto& interface : mouseInterfaces()) {
            notices.push_back({HidNotice::Kind::Removal, interface.path, kMouseVendorId, kMouseProductId});
        }
        changed.notify_all();
        return wake;
    }

    std::function<void()> countTransfer() {
        if (faults.unplugAfter && --*faults.unplugAfter <= 0) {
            faults.unplugAfter.reset();
            return pullOut();
        }
        return {};
    }
};

namespace {

void Call(const std::function<void()>& wake) {
    if (wake) {
        wake();
    }
}

class SimHandle final : public HidDevice {
public:
    SimHandle(std::shared_ptr<SimulatedMouse::State> state, std::shared_ptr<HandleState> handle)
        : state_(std::move(state)), handle_(std::move(handle)) {}

    bool setFeature(std::span<const Byte> report, std::chrono::milliseconds) override {
        std::function<void()> wake;
        bool ok = false;
        {
            std::lock_guard lock(state_->mutex);
            SimTransfer transfer = Transfer(SimTransfer::Kind::SetFeature, handle_->collection, report);
            ok = live(SimCollection::Feature);
            if (ok) {
                if (!state_->faults.silent) {
                    transfer.command = state_->receiveFeature(report);
                }
                wake = state_->countTransfer();
            }
            transfer.ok = ok;
            state_->record(std::move(transfer));
        }
        Call(wake);
        return ok;
    }

    bool getFeature(std::span<Byte> report, std::chrono::milliseconds) override {
        std::fill(report.begin() + std::min<std::size_t>(1, report.size()), report.end(), 0);
        std::function<void()> wake;
        bool ok = false;
        {
            std::lock_guard lock(state_->mutex);
            ok = live(SimCollection::Feature) && !state_->faults.silent;
            SimTransfer transfer = Transfer(SimTransfer::Kind::GetFeature, handle_->collection);
            if (ok) {
                const Firmware& firmware = state_->firmware;
                CommandReport answer = firmware.answer;
                const SimFaults& faults = state_->faults;
                if (IsReadAnswer(answer) && (faults.answerCode || faults.answerNumber)) {
                    answer[0] = faults.answerCode.value_or(answer[0]);
                    answer[1] = faults.answerNumber.value_or(answer[1]);
                    answer[7] = firmware::FrameChecksum(answer);
                }
                transfer.command = answer;
                if (firmware.answerScrambled) {
                    answer = firmware::Encode(answer);
                }
                for (std::size_t i = 0; i < answer.size() && i + 1 < report.size(); ++i) {
                    report[i + 1] = answer[i];
                }
                if (state_->faults.shortFeatureAnswers && report.size() > kShortFeatureAnswer) {
                    std::fill(report.begin() + kShortFeatureAnswer, report.end(), 0);
                }
                wake = state_->countTransfer();
            }
            transfer.report.assign(report.begin(), report.end());
            transfer.ok = ok;
            state_->record(std::move(transfer));
        }
        Call(wake);
        return ok;
    }

    bool write(std::span<const Byte> report, std::chrono::milliseconds) override {
        std::function<void()> wake;
        bool ok = false;
        {
            std::lock_guard lock(state_->mutex);
            ok = live(SimCollection::Feature);
            if (ok) {
                if (!state_->faults.silent) {
                    state_->receiveChunk(report);
                }
                wake = state_->countTransfer();
            }
            state_->record(Transfer(SimTransfer::Kind::Write, handle_->collection, report, ok));
        }
        Call(wake);
        return ok;
    }

    std::optional<std::size_t> read(std::span<Byte> report, std::chrono::milliseconds timeout) override {
        std::fill(report.begin(), report.end(), 0);
        const auto deadline = SteadyClock::now() + timeout;
        std::function<void()> wake;
        std::optional<std::size_t> got;
        {
            std::unique_lock lock(state_->mutex);
            while (live(SimCollection::Feature)) {
                const auto now = SteadyClock::now();
                auto& input = handle_->input;
                if (!input.empty() && input.front().availableAt <= now) {
                    std::vector<Byte> bytes = std::move(input.front().bytes);
                    input.pop_front();
                    std::size_t n = std::min(bytes.size(), report.size());
                    if (state_->faults.shortChunks) {
                        n /= 2;
                    }
                    std::copy_n(bytes.begin(), n, report.begin());
                    got = n;
                    wake = state_->countTransfer();
                    break;
                }
                if (now >= deadline) {
                    break;
                }
                const auto until = input.empty() ? deadline : std::min(deadline, input.front().availableAt);
                state_->changed.wait_until(lock, until);
            }
            state_->record(Transfer(SimTransfer::Kind::Read, handle_->collection, report, got.has_value()));
        }
        Call(wake);
        return got;
    }

    std::size_t discardInput() override {
        std::lock_guard lock(state_->mutex);
        const auto now = SteadyClock::now();
        auto& input = handle_->input;
        std::size_t dropped = 0;
        while (!input.empty() && input.front().availableAt <= now) {
            input.pop_front();
            ++dropped;
        }
        return dropped;
    }

    std::optional<std::size_t> readEvent(std::span<Byte> report) override {
        std::fill(report.begin(), report.end(), 0);
        std::unique_lock lock(state_->mutex);
        while (true) {
            if (handle_->cancelRequested) {
                handle_->cancelRequested = false;
                return std::nullopt;
            }
            if (!live(SimCollection::Event)) {
                return std::nullopt;
            }
            auto& input = handle_->input;
            if (!input.empty()) {
                const std::vector<Byte> bytes = std::move(input.front().bytes);
                input.pop_front();
                const std::size_t n = std::min(bytes.size(), report.size());
                std::copy_n(bytes.begin(), n, report.begin());
                state_->record(Transfer(SimTransfer::Kind::ReadEvent, handle_->collection, report));
                return n;
            }
            state_->changed.wait(lock);
        }
    }

    void cancelEventRead() override {
        std::lock_guard lock(state_->mutex);
        handle_->cancelRequested = true;
        state_->changed.notify_all();
    }

private:
    // Called with the lock held.
    bool live(SimCollection collection) const {
        return handle_->collection == collection && !state_->dead(*handle_);
    }

    std::shared_ptr<SimulatedMouse::State> state_;
    std::shared_ptr<HandleState> handle_;
};

class SimClock final : public Clock {
public:
    explicit SimClock(std::shared_ptr<SimulatedMouse::State> state) : state_(std::move(state)) {}

    void sleep(std::chrono::milliseconds duration) override {
        Clock* real = nullptr;
        {
            std::lock_guard lock(state_->mutex);
            SimTransfer pause = Transfer(SimTransfer::Kind::Pause, SimCollection::Other);
            pause.pause = duration;
            state_->record(std::move(pause));
            real = state_->realClock;
        }
        if (real) {
            real->sleep(duration);
        }
    }
    void beginRun() override {
        if (Clock* real = realClock()) {
            real->beginRun();
        }
    }
    void endRun() override {
        if (Clock* real = realClock()) {
            real->endRun();
        }
    }

private:
    Clock* realClock() const {
        std::lock_guard lock(state_->mutex);
        return state_->realClock;
    }

    std::shared_ptr<SimulatedMouse::State> state_;
};

} // namespace

SimulatedMouse::SimulatedMouse()
    : state_(std::make_shared<State>()), clock_(std::make_unique<SimClock>(state_)) {
}

SimulatedMouse::~SimulatedMouse() = default;

std::vector<HidInterface> SimulatedMouse::enumerate() {
    std::lock_guard lock(state_->mutex);
    std::vector<HidInterface> interfaces = state_->otherInterfaces;
    if (state_->plugged) {
        for (auto& interface : state_->mouseInterfaces()) {
            interfaces.push_back(std::move(interface));
        }
    }
    return interfaces;
}

HidOpenResult SimulatedMouse::open(const std::string& path, HidAccess access) {
    std::lock_guard lock(state_->mutex);
    auto handle = std::make_shared<HandleState>();
    handle->access = access;
    handle->generation = state_->generation;
    bool found = false;
    if (state_->plugged) {
        for (SimCollection collection : {SimCollection::Event, SimCollection::Feature}) {
            if (path == CollectionPath(state_->generation, collection)) {
                handle->collection = collection;
                found = true;
            }
        }
    }
    for (const auto& other : state_->otherInterfaces) {
        found = found || other.path == path;
    }
    if (!found) {
        return {nullptr, HidOpenError::Failed};
    }
    if (state_->faults.noPermission && access != HidAccess::None) {
        return {nullptr, HidOpenError::NoPermission};
    }
    std::erase_if(state_->handles, [](const auto& weak) { return weak.expired(); });
    state_->handles.push_back(handle);
    return {std::make_unique<SimHandle>(state_, std::move(handle))};
}

void SimulatedMouse::setNoticeWakeup(std::function<void()> wake) {
    std::lock_guard lock(state_->mutex);
    state_->wake = std::move(wake);
}

std::vector<HidNotice> SimulatedMouse::takeNotices() {
    std::lock_guard lock(state_->mutex);
    return std::exchange(state_->notices, {});
}

Clock& SimulatedMouse::clock() {
    return *clock_;
}

void SimulatedMouse::sleepThrough(Clock* real) {
    std::lock_guard lock(state_->mutex);
    state_->realClock = real;
}

void SimulatedMouse::setEventCollectionFirst(bool first) {
    std::lock_guard lock(state_->mutex);
    state_->eventCollectionFirst = first;
}

void SimulatedMouse::setReportLengths(const SimReportLengths& lengths) {
    std::lock_guard lock(state_->mutex);
    state_->lengths = lengths;
}

void SimulatedMouse::setAnswersPlainProbe(bool answers) {
    std::lock_guard lock(state_->mutex);
    state_->answersPlainProbe = answers;
}

void SimulatedMouse::addInterface(const HidInterface& collection) {
    std::lock_guard lock(state_->mutex);
    state_->otherInterfaces.push_back(collection);
}

void SimulatedMouse::pushNotice(const HidNotice& notice) {
    std::function<void()> wake;
    {
        std::lock_guard lock(state_->mutex);
        state_->notices.push_back(notice);
        wake = state_->wake;
    }
    Call(wake);
}

void SimulatedMouse::setFaults(const SimFaults& faults) {
    std::lock_guard lock(state_->mutex);
    state_->faults = faults;
    state_->changed.notify_all();
}

void SimulatedMouse::unplug() {
    std::function<void()> wake;
    {
        std::lock_guard lock(state_->mutex);
        wake = state_->pullOut();
    }
    Call(wake);
}

void SimulatedMouse::plugIn() {
    std::function<void()> wake;
    {
        std::lock_guard lock(state_->mutex);
        if (state_->plugged) {
            return;
        }
        state_->plugged = true;
        ++state_->generation;
        // Powered up afresh: it waits for a handshake and has no half-done transfer.
        Firmware& firmware = state_->firmware;
        firmware.linked = false;
        firmware.pendingWrite.reset();
        firmware.answer = {};
        for (const auto& interface : state_->mouseInterfaces()) {
            state_->notices.push_back(
                {HidNotice::Kind::Arrival, interface.path, kMouseVendorId, kMouseProductId});
        }
        wake = state_->wake;
    }
    Call(wake);
}

bool SimulatedMouse::pluggedIn() const {
    std::lock_guard lock(state_->mutex);
    return state_->plugged;
}

void SimulatedMouse::setSensorType(Byte sensorType) {
    std::lock_guard lock(state_->mutex);
    state_->firmware.sensorRecord.sensorType = sensorType;
}

void SimulatedMouse::setSensorRecord(const SensorInfo& record) {
    std::lock_guard lock(state_->mutex);
    state_->firmware.sensorRecord = record;
}

SensorInfo SimulatedMouse::sensorRecord() const {
    std::lock_guard lock(state_->mutex);
    return state_->firmware.sensorRecord;
}

Byte SimulatedMouse::reportRate() const {
    std::lock_guard lock(state_->mutex);
    return state_->firmware.reportRate;
}

std::array<Byte, 3> SimulatedMouse::lightingCommand() const {
    std::lock_guard lock(state_->mutex);
    return state_->firmware.lightingCommand;
}

void SimulatedMouse::setLightingBlock(int n, std::vector<Byte> block) {
    std::lock_guard lock(state_->mutex);
    state_->firmware.lightingBlocks.at(static_cast<std::size_t>(n)) = std::move(block);
}

std::vector<Byte> SimulatedMouse::lightingBlock(int n) const {
    std::lock_guard lock(state_->mutex);
    return state_->firmware.lightingBlocks.at(static_cast<std::size_t>(n));
}

Byte SimulatedMouse::dpiStageCount() const {
    std::lock_guard lock(state_->mutex);
    return state_->firmware.dpiStageCount;
}

std::array<Byte, kDpiTableSize> SimulatedMouse::dpiTable() const {
    std::lock_guard lock(state_->mutex);
    return state_->firmware.dpiTable;
}

KeyMatrix SimulatedMouse::keyMatrix(int table) const {
    std::lock_guard lock(state_->mutex);
    return state_->firmware.keyMatrices.at(static_cast<std::size_t>(table - 1));
}

MacroSlot SimulatedMouse::macroSlot(int slot) const {
    std::lock_guard lock(state_->mutex);
    return state_->firmware.macroSlots.at(static_cast<std::size_t>(slot - 1));
}

void SimulatedMouse::setMacroSlot(int slot, const MacroSlot& data) {
    std::lock_guard lock(state_->mutex);
    state_->firmware.macroSlots.at(static_cast<std::size_t>(slot - 1)) = data;
}

bool SimulatedMouse::linked() const {
    std::lock_guard lock(state_->mutex);
    return state_->firmware.linked;
}

void SimulatedMouse::sendEventReport(std::vector<Byte> report) {
    std::lock_guard lock(state_->mutex);
    if (!state_->plugged || state_->faults.silent) {
        return;
    }
    report.resize(std::max<std::size_t>(report.size(), state_->lengths.event), 0);
    state_->deliverInput(SimCollection::Event, std::move(report));
}

void SimulatedMouse::sendEvent(Byte code, Byte value) {
    sendEventReport({kEventReportId, code, 0, value});
}

void SimulatedMouse::pressReportRateButton() {
    Byte rate = 0;
    {
        std::lock_guard lock(state_->mutex);
        Byte& current = state_->firmware.reportRate;
        current = current >= 8 || current == 0 ? 1 : static_cast<Byte>(current * 2);
        rate = current;
    }
    sendEvent(static_cast<Byte>(DeviceEventCode::ReportRate), rate);
}

void SimulatedMouse::pressDpiButton() {
    Byte stage = 0;
    {
        std::lock_guard lock(state_->mutex);
        Byte& current = state_->firmware.dpiStage;
        current = current >= kDpiStageCount ? 1 : static_cast<Byte>(current + 1);
        stage = current;
    }
    sendEvent(static_cast<Byte>(DeviceEventCode::DpiStage), stage);
}

void SimulatedMouse::pressKeyConfigurationButton() {
    Byte configuration = 0;
    {
        std::lock_guard lock(state_->mutex);
        Byte& current = state_->firmware.keyConfiguration;
        current = current == 1 ? 2 : 1;
        configuration = current;
    }
    sendEvent(static_cast<Byte>(DeviceEventCode::KeyConfiguration), configuration);
}

void SimulatedMouse::pressMacroButton() {
    sendEvent(static_cast<Byte>(DeviceEventCode::MacroMode), 1);
}

std::vector<SimTransfer> SimulatedMouse::transfers() const {
    std::lock_guard lock(state_->mutex);
    return {state_->transfers.begin(), state_->transfers.end()};
}

void SimulatedMouse::clearTransfers() {
    std::lock_guard lock(state_->mutex);
    state_->transfers.clear();
}

int SimulatedMouse::openHandles(SimCollection collection) const {
    std::lock_guard lock(state_->mutex);
    int count = 0;
    for (const auto& weak : state_->handles) {
        const auto handle = weak.lock();
        count += handle && handle->collection == collection && !state_->dead(*handle) ? 1 : 0;
    }
    return count;
}

} // namespace quorvel
