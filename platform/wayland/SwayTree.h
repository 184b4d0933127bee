#pragma once
// The views of a sway layout tree (the reply to get_tree), in the order that stands in for a
// z-order: most recently focused first.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/WindowSystem.h"

namespace velmora::wayland {

struct JsonValue;

// A view: a container with a title and a program behind it.
struct SwayView {
    Hwnd id = 0;  // the container id, which commands name it by
    std::string title;
    std::string appId;  // empty for an X11 program's view
    std::int64_t pid = 0;
    int fullscreenMode = 0;  // 0 none, 1 its workspace, 2 global
    bool inScratchpad = false;
    bool focused = false;
};

// The scratchpad's workspace, as sway names it.
inline constexpr std::string_view kScratchpadWorkspace = "__i3_scratch";

// Every view: first those reached from the root through the containers' focus lists (each
// list names its children most recent first), then the rest in the tree's own order. Throws
// IpcError when the tree is not the shape sway gives or a container id does not fit 32 bits.
std::vector<SwayView> ReadViews(const JsonValue& root);
std::vector<SwayView> ReadViews(std::string_view getTreeReply);

}  // namespace velmora::wayland
