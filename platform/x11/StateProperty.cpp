#include "StateProperty.h"

#include "XState.h"

namespace velmora::x11 {

void WriteTextProperty(XConnection& connection, Hwnd window, const std::string& property,
                       const std::string& utf8) {
    XState& x = connection.state();
    xcb_change_property(x.connection, XCB_PROP_MODE_REPLACE, window, x.intern(property),
                        x.atom(Atom::Utf8String), 8, static_cast<std::uint32_t>(utf8.size()),
                        utf8.data());
    xcb_flush(x.connection);
}

}  // namespace velmora::x11
