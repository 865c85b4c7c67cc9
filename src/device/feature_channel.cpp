#include "device/feature_channel.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace quorvel {

bool FitsBuffers(const HidInterface& featureCollection) {
    const auto carriesChunk = [](std::uint16_t length) {
        return length >= 1 + kChunkDataSize && length <= kChunkBufferSize;
    };
    return featureCollection.featureReportLength >= 1 + kCommandReportSize &&
           featureCollection.featureReportLength <= kFeatureBufferSize &&
           carriesChunk(featureCollection.inputReportLength) &&
           carriesChunk(featureCollection.outputReportLength);
}

void FeatureChannel::attach(std::unique_ptr<HidDevice> handle, const HidInterface& collection) {
    handle_ = std::move(handle);
    featureReportLength_ = collection.featureReportLength;
    chunkInLength_ = collection.inputReportLength;
    chunkOutLength_ = collection.outputReportLength;
}

bool FeatureChannel::PutCommand(const CommandReport& command, bool scrambled) {
    if (!handle_ || featureReportLength_ < 1 + kCommandReportSize ||
        featureReportLength_ > kFeatureBufferSize) {
        return false;
    }
    std::array<Byte, kFeatureBufferSize> buffer{};
    CommandReport report = command;
    report[7] = Checksum(report);
    if (scrambled) {
        ScrambleReport(report, linkKey_);
    }
    std::copy(report.begin(), report.end(), buffer.begin() + 1);
    return handle_->setFeature(std::span(buffer.data(), featureReportLength_), transferTimeout_);
}

bool FeatureChannel::TakeAnswer(CommandReport& answer, bool scrambled) {
    std::array<Byte, kFeatureBufferSize> buffer{};
    // A failed get leaves the cleared buffer, which is unscrambled like an answer.
    const bool answered =
        handle_->getFeature(std::span(buffer.data(), featureReportLength_), transferTimeout_);
    std::span<Byte, kCommandReportSize> bytes(buffer.data() + 1, kCommandReportSize);
    if (scrambled) {
        UnscrambleReport(bytes, linkKey_);
    }
    std::copy(bytes.begin(), bytes.end(), answer.begin());
    return answered;
}

TransferResult FeatureChannel::Exchange(CommandReport& command) {
    const Byte code = command[0];
    if (IsReadCommand(code) && handle_) {
        // Chunks left over from an earlier read must not pass as this read's.
        handle_->discardInput();
    }
    if (!PutCommand(command, scrambled_)) {
        return TransferResult::Failed;
    }
    if (!IsReadCommand(code)) {
        return TransferResult::Done;
    }
    if (!TakeAnswer(command, scrambled_)) {
        return TransferResult::Failed;
    }
    return command[0] == code ? TransferResult::Done : TransferResult::UnusableAnswer;
}

TransferResult FeatureChannel::FeatureTransaction(CommandReport& command) {
    return Exchange(command);
}

TransferResult FeatureChannel::BulkTransfer(Clock& clock, CommandReport& command, std::span<Byte> data) {
    if (chunkInLength_ > kChunkBufferSize || chunkOutLength_ > kChunkBufferSize) {
        return TransferResult::Failed;
    }
    if (const TransferResult sent = Exchange(command); sent != TransferResult::Done) {
        return sent;
    }
    std::array<Byte, kChunkBufferSize> buffer{};
    const std::size_t chunks = ChunkCount(FieldsOf<CommandFields>(command).length);
    if (IsReadCommand(command[0])) {
        // The length byte may announce more than `data` holds. Every announced
        // chunk (eight at most) is still read, so that the next command's answer
        // is not taken from them, but only what fits is kept.
        for (std::size_t i = 0; i < chunks; ++i) {
            buffer.fill(0);
            const auto got = handle_->read(std::span(buffer.data(), chunkInLength_), transferTimeout_);
            if (!got || *got < chunkInLength_) {
                return TransferResult::Failed;
            }
            const std::size_t offset = i * kChunkDataSize;
            if (offset < data.size()) {
                const std::size_t n = std::min(kChunkDataSize, data.size() - offset);
                std::memcpy(data.data() + offset, buffer.data() + 1, n);
            }
        }
        return TransferResult::Done;
    }
    for (std::size_t i = 0; i < chunks; ++i) {
        buffer.fill(0);
        const std::size_t offset = i * kChunkDataSize;
        if (offset < data.size()) {
            const std::size_t n = std::min(kChunkDataSize, data.size() - offset);
            std::memcpy(buffer.data() + 1, data.data() + offset, n);
        }
        if (!handle_->write(std::span<const Byte>(buffer.data(), chunkOutLength_), transferTimeout_)) {
            return TransferResult::Failed;
        }
        clock.sleep(kChunkWritePause);
    }
    return TransferResult::Done;
}

bool FeatureChannel::ProbeAttempt(Clock& clock, bool scrambled) {
    if (!PutCommand(MakeProbe(), scrambled)) {
        return false;
    }
    clock.sleep(kProbePause);
    CommandReport answer{};
    if (!TakeAnswer(answer, scrambled)) {
        return false;
    }
    return std::equal(kProbeBytes.begin(), kProbeBytes.end(), answer.begin() + 1);
}

} // namespace quorvel
