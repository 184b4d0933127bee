// libFuzzer target for reading sway's replies: arbitrary bytes as a whole framed reply, and as
// a get_tree payload. Any failure but an IpcError, or views that break the rules below, is a
// finding; so is a reply whose reading depends on anything but its bytes.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "platform/Utf16.h"
#include "platform/wayland/IpcError.h"
#include "platform/wayland/IpcFraming.h"
#include "platform/wayland/SwayTree.h"

namespace {

using velmora::wayland::IpcError;
using velmora::wayland::SwayView;

void Require(bool holds, const char* rule) {
    if (holds) return;
    std::fprintf(stderr, "rule broken: %s\n", rule);
    std::abort();
}

__attribute__((no_sanitize("coverage"))) void CheckViews(const std::vector<SwayView>& views) {
    std::unordered_set<velmora::Hwnd> ids;
    for (const SwayView& view : views) {
        Require(view.id != 0, "every view has a window handle");
        Require(ids.insert(view.id).second, "no view is listed twice");
        Require(view.fullscreenMode >= 0 && view.fullscreenMode <= 2, "fullscreen mode 0 to 2");
        Require(velmora::ValidUtf8(view.title) == view.title, "titles are valid UTF-8");
        Require(velmora::ValidUtf8(view.appId) == view.appId, "app ids are valid UTF-8");
    }
}

bool SameViews(const std::vector<SwayView>& a, const std::vector<SwayView>& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (a[i].id != b[i].id || a[i].title != b[i].title || a[i].pid != b[i].pid ||
            a[i].inScratchpad != b[i].inScratchpad) {
            return false;
        }
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    try {
        const std::string_view payload =
            velmora::wayland::DecodeIpcReply(bytes, velmora::wayland::IpcType::GetTree);
        Require(payload.size() + velmora::wayland::kIpcHeaderSize == size,
                "the payload is the reply's whole rest");
        CheckViews(velmora::wayland::ReadViews(payload));
    } catch (const IpcError&) {
    }
    try {
        const std::vector<SwayView> views = velmora::wayland::ReadViews(bytes);
        CheckViews(views);
        Require(SameViews(velmora::wayland::ReadViews(bytes), views),
                "the same tree gives the same views again");
    } catch (const IpcError&) {
    }
    return 0;
}
