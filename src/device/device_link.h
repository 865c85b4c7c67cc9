#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>

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

// How long a data chunk may take before the mouse counts as silent.
inline constexpr std::chrono::milliseconds kDefaultTransferTimeout{1000};

// The state of the link to the mouse. The reader thread looks at `connected`,
// `inputHandle` and `eventReportLength`; whoever changes those while the
// reader runs does it under the reader's lock (DeviceController does).
struct DeviceLink {
    std::unique_ptr<HidDevice> featureHandle; // commands and data chunks
    std::uint16_t featureReportLength = 0;
    std::uint16_t chunkInLength = 0;
    std::uint16_t chunkOutLength = 0;

    std::shared_ptr<HidDevice> inputHandle; // event reports, read by the reader thread
    std::unique_ptr<HidDevice> writeHandle; // opened with the event collection, never written
    std::uint16_t eventReportLength = 0;

    std::string devicePath; // the interface being examined or last opened

    bool connected = false;
    bool scrambled = false;
    LinkKey linkKey{};

    std::chrono::milliseconds transferTimeout = kDefaultTransferTimeout;
};

// Sends `command` with its checksum recomputed (whatever byte 7 held), scrambled
// when the link is. For a read command the mouse's answer replaces `command`.
// True when the report went out and, for a read, an answer came back.
bool FeatureTransaction(DeviceLink& link, CommandReport& command);

// The command, then its data block in 32-byte chunks: byte 2 of a write command
// gives the length and `data` the bytes (beyond its end the chunks carry zeros);
// a read command's answer gives the length and `data` takes what fits of it.
// Every chunk written is followed by a 3 ms pause. True when every report went
// through and every chunk read came whole before the time-out.
bool BulkTransfer(DeviceLink& link, Clock& clock, CommandReport& command, std::span<Byte> data);

// Chunks needed for a block of `length` bytes.
constexpr std::size_t ChunkCount(std::size_t length) {
    return (length + kChunkDataSize - 1) / kChunkDataSize;
}

} // namespace quorvel
