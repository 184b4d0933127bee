#include "IpcFraming.h"

#include <cstring>

#include "IpcError.h"

namespace velmora::wayland {

namespace {

void AppendWord(std::string& bytes, std::uint32_t word) {
    char raw[sizeof word];
    std::memcpy(raw, &word, sizeof word);
    bytes.append(raw, sizeof raw);
}

std::uint32_t WordAt(std::string_view bytes, std::size_t offset) {
    std::uint32_t word = 0;
    std::memcpy(&word, bytes.data() + offset, sizeof word);
    return word;
}

}  // namespace

std::string EncodeIpcMessage(IpcType type, std::string_view payload) {
    if (payload.size() > kMaxIpcPayload) throw IpcError("sway IPC: message too long");
    std::string bytes(kIpcMagic);
    AppendWord(bytes, static_cast<std::uint32_t>(payload.size()));
    AppendWord(bytes, static_cast<std::uint32_t>(type));
    bytes.append(payload);
    return bytes;
}

IpcHeader DecodeIpcHeader(std::string_view bytes) {
    if (bytes.size() < kIpcHeaderSize) throw IpcError("sway IPC: truncated header");
    if (bytes.substr(0, kIpcMagic.size()) != kIpcMagic) throw IpcError("sway IPC: wrong magic");
    const IpcHeader header{WordAt(bytes, kIpcMagic.size()),
                           WordAt(bytes, kIpcMagic.size() + sizeof(std::uint32_t))};
    if (header.length > kMaxIpcPayload) throw IpcError("sway IPC: reply too long");
    return header;
}

std::string_view DecodeIpcReply(std::string_view bytes, IpcType expected) {
    const IpcHeader header = DecodeIpcHeader(bytes);
    if (header.type != static_cast<std::uint32_t>(expected)) {
        throw IpcError("sway IPC: reply of another type");
    }
    const std::string_view payload = bytes.substr(kIpcHeaderSize);
    if (payload.size() < header.length) throw IpcError("sway IPC: truncated payload");
    if (payload.size() > header.length) throw IpcError("sway IPC: bytes after the payload");
    return payload;
}

}  // namespace velmora::wayland
