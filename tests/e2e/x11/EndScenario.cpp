// The program's end, by its window's close and by SIGTERM or SIGHUP (as a session's end sends
// them): each runs the shutdown, so the program exits normally and its tray icon goes.

#include <signal.h>

#include <string>
#include <utility>

#include "Scenario.h"

namespace e2e {

namespace {

// Starts the program and waits for its tray icon; the icon, or 0 when it did not come.
Window StartWithIcon(Context& c) {
    c.app.Stop();
    if (!c.app.Start()) return 0;
    Window icon = 0;
    c.x.WaitFor([&] { return (icon = c.TrayIcon()) != 0; });
    return icon;
}

}  // namespace

void EndScenario(Context& c) {
    Window icon = StartWithIcon(c);
    c.results.Check(icon != 0, "the program starts with its tray icon");
    c.x.RequestClose(c.app.form());
    c.results.Check(c.app.WaitForExit(std::chrono::seconds(5)) == 0,
                    "closing the window ends the program normally");
    c.results.Check(!c.x.Exists(icon), "closing the window takes the tray icon away");

    for (const auto& [signal, name] :
         {std::pair{SIGTERM, "SIGTERM"}, std::pair{SIGHUP, "SIGHUP"}}) {
        icon = StartWithIcon(c);
        c.results.Check(icon != 0, std::string("the tray icon is there before ") + name);
        kill(c.app.pid(), signal);
        c.results.Check(c.app.WaitForExit(std::chrono::seconds(5)) == 0,
                        std::string(name) + " ends the program normally (exit status 0)");
        c.results.Check(!c.x.Exists(icon), std::string(name) + " takes the tray icon away");
    }
    // Started with SIGHUP ignored, as nohup starts it, it leaves SIGHUP ignored.
    const auto driverHup = signal(SIGHUP, SIG_IGN);
    c.results.Check(c.app.Start(), "the program starts again, with SIGHUP ignored");
    signal(SIGHUP, driverHup);
    kill(c.app.pid(), SIGHUP);
    c.results.Check(!c.app.WaitForExit(std::chrono::seconds(1)), "and SIGHUP leaves it running");
}

}  // namespace e2e
