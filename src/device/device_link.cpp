#include "device/device_link.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace quorvel {

namespace {

// Report ID 0, then the command bytes with a fresh checksum, scrambled in
// scrambled mode; the rest of the buffer stays 0.
template <std::size_t N>
void PutCommand(const DeviceLink& link, const CommandReport& command, std::array<Byte, N>& buffer) {
    buffer.fill(0);
    CommandReport report = command;
    report[7] = Checksum(report);
    if (link.scrambled) {
        ScrambleReport(report, link.linkKey);
    }
    std::copy(report.begin(), report.end(), buffer.begin() + 1);
}

template <std::size_t N>
bool TakeAnswer(const DeviceLink& link, std::array<Byte, N>& buffer, CommandReport& command) {
    buffer.fill(0);
    const bool answered = link.featureHandle->getFeature(std::span(buffer.data(), link.featureReportLength));
    std::span<Byte, kCommandReportSize> answer(buffer.data() + 1, kCommandReportSize);
    if (link.scrambled) {
        UnscrambleReport(answer, link.linkKey);
    }
    std::copy(answer.begin(), answer.end(), command.begin());
    return answered;
}

// Sends the command, and for a read takes the answer in its place.
template <std::size_t N>
bool Exchange(DeviceLink& link, CommandReport& command, std::array<Byte, N>& buffer) {
    static_assert(N >= 1 + kCommandReportSize);
    if (!link.featureHandle || link.featureReportLength > N) {
        return false;
    }
    PutCommand(link, command, buffer);
    if (!link.featureHandle->setFeature(std::span(buffer.data(), link.featureReportLength))) {
        return false;
    }
    if (!IsReadCommand(command[0])) {
        return true;
    }
    return TakeAnswer(link, buffer, command);
}

} // namespace

bool FeatureTransaction(DeviceLink& link, CommandReport& command) {
    std::array<Byte, kFeatureBufferSize> buffer{};
    return Exchange(link, command, buffer);
}

bool BulkTransfer(DeviceLink& link, Clock& clock, CommandReport& command, std::span<Byte> data) {
    if (link.chunkInLength > kChunkBufferSize || link.chunkOutLength > kChunkBufferSize) {
        return false;
    }
    std::array<Byte, kChunkBufferSize> buffer{};
    if (!Exchange(link, command, buffer)) {
        return false;
    }
    const std::size_t chunks = ChunkCount(command[2]);
    if (IsReadCommand(command[0])) {
        // The length byte may announce more than `data` holds. Every announced
        // chunk (eight at most) is still read, so that the next command's answer
        // is not taken from them, but only what fits is kept.
        for (std::size_t i = 0; i < chunks; ++i) {
            buffer.fill(0);
            const auto got =
                link.featureHandle->read(std::span(buffer.data(), link.chunkInLength), link.transferTimeout);
            if (!got || *got < link.chunkInLength) {
                return false;
            }
            const std::size_t offset = i * kChunkDataSize;
            if (offset < data.size()) {
                const std::size_t n = std::min(kChunkDataSize, data.size() - offset);
                std::memcpy(data.data() + offset, buffer.data() + 1, n);
            }
        }
        return true;
    }
    for (std::size_t i = 0; i < chunks; ++i) {
        buffer.fill(0);
        const std::size_t offset = i * kChunkDataSize;
        if (offset < data.size()) {
            const std::size_t n = std::min(kChunkDataSize, data.size() - offset);
            std::memcpy(buffer.data() + 1, data.data() + offset, n);
        }
        if (!link.featureHandle->write(std::span<const Byte>(buffer.data(), link.chunkOutLength),
                                       link.transferTimeout)) {
            return false;
        }
        clock.sleep(kChunkWritePause);
    }
    return true;
}

} // namespace quorvel
