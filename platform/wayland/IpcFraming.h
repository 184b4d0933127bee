#pragma once
// sway-ipc(7) framing: "i3-ipc", the payload's length and the message type (32 bits each, in
// the machine's byte order), then the JSON payload. Replies carry their request's type.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace velmora::wayland {

enum class IpcType : std::uint32_t { RunCommand = 0, GetTree = 4, GetVersion = 7 };

inline constexpr std::string_view kIpcMagic = "i3-ipc";
inline constexpr std::size_t kIpcHeaderSize = kIpcMagic.size() + 2 * sizeof(std::uint32_t);
// Far above any real tree (a thousand windows take about a megabyte); a length beyond it
// is a broken reply, never an allocation.
inline constexpr std::uint32_t kMaxIpcPayload = 64u << 20;

struct IpcHeader {
    std::uint32_t length = 0;
    std::uint32_t type = 0;
};

std::string EncodeIpcMessage(IpcType type, std::string_view payload);

// The header at the start of `bytes`. Throws IpcError when it is short, carries another magic
// or announces a payload over kMaxIpcPayload.
IpcHeader DecodeIpcHeader(std::string_view bytes);

// The payload of one whole reply to a request of `expected` type. Throws IpcError when the
// header is bad, the type differs or the payload is not exactly as long as announced.
std::string_view DecodeIpcReply(std::string_view bytes, IpcType expected);

}  // namespace velmora::wayland
