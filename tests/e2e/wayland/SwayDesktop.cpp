#include "SwayDesktop.h"

#include <algorithm>
#include <thread>

#include "Accessible.h"
#include "platform/wayland/Json.h"

namespace e2e {

namespace {

using velmora::wayland::JsonValue;
using velmora::wayland::SwayView;

// The container with this id anywhere below `node`, tiled or floating.
const JsonValue* FindContainer(const JsonValue& node, double id) {
    if (const JsonValue* own = node.Find("id"); own && own->number == id) return &node;
    for (const char* children : {"nodes", "floating_nodes"}) {
        const JsonValue* list = node.Find(children);
        if (!list || !list->Is(JsonValue::Kind::Array)) continue;
        for (const JsonValue& child : list->items) {
            if (const JsonValue* found = FindContainer(child, id)) return found;
        }
    }
    return nullptr;
}

}  // namespace

SwayDesktop::SwayDesktop() : sway_(velmora::wayland::SwaySocketPath()) {}

void SwayDesktop::Pump(std::chrono::milliseconds duration) {
    std::this_thread::sleep_for(duration);
}

bool SwayDesktop::WaitFor(const std::function<bool()>& condition,
                          std::chrono::milliseconds timeout) {
    return PollUntil(condition, timeout);
}

std::vector<SwayView> SwayDesktop::Views() {
    return velmora::wayland::ReadViews(sway_.Request(velmora::wayland::IpcType::GetTree, ""));
}

std::optional<SwayView> SwayDesktop::View(WindowId window) {
    for (SwayView& view : Views()) {
        if (view.id == window) return std::move(view);
    }
    return std::nullopt;
}

std::vector<SwayView> SwayDesktop::ViewsTitled(pid_t pid, const std::string& title) {
    std::vector<SwayView> found;
    for (SwayView& view : Views()) {
        if (view.pid == pid && view.title == title) found.push_back(std::move(view));
    }
    return found;
}

Desktop::WindowId SwayDesktop::ProgramWindow(pid_t pid, const std::string& title,
                                             WindowId except) {
    for (const SwayView& view : ViewsTitled(pid, title)) {
        if (view.id != except && !view.inScratchpad) return view.id;
    }
    return 0;
}

bool SwayDesktop::Shown(WindowId window) {
    const std::optional<SwayView> view = View(window);
    return view && !view->inScratchpad;
}

Desktop::WindowId SwayDesktop::ActiveWindow() {
    for (const SwayView& view : Views()) {
        if (view.focused) return view.id;
    }
    return 0;
}

void SwayDesktop::Activate(WindowId window) {
    Run("[con_id=" + std::to_string(window) + "] focus");
}

bool SwayDesktop::Focus(const Accessible& control) {
    // The program moves the focus before it answers; a list then names its current cell as
    // focused, not itself.
    return control.GrabFocus();
}

// The list takes no focus request of its own: Shift+Tab brings the focus back to it from the
// control that follows it in the form.
bool SwayDesktop::FocusList(const Accessible& list) {
    if (list.Focused()) return true;
    const std::vector<Accessible> siblings = list.Parent().Children();
    auto next = std::find_if(siblings.begin(), siblings.end(),
                             [&](const Accessible& each) { return each.Name() == list.Name(); });
    if (next == siblings.end() || ++next == siblings.end() || !Focus(*next)) return false;
    Keys("shift+Tab");
    return WaitFor([&] { return list.Focused(); }, std::chrono::seconds(2));
}

void SwayDesktop::Press(const Accessible& control) {
    if (Focus(control)) Keys("space");
}

void SwayDesktop::PressCheckBox(const Accessible& list, int row) {
    if (!FocusList(list)) return;
    Keys("Home");
    for (int down = 0; down < row; ++down) Keys("Down");
    Keys("space");
}

std::optional<ViewPlacement> SwayDesktop::Placement(WindowId window) {
    const JsonValue tree =
        velmora::wayland::ParseJson(sway_.Request(velmora::wayland::IpcType::GetTree, ""));
    const JsonValue* node = FindContainer(tree, static_cast<double>(window));
    if (!node) return std::nullopt;
    const JsonValue* type = node->Find("type");
    const JsonValue* sticky = node->Find("sticky");
    return ViewPlacement{type && type->text == "floating_con", sticky && sticky->boolean};
}

bool SwayDesktop::Run(const std::string& command) {
    // One result per command: {"success": true} when it was carried out.
    const JsonValue reply =
        velmora::wayland::ParseJson(sway_.Request(velmora::wayland::IpcType::RunCommand, command));
    if (!reply.Is(JsonValue::Kind::Array) || reply.items.empty()) return false;
    for (const JsonValue& result : reply.items) {
        const JsonValue* success = result.Find("success");
        if (!success || !success->boolean) return false;
    }
    return true;
}

}  // namespace e2e
