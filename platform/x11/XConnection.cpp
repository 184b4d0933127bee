#include "XConnection.h"

#include <array>
#include <stdexcept>
#include <string_view>

#include "XReply.h"
#include "XState.h"

namespace velmora::x11 {

namespace {

constexpr std::array<std::string_view, static_cast<std::size_t>(Atom::Count)> kAtomNames{
    "_NET_CLIENT_LIST_STACKING",
    "_NET_CLIENT_LIST",
    "_NET_ACTIVE_WINDOW",
    "_NET_RESTACK_WINDOW",
    "_NET_CLOSE_WINDOW",
    "_NET_WM_NAME",
    "_NET_WM_STATE",
    "_NET_WM_STATE_HIDDEN",
    "_NET_WM_STATE_MAXIMIZED_VERT",
    "_NET_WM_STATE_MAXIMIZED_HORZ",
    "_NET_WM_STATE_ABOVE",
    "_NET_WM_STATE_BELOW",
    "_NET_WM_STATE_SKIP_TASKBAR",
    "_NET_WM_WINDOW_TYPE",
    "_NET_WM_WINDOW_TYPE_NORMAL",
    "_NET_WM_WINDOW_TYPE_DIALOG",
    "_MOTIF_WM_HINTS",
    "WM_STATE",
    "WM_PROTOCOLS",
    "WM_DELETE_WINDOW",
    "WM_TAKE_FOCUS",
    "UTF8_STRING",
};

// Other programs' windows come and go while we talk about them: a request on a window that has
// just been destroyed must not end the program, which Xlib's default handler would do.
int IgnoreError(::Display*, XErrorEvent*) { return 0; }

}  // namespace

xcb_atom_t InternAtom(xcb_connection_t* connection, const std::string& name) {
    Reply<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(
        connection,
        xcb_intern_atom(connection, 0, static_cast<std::uint16_t>(name.size()), name.data()),
        nullptr));
    return reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
}

XConnection::XConnection() : state_(std::make_unique<XState>()) {
    XSetErrorHandler(IgnoreError);
    state_->display = XOpenDisplay(nullptr);
    if (!state_->display) throw std::runtime_error("cannot open the X display");
    state_->connection = XGetXCBConnection(state_->display);
    state_->root = DefaultRootWindow(state_->display);

    // All atoms in one round trip: every request goes out before the first reply is read.
    std::array<xcb_intern_atom_cookie_t, kAtomNames.size()> cookies{};
    for (std::size_t i = 0; i < kAtomNames.size(); ++i) {
        cookies[i] =
            xcb_intern_atom(state_->connection, 0, static_cast<std::uint16_t>(kAtomNames[i].size()),
                            kAtomNames[i].data());
    }
    for (const auto& cookie : cookies) {
        Reply<xcb_intern_atom_reply_t> reply(
            xcb_intern_atom_reply(state_->connection, cookie, nullptr));
        state_->atoms.push_back(reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE});
    }
}

XConnection::~XConnection() { XCloseDisplay(state_->display); }

void XConnection::DiscardArrived() {
    while (XPending(state_->display) > 0) {
        XEvent event;
        XNextEvent(state_->display, &event);
    }
}

}  // namespace velmora::x11
