// End-to-end checks of the Linux program on headless sway with an accessibility bus: the
// program read through AT-SPI, the windows through sway's IPC, keys typed on a virtual
// keyboard, the targets the project's Wayland test client. With --labwc, --kwin or --gnome, on
// headless labwc, KWin or GNOME Shell: the windows read from the compositor itself, controls
// used through their actions.
// Usage: velmora_e2e_wayland [--labwc | --kwin | --gnome] PROGRAM TEST_CLIENT CLOSE_LOG

#include <csignal>
#include <cstdio>
#include <map>
#include <string>

#include "Scenario.h"
#include "ToplevelDesktop.h"

int main(int argc, char** argv) {
    using Compositor = e2e::ToplevelDesktop::Compositor;
    const std::map<std::string, std::pair<Compositor, const char*>> modes = {
        {"--labwc", {Compositor::Labwc, "labwc e2e"}},
        {"--kwin", {Compositor::KWin, "kwin e2e"}},
        {"--gnome", {Compositor::GnomeShell, "gnome e2e"}},
    };
    const auto mode = argc == 5 ? modes.find(argv[1]) : modes.end();
    if (argc != 4 && mode == modes.end()) {
        std::fprintf(stderr,
                     "usage: %s [--labwc | --kwin | --gnome] PROGRAM TEST_CLIENT CLOSE_LOG\n",
                     argv[0]);
        return 2;
    }
    // A test client that ended takes no more commands: that is a failed check, not the end.
    std::signal(SIGPIPE, SIG_IGN);
    using namespace e2e;
    if (mode != modes.end()) {
        const auto [compositor, label] = mode->second;
        return RunChecks(label, [&](Results& results) {
            ToplevelDesktop desktop(compositor);
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
