#include "TrayAnnouncements.h"

#include <string>

#include "XReply.h"
#include "XState.h"

namespace velmora::x11 {

bool TrayAnnouncements::Announces(const xcb_generic_event_t& event) const {
    if ((event.response_type & 0x7F) != XCB_CLIENT_MESSAGE) return false;
    const auto& message = reinterpret_cast<const xcb_client_message_event_t&>(event);
    return message.type == manager && message.format == 32 &&
           message.data.data32[1] == selection;
}

TrayAnnouncements ListenForTrayAnnouncements(_XDisplay* display) {
    xcb_connection_t* connection = XGetXCBConnection(display);
    const xcb_window_t root = DefaultRootWindow(display);
    // Event masks are per connection: keep what the toolkit selected on the root.
    Reply<xcb_get_window_attributes_reply_t> attributes(xcb_get_window_attributes_reply(
        connection, xcb_get_window_attributes(connection, root), nullptr));
    const std::uint32_t mask =
        (attributes ? attributes->your_event_mask : 0) | XCB_EVENT_MASK_STRUCTURE_NOTIFY;
    xcb_change_window_attributes(connection, root, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(connection);
    return {InternAtom(connection, "MANAGER"),
            InternAtom(connection, "_NET_SYSTEM_TRAY_S" + std::to_string(DefaultScreen(display)))};
}

}  // namespace velmora::x11
