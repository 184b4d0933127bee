#include "SwayTree.h"

#include <cmath>
#include <limits>
#include <unordered_map>
#include <unordered_set>

#include "IpcError.h"
#include "Json.h"

namespace velmora::wayland {

namespace {

[[noreturn]] void Fail(const char* what) {
    throw IpcError(std::string("sway IPC: unexpected tree: ") + what);
}

// A whole number within [low, high], or a failure naming the field.
double WholeNumber(const JsonValue& value, double low, double high, const char* field) {
    if (!value.Is(JsonValue::Kind::Number) || value.number != std::floor(value.number) ||
        value.number < low || value.number > high) {
        Fail(field);
    }
    return value.number;
}

Hwnd ContainerId(const JsonValue& node) {
    const JsonValue* id = node.Find("id");
    if (id == nullptr) Fail("container without id");
    return static_cast<Hwnd>(WholeNumber(*id, 0, std::numeric_limits<Hwnd>::max(), "id"));
}

std::string_view TextField(const JsonValue& node, std::string_view key) {
    const JsonValue* value = node.Find(key);
    return value != nullptr && value->Is(JsonValue::Kind::String) ? std::string_view(value->text)
                                                                  : std::string_view();
}

bool IsView(const JsonValue& node) {
    const std::string_view type = TextField(node, "type");
    const JsonValue* name = node.Find("name");
    const JsonValue* pid = node.Find("pid");
    return (type == "con" || type == "floating_con") && name != nullptr &&
           name->Is(JsonValue::Kind::String) && pid != nullptr && pid->Is(JsonValue::Kind::Number);
}

SwayView ReadView(const JsonValue& node, bool inScratchpad) {
    SwayView view;
    view.id = ContainerId(node);
    if (view.id == 0) Fail("view id 0, which names no window");
    view.title = TextField(node, "name");
    view.appId = TextField(node, "app_id");
    view.pid = static_cast<std::int64_t>(
        WholeNumber(*node.Find("pid"), std::numeric_limits<std::int32_t>::min(),
                    std::numeric_limits<std::int32_t>::max(), "pid"));
    // The program never acts on the mode: a value this reader does not know is read as none
    // rather than failing the whole tree.
    if (const JsonValue* mode = node.Find("fullscreen_mode");
        mode != nullptr && mode->Is(JsonValue::Kind::Number) &&
        (mode->number == 1 || mode->number == 2)) {
        view.fullscreenMode = static_cast<int>(mode->number);
    }
    if (const JsonValue* focused = node.Find("focused")) {
        view.focused = focused->Is(JsonValue::Kind::Bool) && focused->boolean;
    }
    view.inScratchpad = inScratchpad;
    return view;
}

// Calls `visit` for each child container: tiling children, then floating ones.
template <typename Visit>
void ForEachChild(const JsonValue& node, Visit&& visit) {
    for (const char* list : {"nodes", "floating_nodes"}) {
        const JsonValue* children = node.Find(list);
        if (children == nullptr) continue;
        if (!children->Is(JsonValue::Kind::Array)) Fail("children are no list");
        for (const JsonValue& child : children->items) {
            if (!child.Is(JsonValue::Kind::Object)) Fail("child is no object");
            visit(child);
        }
    }
}

class TreeReader {
public:
    std::vector<SwayView> Read(const JsonValue& root) {
        if (!root.Is(JsonValue::Kind::Object)) Fail("root is no object");
        Collect(root, false);
        VisitByFocus(root);
        for (std::size_t i = 0; i < treeOrder_.size(); ++i) {
            if (!placed_[i]) ordered_.push_back(std::move(treeOrder_[i]));
        }
        return std::move(ordered_);
    }

private:
    // Every view in tree order, each marked by whether it lies in the scratchpad.
    void Collect(const JsonValue& node, bool inScratchpad) {
        if (TextField(node, "type") == "workspace" &&
            TextField(node, "name") == kScratchpadWorkspace) {
            inScratchpad = true;
        }
        if (IsView(node)) {
            const Hwnd id = ContainerId(node);
            if (!indexById_.emplace(id, treeOrder_.size()).second) Fail("two views, one id");
            treeOrder_.push_back(ReadView(node, inScratchpad));
            placed_.push_back(false);
        }
        ForEachChild(node, [&](const JsonValue& child) { Collect(child, inScratchpad); });
    }

    // The views below `node`, the most recently focused child's first, down every branch.
    void VisitByFocus(const JsonValue& node) {
        if (IsView(node)) {
            const std::size_t index = indexById_.at(ContainerId(node));
            if (!placed_[index]) {
                placed_[index] = true;
                ordered_.push_back(treeOrder_[index]);
            }
        }
        const JsonValue* focus = node.Find("focus");
        if (focus == nullptr) return;
        if (!focus->Is(JsonValue::Kind::Array)) Fail("focus is no list");
        std::unordered_map<Hwnd, const JsonValue*> children;
        ForEachChild(node,
                     [&](const JsonValue& child) { children.emplace(ContainerId(child), &child); });
        std::unordered_set<Hwnd> visited;
        for (const JsonValue& id : focus->items) {
            const Hwnd child = static_cast<Hwnd>(
                WholeNumber(id, 0, std::numeric_limits<Hwnd>::max(), "focus entry"));
            const auto at = children.find(child);
            // A focus list names children only; anything else, or a repeat, is passed over.
            if (at == children.end() || !visited.insert(child).second) continue;
            VisitByFocus(*at->second);
        }
    }

    std::vector<SwayView> treeOrder_;
    std::vector<bool> placed_;
    std::unordered_map<Hwnd, std::size_t> indexById_;
    std::vector<SwayView> ordered_;
};

}  // namespace

std::vector<SwayView> ReadViews(const JsonValue& root) { return TreeReader().Read(root); }

std::vector<SwayView> ReadViews(std::string_view getTreeReply) {
    return ReadViews(ParseJson(getTreeReply));
}

}  // namespace velmora::wayland
