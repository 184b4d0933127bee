// End-to-end checks of the Linux program on headless sway with an accessibility bus: the
// program read through AT-SPI, the windows through sway's IPC, keys typed on a virtual
// keyboard, the targets the project's Wayland test client. With --labwc or --kwin, on headless
// labwc or KWin: the windows read from its foreign-toplevel or window-management events,
// controls used through their actions.
// Usage: velmora_e2e_wayland [--labwc | --kwin] PROGRAM TEST_CLIENT CLOSE_LOG

#include <csignal>
#include <cstdio>
#include <string>

#include "Scenario.h"
#include "ToplevelDesktop.h"

int main(int argc, char** argv) {
    const std::string mode = argc == 5 ? argv[1] : "";
    if (argc != 4 && mode != "--labwc" && mode != "--kwin") {
        std::fprintf(stderr, "usage: %s [--labwc | --kwin] PROGRAM TEST_CLIENT CLOSE_LOG\n",
                     argv[0]);
        return 2;
    }
    // A test client that ended takes no more commands: that is a failed check, not the end.
    std::signal(SIGPIPE, SIG_IGN);
    using namespace e2e;
    if (!mode.empty()) {
        const bool kwin = mode == "--kwin";
        return RunChecks(kwin ? "kwin e2e" : "labwc e2e", [&](Results& results) {
            ToplevelDesktop desktop(kwin);
            ConnectToAccessibilityBus();
            Velmora app(desktop, argv[2]);
            CompositorScenario(desktop, app, results, argv[3], argv[4]);
        });
    }
    return RunChecks("wayland e2e", [&](Results& results) {
        SwayDesktop sway;
        ConnectToAccessibilityBus();
        // Up before the program starts: Qt looks for the tray's watcher once, at its start.
        SessionServices session;
        Velmora app(sway, argv[1]);
        Context context{sway, app, results, session, argv[2], argv[3], {}};
        const NamedScenario<Context> scenarios[] = {
            {"listing", ListingScenario},
            {"commands", CommandsScenario},
            {"minimize", MinimizeScenario},
            {"close", CloseScenario},
            {"hotkeys", HotkeyScenario},
            {"timed refresh", TimedRefreshScenario},
            {"keep on top", KeepOnTopScenario},
            {"tray", TrayScenario},
            {"foreign-toplevel management", ToplevelsScenario},
        };
        RunScenarios<Context>(context, scenarios);
    });
}
