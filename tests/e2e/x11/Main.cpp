// End-to-end checks of the Linux program on a real X desktop (Xvfb + openbox + trayer) with an
// accessibility bus.
// Usage: velmora_e2e_x11 PROGRAM SETTINGS_FILE
//        velmora_e2e_x11 --installed COMMAND   (only: an installed program lists a window)

#include <cstdio>
#include <exception>
#include <string>

#include "Scenario.h"
#include "XDesktop.h"

namespace {

int CheckInstalled(const char* command) {
    using namespace e2e;
    Results results;
    try {
        XDriver x;
        XDesktop desktop(x);
        ConnectToAccessibilityBus();
        Velmora app(desktop, command);
        Context context{x, app, results, {}, {}};
        InstalledScenario(context);
    } catch (const std::exception& error) {
        results.Check(false, "the driver runs to the end", error.what());
    }
    std::printf("x11 installed: %d passed, %d failed\n", results.passed(), results.failed());
    return results.failed() == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::string(argv[1]) == "--installed") return CheckInstalled(argv[2]);
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s PROGRAM SETTINGS_FILE\n", argv[0]);
        return 2;
    }
    using namespace e2e;
    Results results;
    try {
        XDriver x;
        XDesktop desktop(x);
        ConnectToAccessibilityBus();
        Velmora app(desktop, argv[1]);
        Context context{x, app, results, argv[2], {}};
        using Scenario = void (*)(Context&);
        const std::pair<const char*, Scenario> scenarios[] = {
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
        for (const auto& [name, scenario] : scenarios) {
            std::printf("%s\n", name);
            // The listing starts the program; every later scenario needs it running.
            if (scenario != ListingScenario && !app.form()) {
                results.Check(false, std::string(name) + ": the program is running");
                continue;
            }
            scenario(context);
        }
    } catch (const std::exception& error) {
        results.Check(false, "the driver runs to the end", error.what());
    }
    std::printf("x11 e2e: %d passed, %d failed\n", results.passed(), results.failed());
    return results.failed() == 0 ? 0 : 1;
}
