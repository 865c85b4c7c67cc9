#include "hid/windows/windows_hid_port.h"

#include <cctype>
#include <utility>

namespace quorvel {

namespace {

using Status = WinHidSystem::ReadResult::Status;

// The value of "<key>XXXX" (four hex digits), searched without regard to case.
std::uint16_t HexAfter(const std::string& path, std::string_view key) {
    std::string lower(path.size(), '\0');
    for (std::size_t i = 0; i < path.size(); ++i) {
        lower[i] = static_cast<char>(std::tolower(static_cast<unsigned char>(path[i])));
    }
    const auto at = lower.find(key);
    if (at == std::string::npos || at + key.size() + 4 > lower.size()) {
        return 0;
    }
    unsigned value = 0;
    for (std::size_t i = at + key.size(); i < at + key.size() + 4; ++i) {
        const char c = lower[i];
        if (!std::isxdigit(static_cast<unsigned char>(c))) {
            return 0;
        }
        value = value * 16 +
                static_cast<unsigned>(std::isdigit(static_cast<unsigned char>(c)) ? c - '0' : c - 'a' + 10);
    }
    return static_cast<std::uint16_t>(value);
}

constexpr std::size_t kLargestReport = 4096;
constexpr std::size_t kMostDiscarded = 256;

class WindowsHidDevice final : public HidDevice {
public:
    WindowsHidDevice(std::shared_ptr<WinHidSystem> system, std::unique_ptr<WinHidSystem::Handle> handle)
        : system_(std::move(system)), handle_(std::move(handle)), wake_(system_->createWakeEvent()) {}

    bool setFeature(std::span<const std::uint8_t> report, std::chrono::milliseconds timeout) override {
        return system_->setFeature(*handle_, report, timeout);
    }
    bool getFeature(std::span<std::uint8_t> report, std::chrono::milliseconds timeout) override {
        return system_->getFeature(*handle_, report, timeout);
    }
    bool write(std::span<const std::uint8_t> report, std::chrono::milliseconds timeout) override {
        return system_->write(*handle_, report, timeout);
    }
    std::optional<std::size_t> read(std::span<std::uint8_t> report,
                                    std::chrono::milliseconds timeout) override {
        return Bytes(system_->read(*handle_, report, timeout, nullptr));
    }
    std::size_t discardInput() override {
        // Reads without waiting until nothing is left; bounded, so that a
        // device that streams reports cannot hold the caller.
        std::vector<std::uint8_t> report(kLargestReport);
        std::size_t dropped = 0;
        while (dropped < kMostDiscarded &&
               Bytes(system_->read(*handle_, report, std::chrono::milliseconds(0), nullptr))) {
            ++dropped;
        }
        return dropped;
    }
    std::optional<std::size_t> readEvent(std::span<std::uint8_t> report) override {
        if (!wake_) {
            return std::nullopt;
        }
        const auto result = system_->read(*handle_, report, std::chrono::milliseconds(-1), wake_.get());
        if (result.status == Status::Woken) {
            wake_->reset(); // taken: the next read waits again
        }
        return Bytes(result);
    }
    void cancelEventRead() override {
        if (wake_) {
            wake_->set();
        }
    }

private:
    static std::optional<std::size_t> Bytes(const WinHidSystem::ReadResult& result) {
        if (result.status != Status::Done) {
            return std::nullopt;
        }
        return result.bytes;
    }

    std::shared_ptr<WinHidSystem> system_;
    std::unique_ptr<WinHidSystem::Handle> handle_;
    std::unique_ptr<WinHidSystem::WakeEvent> wake_;
};

} // namespace

InterfaceIds IdsFromInterfacePath(const std::string& path) {
    return {HexAfter(path, "vid_"), HexAfter(path, "pid_")};
}

WindowsHidPort::WindowsHidPort() : WindowsHidPort(MakeSystemWinHid()) {
}

WindowsHidPort::WindowsHidPort(std::shared_ptr<WinHidSystem> system) : system_(std::move(system)) {
}

WindowsHidPort::~WindowsHidPort() {
    watch_.reset();
}

std::vector<HidInterface> WindowsHidPort::enumerate() {
    std::vector<HidInterface> found;
    for (const auto& path : system_->interfacePaths()) {
        // Keyboards and mice are held by the system; a handle without access
        // rights still answers the attribute queries.
        const auto handle = system_->open(path, HidAccess::None).handle;
        if (!handle) {
            continue;
        }
        const auto attributes = system_->attributes(*handle);
        const auto caps = system_->caps(*handle);
        if (!attributes || !caps) {
            continue;
        }
        found.push_back({.path = path,
                         .vendorId = attributes->vendorId,
                         .productId = attributes->productId,
                         .versionNumber = attributes->versionNumber,
                         .usagePage = caps->usagePage,
                         .usage = caps->usage,
                         .inputReportLength = caps->inputReportLength,
                         .outputReportLength = caps->outputReportLength,
                         .featureReportLength = caps->featureReportLength});
    }
    return found;
}

HidOpenResult WindowsHidPort::open(const std::string& path, HidAccess access) {
    auto opened = system_->open(path, access);
    if (!opened.handle) {
        return {nullptr, opened.error == HidOpenError::None ? HidOpenError::Failed : opened.error};
    }
    return {std::make_unique<WindowsHidDevice>(system_, std::move(opened.handle)), HidOpenError::None};
}

void WindowsHidPort::setNoticeWakeup(std::function<void()> wake) {
    {
        std::lock_guard lock(mutex_);
        wake_ = std::move(wake);
    }
    if (watch_) {
        return;
    }
    watch_ = system_->watch([this](bool arrived, const std::string& path) {
        const auto ids = IdsFromInterfacePath(path);
        std::function<void()> wake;
        {
            std::lock_guard lock(mutex_);
            notices_.push_back({.kind = arrived ? HidNotice::Kind::Arrival : HidNotice::Kind::Removal,
                                .path = path,
                                .vendorId = ids.vendorId,
                                .productId = ids.productId});
            wake = wake_;
        }
        if (wake) {
            wake();
        }
    });
}

std::vector<HidNotice> WindowsHidPort::takeNotices() {
    std::lock_guard lock(mutex_);
    return std::exchange(notices_, {});
}

} // namespace quorvel
