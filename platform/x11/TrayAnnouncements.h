#pragma once
// A notification area (system tray) that starts on X11 announces itself: its manager takes the
// selection _NET_SYSTEM_TRAY_Sn and sends a MANAGER client message to the root window. This
// header stays free of Xlib so that Qt code can use it.

#include <xcb/xcb.h>

struct _XDisplay;

namespace velmora::x11 {

struct TrayAnnouncements {
    xcb_atom_t manager = XCB_ATOM_NONE;
    xcb_atom_t selection = XCB_ATOM_NONE;

    // Whether `event` announces a new notification area on the display's screen.
    bool Announces(const xcb_generic_event_t& event) const;
};

// Sets `display`'s connection up to receive the announcements (adding the root window's
// structure events to what that connection already selects there) and names them.
TrayAnnouncements ListenForTrayAnnouncements(_XDisplay* display);

}  // namespace velmora::x11
