#include "WindowFacts.h"

#include <X11/Xutil.h>

#include <algorithm>
#include <utility>

#include "XReply.h"
#include "platform/Utf16.h"
#include "platform/WindowSystem.h"

namespace velmora::x11 {

namespace {

constexpr std::uint32_t kLongestTitleWords = 1024;
constexpr std::uint32_t kMostItems = 1U << 16;
constexpr std::uint32_t kMotifDecorationsFlag = 1U << 1;

// The X server answers every request with a write of its own, so each question asked of every
// window adds to the walk's cost: these five are all a walk needs.
struct Cookies {
    xcb_get_window_attributes_cookie_t attributes;
    xcb_get_property_cookie_t netName, type, state, motif;
};

xcb_get_property_cookie_t Request(XState& x, xcb_window_t window, xcb_atom_t property,
                                  xcb_atom_t type, std::uint32_t words) {
    return xcb_get_property_unchecked(x.connection, 0, window, property, type, 0, words);
}

using PropertyReply = Reply<xcb_get_property_reply_t>;

PropertyReply Collect(XState& x, xcb_get_property_cookie_t cookie) {
    return Await(xcb_get_property_reply, x.connection, cookie);
}

std::span<const std::uint32_t> Items(const PropertyReply& reply) {
    if (!reply || reply->format != 32) return {};
    return {static_cast<const std::uint32_t*>(xcb_get_property_value(reply.get())),
            static_cast<std::size_t>(xcb_get_property_value_length(reply.get()) / 4)};
}

// A text property as valid UTF-8, so that the row, the filter and Close all see the same text:
// bad sequences are replaced, and a character cut by the read's limit is dropped.
std::string Text(const PropertyReply& reply) {
    if (!reply || reply->format != 8) return {};
    const auto* data = static_cast<const char*>(xcb_get_property_value(reply.get()));
    std::string_view text(data,
                          static_cast<std::size_t>(xcb_get_property_value_length(reply.get())));
    // Some clients include the terminating NUL in the property.
    text = text.substr(0, text.find('\0'));
    if (reply->bytes_after > 0) text = WithoutCutCharacter(text);
    return ValidUtf8(text);
}

// WM_NAME in whatever encoding the client chose (Latin-1 STRING, COMPOUND_TEXT, UTF8_STRING),
// converted by Xlib.
std::string LegacyTitle(XState& x, const PropertyReply& reply) {
    if (!reply || reply->format != 8 || reply->value_len == 0) return {};
    XTextProperty property{};
    property.value = static_cast<unsigned char*>(xcb_get_property_value(reply.get()));
    property.encoding = reply->type;
    property.format = 8;
    property.nitems = static_cast<unsigned long>(xcb_get_property_value_length(reply.get()));
    char** list = nullptr;
    int count = 0;
    if (Xutf8TextPropertyToTextList(x.display, &property, &list, &count) < Success || !list) {
        return Text(reply);
    }
    std::string title = count > 0 && list[0] ? list[0] : "";
    XFreeStringList(list);
    return ValidUtf8(title);
}

bool Contains(std::span<const std::uint32_t> items, xcb_atom_t atom) {
    return std::find(items.begin(), items.end(), atom) != items.end();
}

// Listed windows are the ones a user would call ordinary: drawn with a frame by the window
// manager, of the normal or dialog type, and shown on the taskbar.
bool Bordered(XState& x, const PropertyReply& type, std::span<const std::uint32_t> states,
              const PropertyReply& motif) {
    const auto motifHints = Items(motif);
    if (motifHints.size() >= 3 && (motifHints[0] & kMotifDecorationsFlag) && motifHints[2] == 0) {
        return false;
    }
    const auto types = Items(type);
    if (!types.empty() && !Contains(types, x.atom(Atom::NetWmWindowTypeNormal)) &&
        !Contains(types, x.atom(Atom::NetWmWindowTypeDialog))) {
        return false;
    }
    return !Contains(states, x.atom(Atom::NetWmStateSkipTaskbar));
}

// WM_NAME of the windows that have no _NET_WM_NAME (older clients), in one pipelined batch.
void ReadLegacyTitles(XState& x, std::vector<WindowFacts>& facts) {
    std::vector<std::pair<WindowFacts*, xcb_get_property_cookie_t>> untitled;
    for (WindowFacts& f : facts) {
        if (!f.exists || !f.title.empty()) continue;
        untitled.emplace_back(&f, Request(x, f.window, XCB_ATOM_WM_NAME, XCB_GET_PROPERTY_TYPE_ANY,
                                          kLongestTitleWords));
    }
    for (const auto& [f, cookie] : untitled) f->title = LegacyTitle(x, Collect(x, cookie));
}

}  // namespace

std::vector<WindowFacts> ReadWindowFacts(XState& x, std::span<const xcb_window_t> windows,
                                         bool managed) {
    std::vector<Cookies> cookies;
    cookies.reserve(windows.size());
    for (const xcb_window_t window : windows) {
        cookies.push_back({
            xcb_get_window_attributes_unchecked(x.connection, window),
            Request(x, window, x.atom(Atom::NetWmName), x.atom(Atom::Utf8String),
                    kLongestTitleWords),
            Request(x, window, x.atom(Atom::NetWmWindowType), XCB_ATOM_ATOM, 32),
            Request(x, window, x.atom(Atom::NetWmState), XCB_ATOM_ATOM, 32),
            Request(x, window, x.atom(Atom::MotifWmHints), XCB_GET_PROPERTY_TYPE_ANY, 5),
        });
    }
    std::vector<WindowFacts> facts;
    facts.reserve(windows.size());
    for (std::size_t i = 0; i < windows.size(); ++i) {
        const Cookies& c = cookies[i];
        WindowFacts f;
        f.window = windows[i];
        const auto attributes =
            Await(xcb_get_window_attributes_reply, x.connection, c.attributes);
        PropertyReply netName = Collect(x, c.netName), type = Collect(x, c.type),
                      state = Collect(x, c.state), motif = Collect(x, c.motif);
        f.exists = attributes != nullptr;
        if (f.exists) {
            const auto states = Items(state);
            // A minimized (or shaded) window, and one on another workspace, is unmapped but
            // still counts as shown, as such windows do on Windows.
            const bool hidden = Contains(states, x.atom(Atom::NetWmStateHidden));
            const bool visible =
                managed || attributes->map_state == XCB_MAP_STATE_VIEWABLE || hidden;
            // Menus, tooltips and other override-redirect windows are never programs' windows.
            const bool bordered =
                !attributes->override_redirect && Bordered(x, type, states, motif);
            f.style = (visible ? kWsVisible : 0) | (bordered ? kWsBorder : 0);
            f.title = Text(netName);
        }
        facts.push_back(std::move(f));
    }
    ReadLegacyTitles(x, facts);
    return facts;
}

std::vector<std::uint32_t> ReadCardinals(XState& x, xcb_window_t window, xcb_atom_t property,
                                         xcb_atom_t type) {
    PropertyReply reply = Collect(x, Request(x, window, property, type, kMostItems));
    const auto items = Items(reply);
    return {items.begin(), items.end()};
}

TopLevels ClientsTopFirst(XState& x) {
    // A window manager that follows EWMH keeps the stacking list, from the bottom up, even when
    // it is empty; a plainer one may keep only the list in mapping order.
    for (const Atom list : {Atom::NetClientListStacking, Atom::NetClientList}) {
        PropertyReply reply = Collect(
            x, Request(x, x.root, x.atom(list), XCB_ATOM_WINDOW, kMostItems));
        if (!reply || reply->type == XCB_ATOM_NONE) continue;
        const auto items = Items(reply);
        return {{items.rbegin(), items.rend()}, true};
    }
    // Without a window manager the programs' windows are the root's children, which the server
    // keeps in stacking order from the bottom up.
    Reply<xcb_query_tree_reply_t> tree(
        xcb_query_tree_reply(x.connection, xcb_query_tree(x.connection, x.root), nullptr));
    if (!tree) return {};
    const xcb_window_t* children = xcb_query_tree_children(tree.get());
    const auto count = static_cast<std::size_t>(xcb_query_tree_children_length(tree.get()));
    return {{std::make_reverse_iterator(children + count), std::make_reverse_iterator(children)},
            false};
}

}  // namespace velmora::x11
