#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>

#include "device/command_report.h"
#include "ports/clock.h"
#include "ports/hid_port.h"

namespace quorvel {

// The working buffers of the transfers. A device whose reports do not fit
// them is refused when it is opened.
inline constexpr std::size_t kFeatureBufferSize = 16;
inline constexpr std::size_t kChunkBufferSize = 40;
inline constexpr std::size_t kEventBufferSize = 40;

inline constexpr std::size_t kChunkDataSize = 32;

inline constexpr std::chrono::milliseconds kChunkWritePause{3};
inline constexpr std::chrono::milliseconds kProbePause{5};

// How long a feature report or a data chunk may take before the mouse counts as silent.
inline constexpr std::chrono::milliseconds kDefaultTransferTimeout{1000};

// Chunks needed for a block of `length` bytes.
constexpr std::size_t ChunkCount(std::size_t length) {
    return (length + kChunkDataSize - 1) / kChunkDataSize;
}

// How an exchange with the mouse ended.
enum class TransferResult {
    Done,
    Failed,         // a report did not go out or no answer came in time
    UnusableAnswer, // the mouse answered something that contradicts the request
};

// The feature collection: commands in feature reports (report ID 0, the
// eight command bytes, scrambled once the handshake has switched the link to
// it) and the data blocks that follow some of them in 32-byte chunks. It
// runs on one thread, the one that sends the commands.
class FeatureChannel {
public:
    // Takes the opened collection and its report lengths (report ID included).
    void attach(std::unique_ptr<HidDevice> handle, const HidInterface& collection);
    void close() { handle_.reset(); }

    std::uint16_t featureReportLength() const { return featureReportLength_; }
    std::uint16_t chunkInLength() const { return chunkInLength_; }
    std::uint16_t chunkOutLength() const { return chunkOutLength_; }

    bool scrambled() const { return scrambled_; }
    void setScrambled(bool scrambled) { scrambled_ = scrambled; }
    const LinkKey& linkKey() const { return linkKey_; }
    void setLinkKey(const LinkKey& key) { linkKey_ = key; }
    void setTransferTimeout(std::chrono::milliseconds timeout) { transferTimeout_ = timeout; }

    // Sends `command` with its checksum recomputed (whatever byte 7 held),
    // scrambled when the link is. For a read command the mouse's answer
    // replaces `command`; an answer for another command is unusable.
    TransferResult FeatureTransaction(CommandReport& command);

    // The command, then its data block in 32-byte chunks: byte 2 of a write
    // command gives the length and `data` the bytes (beyond its end the chunks
    // carry zeros); a read command's answer gives the length and `data` takes
    // what fits of it. Every chunk written is followed by a 3 ms pause. Chunks
    // still waiting from an earlier read are dropped before a read command.
    TransferResult BulkTransfer(Clock& clock, CommandReport& command, std::span<Byte> data);

    // One attempt of the handshake: the probe, plain or scrambled with the
    // link key, a 5 ms pause, and the answer, which must repeat the probe's
    // bytes 1-4. The link mode is left as it was.
    bool ProbeAttempt(Clock& clock, bool scrambled);

private:
    // Report ID 0, then the command bytes with a fresh checksum, scrambled
    // when `scrambled`; the rest of the report is 0.
    bool PutCommand(const CommandReport& command, bool scrambled);
    // The answer's command bytes, unscrambled when `scrambled`.
    bool TakeAnswer(CommandReport& answer, bool scrambled);
    TransferResult Exchange(CommandReport& command);

    std::unique_ptr<HidDevice> handle_;
    std::uint16_t featureReportLength_ = 0;
    std::uint16_t chunkInLength_ = 0;
    std::uint16_t chunkOutLength_ = 0;
    bool scrambled_ = false;
    LinkKey linkKey_{};
    std::chrono::milliseconds transferTimeout_ = kDefaultTransferTimeout;
};

// Whether the collection's report lengths fit the working buffers and carry
// a whole command and a whole chunk.
bool FitsBuffers(const HidInterface& featureCollection);

} // namespace quorvel
