#pragma once
// Hand-written sway layout trees, as get_tree gives them (only the fields the backend reads,
// and a few it must pass over).

#include <string>
#include <vector>

namespace velmora::test::sway {

inline std::string Ids(const std::vector<int>& ids) {
    std::string list;
    for (const int id : ids) list += (list.empty() ? "" : ",") + std::to_string(id);
    return "[" + list + "]";
}

inline std::string Nodes(const std::vector<std::string>& nodes) {
    std::string list;
    for (const std::string& node : nodes) list += (list.empty() ? "" : ",") + node;
    return "[" + list + "]";
}

// What a view shows besides its id and title.
struct ViewFacts {
    int pid = 500;
    bool focused = false;
    int fullscreenMode = 0;
    std::string appId = "\"app\"";  // JSON text: null for an X11 program's view
    const char* type = "con";
};

// A view; `title` is JSON text, so a test can give escapes.
inline std::string View(int id, const std::string& title, const ViewFacts& facts = {}) {
    return R"({"id":)" + std::to_string(id) + R"(,"type":")" + facts.type + R"(","name":")" +
           title + R"(","pid":)" + std::to_string(facts.pid) + R"(,"app_id":)" + facts.appId +
           R"(,"focused":)" + (facts.focused ? "true" : "false") + R"(,"fullscreen_mode":)" +
           std::to_string(facts.fullscreenMode) +
           R"(,"rect":{"x":0,"y":0,"width":640,"height":480},"marks":[],"percent":0.5,)" +
           R"("nodes":[],"floating_nodes":[],"focus":[]})";
}

// A container that is no view: the root, an output, a workspace or a split.
inline std::string Container(int id, const char* type, const char* name,
                             const std::vector<std::string>& nodes, const std::vector<int>& focus,
                             const std::vector<std::string>& floating = {}) {
    const std::string jsonName = name != nullptr ? "\"" + std::string(name) + "\"" : "null";
    return R"({"id":)" + std::to_string(id) + R"(,"type":")" + type + R"(","name":)" + jsonName +
           R"(,"layout":"splith","nodes":)" + Nodes(nodes) + R"(,"floating_nodes":)" +
           Nodes(floating) + R"(,"focus":)" + Ids(focus) + "}";
}

// The root with sway's hidden output for the scratchpad, holding `scratchpad` as floating
// views, and the outputs `outputs` in focus order `focus`.
inline std::string Root(const std::vector<std::string>& outputs, const std::vector<int>& focus,
                        const std::vector<std::string>& scratchpad = {}) {
    std::vector<std::string> all{Container(
        2, "output", "__i3", {Container(3, "workspace", "__i3_scratch", {}, {}, scratchpad)}, {3})};
    all.insert(all.end(), outputs.begin(), outputs.end());
    return Container(1, "root", "root", all, focus);
}

}  // namespace velmora::test::sway
