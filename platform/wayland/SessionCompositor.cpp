#include "SessionCompositor.h"

#include <sys/socket.h>
#include <sys/types.h>
#include <sys/un.h>

#include <cstdlib>
#include <cstring>

#include "UniqueFd.h"

namespace velmora::wayland {

namespace {

// The process that listens on the socket at `path`; 0 when nothing answers there at once (a
// full queue of connections included: the program never waits on another session).
pid_t ServerOf(const std::string& path) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path.empty() || path.size() >= sizeof address.sun_path) return 0;
    std::memcpy(address.sun_path, path.data(), path.size());
    const UniqueFd socket(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0));
    if (!socket ||
        ::connect(socket.get(), reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        return 0;
    }
    ucred peer{};
    socklen_t size = sizeof peer;
    if (::getsockopt(socket.get(), SOL_SOCKET, SO_PEERCRED, &peer, &size) != 0) return 0;
    return peer.pid;
}

}  // namespace

std::string WaylandDisplaySocketPath() {
    const char* display = std::getenv("WAYLAND_DISPLAY");
    if (display == nullptr || *display == '\0') return {};
    if (*display == '/') return display;
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    return runtime != nullptr ? std::string(runtime) + '/' + display : std::string();
}

bool ServedByOneProcess(const std::string& socketPath, const std::string& otherSocketPath) {
    const pid_t server = ServerOf(socketPath);
    return server != 0 && server == ServerOf(otherSocketPath);
}

}  // namespace velmora::wayland
