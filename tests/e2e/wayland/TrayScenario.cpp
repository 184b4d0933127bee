// The tray on sway: the program's StatusNotifierItem registered with the driver's watcher, and
// its activation (what a panel does when its icon is clicked) bringing the window to the front.

#include "Scenario.h"

namespace e2e {

void TrayScenario(Context& c) {
    std::string item;
    c.results.Check(c.sway.WaitFor([&] {
        for (const std::string& each : c.session.Items()) {
            if (c.session.OwnerPid(each) == c.app.pid()) item = each;
        }
        return !item.empty();
    }),
                    "the program's tray item is registered with the watcher");
    if (item.empty()) return;

    const Desktop::WindowId alpha = c.ViewOf("E2E Alpha");
    c.sway.Activate(alpha);
    c.sway.WaitFor([&] { return c.sway.ActiveWindow() == alpha; });
    c.results.Check(c.session.Activate(item), "the item answers Activate");
    c.results.Check(c.sway.WaitFor([&] { return c.sway.ActiveWindow() == c.app.form(); }),
                    "activating the item brings the program's window to the front");
    c.results.Check(c.session.Notifications().empty(),
                    "the program sends no notification while its window stays up");
}

}  // namespace e2e
