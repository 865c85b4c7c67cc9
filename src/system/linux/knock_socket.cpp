#include "system/linux/knock_socket.h"

#include <cerrno>
#include <chrono>
#include <cstring>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>

namespace quorvel {

namespace {

// The address of `path`; false when the path is too long for one.
bool AddressOf(const std::filesystem::path& path, sockaddr_un& address) {
    address = {};
    address.sun_family = AF_UNIX;
    const std::string& name = path.native();
    if (name.empty() || name.size() >= sizeof address.sun_path) {
        return false;
    }
    name.copy(address.sun_path, name.size());
    return true;
}

} // namespace

KnockPeer::~KnockPeer() {
    ::close(fd_);
}

std::optional<std::string> KnockPeer::read(std::size_t most) {
    std::string bytes(most, '\0');
    const ssize_t got = most == 0 ? 0 : ::recv(fd_, bytes.data(), most, MSG_DONTWAIT);
    if (got > 0) {
        bytes.resize(static_cast<std::size_t>(got));
        return bytes;
    }
    if (got < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR)) {
        return std::string();
    }
    return std::nullopt;
}

KnockSocket::~KnockSocket() {
    if (fd_ >= 0) {
        ::close(fd_);
        ::unlink(path_.c_str());
    }
}

bool KnockSocket::listen(const std::filesystem::path& path) {
    sockaddr_un address{};
    if (!AddressOf(path, address)) {
        error_ = "the path '" + path.string() + "' is too long for a socket";
        return false;
    }
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        error_ = std::string("cannot make a socket: ") + std::strerror(errno);
        return false;
    }
    // The folder is the user's own and this copy holds its lock: a socket
    // there is a crashed copy's.
    ::unlink(path.c_str());
    constexpr int kBacklog = 8;
    // The file is the user's only before anyone can connect.
    if (::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
        ::chmod(path.c_str(), S_IRUSR | S_IWUSR) != 0 || ::listen(fd, kBacklog) != 0) {
        error_ = "cannot listen at '" + path.string() + "': " + std::strerror(errno);
        ::close(fd);
        ::unlink(path.c_str());
        return false;
    }
    fd_ = fd;
    path_ = path;
    return true;
}

std::optional<int> KnockSocket::accept() {
    const int peer = ::accept4(fd_, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
    return peer >= 0 ? std::optional(peer) : std::nullopt;
}

bool KnockAt(const std::filesystem::path& path, std::string_view knock, int patienceMs) {
    sockaddr_un address{};
    if (!AddressOf(path, address)) {
        return false;
    }
    constexpr auto kRetry = std::chrono::milliseconds(50);
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::milliseconds(patienceMs);
    do {
        const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        if (fd < 0) {
            return false;
        }
        if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0) {
            // A blocking socket: the few bytes are in the running copy's
            // buffer when send returns.
            std::size_t sent = 0;
            while (sent < knock.size()) {
                const ssize_t n = ::send(fd, knock.data() + sent, knock.size() - sent, MSG_NOSIGNAL);
                if (n < 0 && errno == EINTR) {
                    continue;
                }
                if (n <= 0) {
                    break;
                }
                sent += static_cast<std::size_t>(n);
            }
            ::close(fd);
            return sent == knock.size();
        }
        ::close(fd);
        std::this_thread::sleep_for(kRetry);
    } while (std::chrono::steady_clock::now() < giveUp);
    return false;
}

} // namespace quorvel
