#include "SessionCompositor.h"

#include <sys/socket.h>
#include <sys/types.h>

#include <cstdlib>

#include "SwayConnection.h"

namespace velmora::wayland {

namespace {

// The process that listens on the socket at `path`; 0 when nothing answers there at once.
pid_t ServerOf(const std::string& path) {
    const UniqueFd socket = ConnectUnixSocket(path);
    ucred peer{};
    socklen_t size = sizeof peer;
    if (!socket || ::getsockopt(socket.get(), SOL_SOCKET, SO_PEERCRED, &peer, &size) != 0) return 0;
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
