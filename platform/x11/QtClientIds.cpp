#include "QtClientIds.h"

#include <QGuiApplication>
#include <xcb/xcb.h>

namespace velmora::x11 {

std::vector<ClientIds> QtClientIds() {
    const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (x11 == nullptr || x11->connection() == nullptr) return {};
    const xcb_setup_t* setup = xcb_get_setup(x11->connection());
    return {ClientIds{setup->resource_id_base, setup->resource_id_mask}};
}

}  // namespace velmora::x11
