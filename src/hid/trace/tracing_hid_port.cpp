#include "hid/trace/tracing_hid_port.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace quorvel {

namespace {

void Line(std::ostream& out, const char* what, std::span<const std::uint8_t> bytes) {
    out << TraceLine(what, bytes) << std::endl;
}

class TracingDevice final : public HidDevice {
public:
    TracingDevice(std::unique_ptr<HidDevice> inner, std::ostream& out)
        : inner_(std::move(inner)), out_(out) {}

    bool setFeature(std::span<const std::uint8_t> report, std::chrono::milliseconds timeout) override {
        Line(out_, "set-feature", report);
        return inner_->setFeature(report, timeout);
    }
    bool getFeature(std::span<std::uint8_t> report, std::chrono::milliseconds timeout) override {
        const bool ok = inner_->getFeature(report, timeout);
        Line(out_, "get-feature", report);
        return ok;
    }
    bool write(std::span<const std::uint8_t> report, std::chrono::milliseconds timeout) override {
        Line(out_, "write", report);
        return inner_->write(report, timeout);
    }
    std::optional<std::size_t> read(std::span<std::uint8_t> report,
                                    std::chrono::milliseconds timeout) override {
        const auto got = inner_->read(report, timeout);
        Line(out_, "read", report);
        return got;
    }
    std::size_t discardInput() override {
        const std::size_t dropped = inner_->discardInput();
        if (dropped != 0) {
            out_ << "discard " << dropped << std::endl;
        }
        return dropped;
    }
    // Event reports are not transfers of a command; they are not traced.
    std::optional<std::size_t> readEvent(std::span<std::uint8_t> report) override {
        return inner_->readEvent(report);
    }
    void cancelEventRead() override { inner_->cancelEventRead(); }

private:
    std::unique_ptr<HidDevice> inner_;
    std::ostream& out_;
};

} // namespace

HidOpenResult TracingHidPort::open(const std::string& path, HidAccess access) {
    HidOpenResult opened = inner_.open(path, access);
    if (opened.device) {
        opened.device = std::make_unique<TracingDevice>(std::move(opened.device), out_);
    }
    return opened;
}

std::string TraceLine(std::string_view what, std::span<const std::uint8_t> bytes) {
    std::string line(what);
    char digits[4];
    for (std::uint8_t b : bytes) {
        std::snprintf(digits, sizeof digits, " %02x", b);
        line += digits;
    }
    return line;
}

bool TraceAskedFor() {
    const char* value = std::getenv("QUORVEL_TRACE");
    return value != nullptr && std::string_view(value) == "1";
}

void TracingClock::sleep(std::chrono::milliseconds duration) {
    out_ << "sleep " << duration.count() << std::endl;
    inner_.sleep(duration);
}

} // namespace quorvel
