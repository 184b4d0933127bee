// End-to-end checks of the Linux program on a real X desktop (Xvfb + openbox + trayer) with an
// accessibility bus.
// Usage: velmora_e2e_x11 PROGRAM SETTINGS_FILE
//        velmora_e2e_x11 --installed COMMAND   (only: an installed program lists a window)

#include <cstdio>
#include <string>

#include "Scenario.h"
#include "XDesktop.h"

namespace {

int CheckInstalled(const char* command) {
    using namespace e2e;
    return RunChecks("x11 installed", [&](Results& results) {
        XDriver x;
        XDesktop desktop(x);
        ConnectToAccessibilityBus();
        Velmora app(desktop, command);
        Context context{x, app, results, {}, {}};
        InstalledScenario(context);
    });
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::string(argv[1]) == "--installed") return CheckInstalled(argv[2]);
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s PROGRAM SETTINGS_FILE\n", argv[0]);
        return 2;
    }
    using namespace e2e;
    return RunChecks("x11 e2e", [&](Results& results) {
        XDriver x;
        XDesktop desktop(x);
        ConnectToAccessibilityBus();
        Velmora app(desktop, argv[1]);
        Context context{x, app, results, argv[2], {}};
        const NamedScenario<Context> scenarios[] = {
            {"listing", ListingScenario},
            {"form", FormScenario},
            {"accessibility", AccessibilityScenario},
            {"commands", CommandsScenario},
            {"close", CloseScenario},
            {"hotkeys", HotkeyScenario},
            {"timed refresh", TimedRefreshScenario},
            {"interval focus", IntervalFocusScenario},
            {"priority", PriorityScenario},
            {"settings", SettingsScenario},
            {"tray", TrayScenario},
            {"ending", EndScenario},
            {"many windows", ManyWindowsScenario},
            {"backend calls", BackendScenario},
            {"no window manager", BareDisplayScenario},
            {"windows churning during refresh", ChurnScenario},
            {"unreadable settings", UnreadableSettingsScenario},
            {"a Wayland session without a way in", WaylandWithoutWayInScenario},
            // Closes every window still listed, so it comes last.
            {"real clients", RealClientsScenario},
        };
        RunScenarios<Context>(context, scenarios);
    });
}
