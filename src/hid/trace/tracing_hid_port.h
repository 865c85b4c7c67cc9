#pragma once

#include <memory>
#include <optional>
#include <ostream>
#include <span>
#include <string>
#include <string_view>

#include "ports/clock.h"
#include "ports/hid_port.h"

namespace quorvel {

// Writes every transfer of the devices it opens, one line each:
// "set-feature", "get-feature", "write" or "read" and the whole report in
// lower-case hex, report ID first, as it went out or came back, and
// "discard <n>" when waiting input reports were dropped.
class TracingHidPort final : public HidPort {
public:
    TracingHidPort(HidPort& inner, std::ostream& out) : inner_(inner), out_(out) {}

    std::vector<HidInterface> enumerate() override { return inner_.enumerate(); }
    HidOpenResult open(const std::string& path, HidAccess access) override;
    void setNoticeWakeup(std::function<void()> wake) override { inner_.setNoticeWakeup(std::move(wake)); }
    std::vector<HidNotice> takeNotices() override { return inner_.takeNotices(); }
    bool watchingNotices() const override { return inner_.watchingNotices(); }

private:
    HidPort& inner_;
    std::ostream& out_;
};

// Writes "sleep <ms>" for every pause, then pauses.
class TracingClock final : public Clock {
public:
    TracingClock(Clock& inner, std::ostream& out) : inner_(inner), out_(out) {}
    void sleep(std::chrono::milliseconds duration) override;
    void beginRun() override { inner_.beginRun(); }
    void endRun() override { inner_.endRun(); }

private:
    Clock& inner_;
    std::ostream& out_;
};

// One transfer as a trace line: `what` and the bytes in lower-case hex
// ("set-feature 00 01 ..."), without the line's end.
std::string TraceLine(std::string_view what, std::span<const std::uint8_t> bytes);

// Whether the user asked for the transfers on standard error (QUORVEL_TRACE=1).
bool TraceAskedFor();

// The mouse's port and the clock of its pauses as a program talks to them:
// as given when `out` is null, or else both traced to `*out`, so that a
// trace always holds the pauses between the transfers.
class TracedWhenAsked {
public:
    TracedWhenAsked(HidPort& hid, Clock& clock, std::ostream* out) : hid_(hid), clock_(clock) {
        if (out != nullptr) {
            tracedHid_.emplace(hid, *out);
            tracedClock_.emplace(clock, *out);
        }
    }
    TracedWhenAsked(const TracedWhenAsked&) = delete;
    TracedWhenAsked& operator=(const TracedWhenAsked&) = delete;

    HidPort& hid() { return tracedHid_ ? static_cast<HidPort&>(*tracedHid_) : hid_; }
    Clock& clock() { return tracedClock_ ? static_cast<Clock&>(*tracedClock_) : clock_; }

private:
    HidPort& hid_;
    Clock& clock_;
    std::optional<TracingHidPort> tracedHid_;
    std::optional<TracingClock> tracedClock_;
};

} // namespace quorvel
