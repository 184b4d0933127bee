// The list on a display without a window manager: the program walks the root's children, top
// first, and lists only mapped, titled windows that are not menus or tooltips.

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <optional>
#include <vector>

#include "Scenario.h"
#include "app/Enum.h"
#include "app/Globals.h"
#include "platform/x11/X11WindowSystem.h"
#include "platform/x11/XConnection.h"

namespace e2e {

namespace {

struct DisplayCloser {
    void operator()(Display* display) const { XCloseDisplay(display); }
};

Window Titled(Display* display, const std::string& title, bool overrideRedirect, bool mapped) {
    XSetWindowAttributes attributes{};
    attributes.override_redirect = overrideRedirect ? True : False;
    const Window window = XCreateWindow(display, DefaultRootWindow(display), 10, 10, 200, 60, 0,
                                        CopyFromParent, InputOutput, CopyFromParent,
                                        CWOverrideRedirect, &attributes);
    XStoreName(display, window, title.c_str());
    if (mapped) XMapWindow(display, window);
    return window;
}

// The program's connection opens $DISPLAY, so it is pointed at the bare display meanwhile.
std::vector<std::string> ListedTitles(const char* displayName) {
    const std::string desktop = std::getenv("DISPLAY") ? std::getenv("DISPLAY") : "";
    setenv("DISPLAY", displayName, 1);
    std::optional<velmora::x11::XConnection> connection;
    try {
        connection.emplace();
    } catch (...) {
        setenv("DISPLAY", desktop.c_str(), 1);
        throw;
    }
    setenv("DISPLAY", desktop.c_str(), 1);
    velmora::x11::X11WindowSystem windows(*connection);
    velmora::Globals globals;
    velmora::Enum enumerator(windows, globals);
    const int count = enumerator.GetOpenWindows(0);
    std::vector<std::string> titles;
    for (int i = 0; i < count; ++i) titles.push_back(enumerator.OpenWindows()[i].Title);
    return titles;
}

std::string Joined(const std::vector<std::string>& titles) {
    std::string text;
    for (const std::string& title : titles) text += "[" + title + "] ";
    return text;
}

}  // namespace

void BareDisplayScenario(Context& c) {
    const char* name = std::getenv("VELMORA_E2E_BARE_DISPLAY");
    const std::unique_ptr<Display, DisplayCloser> bare(name ? XOpenDisplay(name) : nullptr);
    c.results.Check(bare != nullptr, "a display without a window manager is open",
                    "VELMORA_E2E_BARE_DISPLAY=" + std::string(name ? name : ""));
    if (!bare) return;

    const Window lower = Titled(bare.get(), "E2E Bare Lower", false, true);
    Titled(bare.get(), "E2E Bare Upper", false, true);
    Titled(bare.get(), "E2E Bare Menu", true, true);
    Titled(bare.get(), "E2E Bare Unmapped", false, false);
    XSync(bare.get(), False);

    std::vector<std::string> titles = ListedTitles(name);
    const std::vector<std::string> expected{"E2E Bare Upper", "E2E Bare Lower"};
    c.results.Check(titles == expected,
                    "without a window manager the mapped windows are listed, newest on top; "
                    "no menu and no unmapped window",
                    Joined(titles));

    XRaiseWindow(bare.get(), lower);
    XSync(bare.get(), False);
    titles = ListedTitles(name);
    c.results.Check(titles == std::vector<std::string>{"E2E Bare Lower", "E2E Bare Upper"},
                    "a raised window comes first in the list", Joined(titles));
}

}  // namespace e2e
