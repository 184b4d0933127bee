#include "EwmhRequests.h"

#include <algorithm>
#include <array>

#include "WindowFacts.h"

namespace velmora::x11 {

namespace {

constexpr std::uint32_t kSourcePager = 2;
constexpr std::uint32_t kWithdrawnState = 0;
constexpr std::uint32_t kInputHintFlag = 1;

using MessageData = std::array<std::uint32_t, 5>;

// A client message about `window`, sent to `destination` for the listeners of `eventMask`.
void SendClientMessage(XState& x, xcb_window_t destination, std::uint32_t eventMask,
                       xcb_window_t window, xcb_atom_t type, const MessageData& data) {
    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = window;
    message.type = type;
    std::copy(data.begin(), data.end(), message.data.data32);
    xcb_send_event(x.connection, 0, destination, eventMask,
                   reinterpret_cast<const char*>(&message));
}

// A request to the window manager, which listens on the root window.
void SendToRoot(XState& x, xcb_window_t window, xcb_atom_t type, const MessageData& data) {
    SendClientMessage(x, x.root,
                      XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                      window, type, data);
}

void EditStateProperty(XState& x, xcb_window_t window, std::uint32_t action, xcb_atom_t first,
                       xcb_atom_t second) {
    std::vector<std::uint32_t> atoms =
        ReadCardinals(x, window, x.atom(Atom::NetWmState), XCB_ATOM_ATOM);
    for (const xcb_atom_t atom : {first, second}) {
        if (atom == XCB_ATOM_NONE) continue;
        std::erase(atoms, atom);
        if (action == kStateAdd) atoms.push_back(atom);
    }
    xcb_change_property(x.connection, XCB_PROP_MODE_REPLACE, window, x.atom(Atom::NetWmState),
                        XCB_ATOM_ATOM, 32, static_cast<std::uint32_t>(atoms.size()), atoms.data());
}

bool OffersProtocol(XState& x, xcb_window_t window, xcb_atom_t protocol) {
    const auto protocols = ReadCardinals(x, window, x.atom(Atom::WmProtocols), XCB_ATOM_ATOM);
    return std::find(protocols.begin(), protocols.end(), protocol) != protocols.end();
}

}  // namespace

bool IsManaged(XState& x, xcb_window_t window) {
    const auto state = ReadCardinals(x, window, x.atom(Atom::WmState), x.atom(Atom::WmState));
    return !state.empty() && state.front() != kWithdrawnState;
}

bool TakesFocus(XState& x, xcb_window_t window) {
    // A client that says nothing about input is given the focus, as window managers do.
    const auto hints = ReadCardinals(x, window, XCB_ATOM_WM_HINTS, XCB_ATOM_WM_HINTS);
    const bool input = hints.size() < 2 || !(hints[0] & kInputHintFlag) || hints[1] != 0;
    return input || OffersProtocol(x, window, x.atom(Atom::WmTakeFocus));
}

void RequestWmClose(XState& x, xcb_window_t window) {
    SendToRoot(x, window, x.atom(Atom::NetCloseWindow), {XCB_CURRENT_TIME, kSourcePager, 0, 0, 0});
    xcb_flush(x.connection);
}

bool SendDeleteWindow(XState& x, xcb_window_t window) {
    const xcb_atom_t deleteWindow = x.atom(Atom::WmDeleteWindow);
    if (!OffersProtocol(x, window, deleteWindow)) return false;
    // Sent to the client's own window with no event mask: it reaches the client that made it.
    SendClientMessage(x, window, XCB_EVENT_MASK_NO_EVENT, window, x.atom(Atom::WmProtocols),
                      {deleteWindow, XCB_CURRENT_TIME, 0, 0, 0});
    xcb_flush(x.connection);
    return true;
}

void ChangeWmState(XState& x, xcb_window_t window, std::uint32_t action, xcb_atom_t first,
                   xcb_atom_t second) {
    if (IsManaged(x, window)) {
        SendToRoot(x, window, x.atom(Atom::NetWmState), {action, first, second, kSourcePager, 0});
    } else {
        EditStateProperty(x, window, action, first, second);
    }
    xcb_flush(x.connection);
}

void RequestActivation(XState& x, xcb_window_t window) {
    SendToRoot(x, window, x.atom(Atom::NetActiveWindow), {kSourcePager, XCB_CURRENT_TIME, 0, 0, 0});
    xcb_flush(x.connection);
}

void Iconify(XState& x, xcb_window_t window) {
    XIconifyWindow(x.display, window, DefaultScreen(x.display));
    XFlush(x.display);
}

void Withdraw(XState& x, xcb_window_t window) {
    XWithdrawWindow(x.display, window, DefaultScreen(x.display));
    XFlush(x.display);
}

void Map(XState& x, xcb_window_t window) {
    XMapWindow(x.display, window);
    XFlush(x.display);
}

void Lower(XState& x, xcb_window_t window) {
    if (IsManaged(x, window)) {
        // The window manager stacks frames, not clients: ask it, as a pager would.
        SendToRoot(x, window, x.atom(Atom::NetRestackWindow),
                   {kSourcePager, XCB_WINDOW_NONE, XCB_STACK_MODE_BELOW, 0, 0});
    } else {
        const std::uint32_t below = XCB_STACK_MODE_BELOW;
        xcb_configure_window(x.connection, window, XCB_CONFIG_WINDOW_STACK_MODE, &below);
    }
    xcb_flush(x.connection);
}

void Raise(XState& x, xcb_window_t window) {
    const std::uint32_t above = XCB_STACK_MODE_ABOVE;
    xcb_configure_window(x.connection, window, XCB_CONFIG_WINDOW_STACK_MODE, &above);
    xcb_flush(x.connection);
}

}  // namespace velmora::x11
