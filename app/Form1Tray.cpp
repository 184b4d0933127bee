// The main window minimizes into the notification area and comes back from it.

#include "Form1.h"
#include "Product.h"

namespace velmora {

namespace {

constexpr std::string_view kBalloonText =
    "has been minimized to the system tray.\r\n"
    "Click on the blue 'Q' icon (Q for Quillfern) to bring the software back.";
constexpr std::int32_t kBalloonSeconds = 5;

}  // namespace

// Only an icon that is really in the notification area can bring the window back; without one
// the window minimizes as usual.
void Form1::Form_Resize() {
    if (widgets_.FormWindowState() != vbMinimized || hiddenInTray_ || !cSysTray1_.IconShown()) return;
    widgets_.SetFormVisible(false);
    widgets_.SetFormWindowState(vbNormal);
    hiddenInTray_ = true;
    cSysTray1_.ShowBalloon(kBalloonText, kProductName, kBalloonSeconds, true);
}

void Form1::cSysTray1_MouseUp(std::int16_t, std::int32_t) {
    widgets_.SetFormVisible(true);
    widgets_.FocusForm();
    hiddenInTray_ = false;
}

}  // namespace velmora
