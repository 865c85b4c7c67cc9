#include "tracing.h"

#include <cstdio>
#include <string>

namespace quorvel::ctl {

namespace {

void Line(std::ostream& out, const char* what, std::span<const std::uint8_t> bytes) {
    std::string line = what;
    char digits[4];
    for (std::uint8_t b : bytes) {
        std::snprintf(digits, sizeof digits, " %02x", b);
        line += digits;
    }
    out << line << std::endl;
}

class TracingDevice final : public HidDevice {
public:
    TracingDevice(std::unique_ptr<HidDevice> inner, std::ostream& out)
        : inner_(std::move(inner)), out_(out) {}

    bool setFeature(std::span<const std::uint8_t> report) override {
        Line(out_, "set-feature", report);
        return inner_->setFeature(report);
    }
    bool getFeature(std::span<std::uint8_t> report) override {
        const bool ok = inner_->getFeature(report);
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

std::unique_ptr<HidDevice> TracingHidPort::open(const std::string& path, HidAccess access) {
    auto device = inner_.open(path, access);
    if (!device) {
        return nullptr;
    }
    return std::make_unique<TracingDevice>(std::move(device), out_);
}

void TracingClock::sleep(std::chrono::milliseconds duration) {
    out_ << "sleep " << duration.count() << std::endl;
    inner_.sleep(duration);
}

} // namespace quorvel::ctl
