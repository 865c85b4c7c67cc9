#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace quorvel {

// One connection a later start made to the running copy's socket. The
// descriptor is non-blocking; the shell watches it for reading and reads
// when it is ready.
class KnockPeer {
public:
    explicit KnockPeer(int fd) : fd_(fd) {}
    ~KnockPeer();
    KnockPeer(const KnockPeer&) = delete;
    KnockPeer& operator=(const KnockPeer&) = delete;

    int fd() const { return fd_; }
    // At most `most` of the bytes the peer sent: empty when none wait;
    // nothing once the peer has hung up or the connection failed.
    std::optional<std::string> read(std::size_t most);

private:
    int fd_;
};

// The socket the running copy listens on for later starts: a Unix-domain
// stream socket at a path in a folder of the user's own, which only the
// user may connect to. Its descriptor is non-blocking; the shell watches it
// and takes the peers that wait.
class KnockSocket {
public:
    KnockSocket() = default;
    ~KnockSocket(); // closes it and removes its file
    KnockSocket(const KnockSocket&) = delete;
    KnockSocket& operator=(const KnockSocket&) = delete;

    // Listens at `path`, in place of a socket a crashed copy left there.
    // False when it cannot; error() then says why.
    bool listen(const std::filesystem::path& path);
    int fd() const { return fd_; }
    const std::string& error() const { return error_; }
    // The connection of a peer that waits; nothing when none does.
    std::optional<int> accept();

private:
    int fd_ = -1;
    std::filesystem::path path_;
    std::string error_;
};

// A later start's knock: connects to the running copy's socket, says
// `knock` and hangs up. The copy may have taken its lock a moment ago and
// not be listening yet, so connecting is tried for `patienceMs`. False when
// no copy took the knock.
bool KnockAt(const std::filesystem::path& path, std::string_view knock, int patienceMs);

} // namespace quorvel
