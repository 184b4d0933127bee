#include "SwayConnection.h"

#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "IpcError.h"

namespace velmora::wayland {

std::string SwaySocketPath() {
    const char* path = std::getenv("SWAYSOCK");
    return path != nullptr ? std::string(path) : std::string();
}

SwayConnection::SwayConnection(std::string socketPath, std::chrono::milliseconds replyLimit)
    : socketPath_(std::move(socketPath)), replyLimit_(replyLimit) {}

UniqueFd ConnectUnixSocket(const std::string& path) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path.empty() || path.size() >= sizeof address.sun_path) return {};
    std::memcpy(address.sun_path, path.data(), path.size());
    UniqueFd fd(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0));
    if (!fd) return {};
    int result;
    do {
        result = ::connect(fd.get(), reinterpret_cast<const sockaddr*>(&address), sizeof address);
    } while (result != 0 && errno == EINTR);
    return result == 0 ? std::move(fd) : UniqueFd();
}

void SwayConnection::Connect() {
    // Non-blocking throughout: the socket stays so for the time-limited requests.
    socket_ = ConnectUnixSocket(socketPath_);
    if (!socket_) throw IpcError("sway IPC: cannot connect to " + socketPath_);
}

bool SwayConnection::Answers() {
    try {
        Request(IpcType::GetVersion, "");
        return true;
    } catch (const IpcError&) {
        return false;
    }
}

std::string SwayConnection::Request(IpcType type, std::string_view payload) {
    const Deadline deadline = std::chrono::steady_clock::now() + replyLimit_;
    try {
        if (!socket_) Connect();
        WriteAll(EncodeIpcMessage(type, payload), deadline);
        std::string reply(kIpcHeaderSize, '\0');
        ReadExactly(reply.data(), reply.size(), deadline);
        // The header is checked before its length is trusted for the payload.
        const IpcHeader header = DecodeIpcHeader(reply);
        reply.resize(kIpcHeaderSize + header.length);
        ReadExactly(reply.data() + kIpcHeaderSize, header.length, deadline);
        return std::string(DecodeIpcReply(reply, type));
    } catch (const IpcError&) {
        socket_.Reset();
        throw;
    }
}

void SwayConnection::WaitFor(short events, Deadline deadline) {
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) throw IpcError("sway IPC: no reply in time");
        pollfd watch{socket_.get(), events, 0};
        const int ready = ::poll(&watch, 1, static_cast<int>(left.count()));
        if (ready > 0) return;
        if (ready < 0 && errno != EINTR) throw IpcError("sway IPC: cannot wait for the socket");
    }
}

void SwayConnection::WriteAll(std::string_view bytes, Deadline deadline) {
    while (!bytes.empty()) {
        WaitFor(POLLOUT, deadline);
        // A peer that went away is an error, not SIGPIPE.
        const ssize_t sent = ::send(socket_.get(), bytes.data(), bytes.size(), MSG_NOSIGNAL);
        if (sent < 0) {
            if (errno == EINTR || errno == EAGAIN || errno == EWOULDBLOCK) continue;
            throw IpcError("sway IPC: cannot send");
        }
        bytes.remove_prefix(static_cast<std::size_t>(sent));
    }
}

void SwayConnection::ReadExactly(char* into, std::size_t size, Deadline deadline) {
    while (size > 0) {
        WaitFor(POLLIN, deadline);
        const ssize_t got = ::recv(socket_.get(), into, size, 0);
        if (got == 0) throw IpcError("sway IPC: connection closed mid-reply");
        if (got < 0) {
            if (errno == EINTR || errno == EAGAIN || errno == EWOULDBLOCK) continue;
            throw IpcError("sway IPC: cannot receive");
        }
        into += got;
        size -= static_cast<std::size_t>(got);
    }
}

}  // namespace velmora::wayland
