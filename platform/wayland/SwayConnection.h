#pragma once
// The Unix socket to sway's IPC: one request, one reply, each within a time limit so that a
// compositor that stops answering cannot hold the program up for ever.

#include <chrono>
#include <string>
#include <string_view>

#include "IpcError.h"
#include "IpcFraming.h"
#include "UniqueFd.h"

namespace velmora::wayland {

// The socket sway announces in the session ($SWAYSOCK); empty when there is none.
std::string SwaySocketPath();

// A non-blocking connection to the Unix socket at `path`; empty when none can be made at once
// (a compositor whose queue of connections is full included: nothing here waits for one).
UniqueFd ConnectUnixSocket(const std::string& path);

class SwayConnection {
public:
    // Connects on the first request. `replyLimit` bounds each request from sending to the
    // whole reply.
    explicit SwayConnection(std::string socketPath,
                            std::chrono::milliseconds replyLimit = kCompositorReplyLimit);

    // Sends one message and returns its reply's payload. Throws IpcError when the socket cannot
    // be reached, the time limit passes or the reply is malformed; the connection is then
    // dropped, so that a late reply is never taken for the next request's, and the next request
    // connects afresh.
    std::string Request(IpcType type, std::string_view payload);
    // Whether sway answers on the socket at all: the session may announce one left over from
    // an earlier sway.
    bool Answers();

private:
    using Deadline = std::chrono::steady_clock::time_point;

    void Connect();
    void WriteAll(std::string_view bytes, Deadline deadline);
    void ReadExactly(char* into, std::size_t size, Deadline deadline);
    // Waits until the socket is ready for `events` (poll's), or throws at the deadline.
    void WaitFor(short events, Deadline deadline);

    std::string socketPath_;
    std::chrono::milliseconds replyLimit_;
    UniqueFd socket_;
};

}  // namespace velmora::wayland
