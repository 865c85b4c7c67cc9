#include "device/event_reader.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <system_error>
#include <utility>

#include "device/feature_channel.h"
#include "device/mouse_identity.h"

namespace quorvel {

bool EventReader::start() {
    if (thread_.joinable()) {
        return true;
    }
    {
        std::lock_guard lock(mutex_);
        stopping_ = false;
    }
    try {
        thread_ = std::thread([this] { run(); });
    } catch (const std::system_error&) {
        return false;
    }
    return true;
}

void EventReader::stop() {
    std::shared_ptr<HidDevice> input;
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
        input = input_;
        wake_.notify_all();
    }
    if (input) {
        input->cancelEventRead();
    }
    if (thread_.joinable()) {
        thread_.join();
    }
    std::lock_guard lock(mutex_);
    input_.reset();
    connected_ = false;
}

bool EventReader::connected() const {
    std::lock_guard lock(mutex_);
    return connected_;
}

void EventReader::setConnected(bool connected) {
    std::lock_guard lock(mutex_);
    connected_ = connected;
    ++generation_;
    wake_.notify_all();
}

void EventReader::setInput(std::shared_ptr<HidDevice> input, std::uint16_t reportLength) {
    std::shared_ptr<HidDevice> previous;
    {
        std::lock_guard lock(mutex_);
        previous = std::exchange(input_, std::move(input));
        eventReportLength_ = reportLength;
        ++generation_;
        wake_.notify_all();
    }
    if (previous) {
        previous->cancelEventRead();
    }
}

std::uint16_t EventReader::eventReportLength() const {
    std::lock_guard lock(mutex_);
    return eventReportLength_;
}

void EventReader::run() {
    std::array<Byte, kEventBufferSize> buffer{};
    std::unique_lock lock(mutex_);
    while (!stopping_) {
        const std::uint64_t generation = generation_;
        const auto changed = [&] { return stopping_ || generation_ != generation; };
        if (!connected_ || !input_) {
            wake_.wait(lock, changed);
            continue;
        }
        const std::shared_ptr<HidDevice> input = input_;
        const std::size_t length = std::min<std::size_t>(eventReportLength_, buffer.size());
        lock.unlock();
        buffer.fill(0);
        const auto got = input->readEvent(std::span(buffer.data(), length));
        lock.lock();
        if (!got) {
            // Woken for a change of the link, or the device failed: a failed
            // device is not read again until the link changes.
            wake_.wait(lock, changed);
            continue;
        }
        EventReport report{};
        std::memcpy(&report, buffer.data(), sizeof report);
        if (stopping_ || !connected_ || *got == 0 || report.reportId != kEventReportId ||
            !IsMouseEventCode(report.code)) {
            continue;
        }
        lock.unlock();
        events_.deliver(static_cast<DeviceEventCode>(report.code), report.value);
        lock.lock();
    }
}

} // namespace quorvel
