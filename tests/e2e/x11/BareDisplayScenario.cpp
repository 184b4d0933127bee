// A display without a window manager: the program walks the root's children, top first, and
// lists only mapped, titled windows that are not menus or tooltips; Close asks the client itself.

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <vector>

#include "Process.h"
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

// The program's backend on the bare display. Its connection opens $DISPLAY, so that is pointed
// at the bare display meanwhile.
class BareBackend {
public:
    explicit BareBackend(const char* displayName) : connection_(Connect(displayName)) {}

    velmora::x11::X11WindowSystem& windows() { return windows_; }

    // The windows the program lists there, top first.
    std::vector<velmora::WindowEntry> Listed() {
        velmora::Globals globals;
        velmora::Enum enumerator(windows_, globals);
        const int count = enumerator.GetOpenWindows(0);
        return {enumerator.OpenWindows().begin(), enumerator.OpenWindows().begin() + count};
    }

    std::vector<std::string> ListedTitles() {
        std::vector<std::string> titles;
        for (const velmora::WindowEntry& entry : Listed()) titles.push_back(entry.Title);
        return titles;
    }

    velmora::Hwnd Find(const std::string& title) {
        for (const velmora::WindowEntry& entry : Listed()) {
            if (entry.Title == title) return entry.Handle;
        }
        return 0;
    }

private:
    static std::unique_ptr<velmora::x11::XConnection> Connect(const char* displayName) {
        const std::string desktop = std::getenv("DISPLAY") ? std::getenv("DISPLAY") : "";
        setenv("DISPLAY", displayName, 1);
        std::unique_ptr<velmora::x11::XConnection> connection;
        try {
            connection = std::make_unique<velmora::x11::XConnection>();
        } catch (...) {
            setenv("DISPLAY", desktop.c_str(), 1);
            throw;
        }
        setenv("DISPLAY", desktop.c_str(), 1);
        return connection;
    }

    std::unique_ptr<velmora::x11::XConnection> connection_;
    velmora::x11::X11WindowSystem windows_{*connection_};
};

std::string Joined(const std::vector<std::string>& titles) {
    std::string text;
    for (const std::string& title : titles) text += "[" + title + "] ";
    return text;
}

// The backend's part of Close: the window is brought forward, then asked to close.
bool CloseThroughBackend(BareBackend& backend, const std::string& title) {
    const velmora::Hwnd window = backend.Find(title);
    if (window == 0 || !backend.windows().ClosesByRequest()) return false;
    try {
        backend.windows().ActivateWindow(title, window);
        backend.windows().RequestClose(window);
    } catch (const velmora::RuntimeError&) {
        return false;
    }
    return true;
}

bool OffersDeleteWindow(Display* display, velmora::Hwnd window) {
    if (window == 0) return false;
    Atom* protocols = nullptr;
    int count = 0;
    if (!XGetWMProtocols(display, window, &protocols, &count)) return false;
    const Atom deleteWindow = XInternAtom(display, "WM_DELETE_WINDOW", False);
    const bool offered = std::find(protocols, protocols + count, deleteWindow) != protocols + count;
    XFree(protocols);
    return offered;
}

// With nobody to ask, Close asks the client itself: a real xterm, which offers
// WM_DELETE_WINDOW, ends; a window that offers nothing is left open and reported.
void CloseWithoutWindowManager(Context& c, Display* bare, const char* name, BareBackend& backend) {
    const std::string title = "E2E Bare xterm";
    const pid_t xterm =
        Spawn({"xterm", "-T", title}, {"DISPLAY=" + std::string(name)}, Output::Discarded);
    // xterm maps its window before it names its protocols: wait for both.
    c.results.Check(c.x.WaitFor([&] { return OffersDeleteWindow(bare, backend.Find(title)); },
                                std::chrono::seconds(10)),
                    "a real xterm on the display without a window manager is listed");
    c.results.Check(
        CloseThroughBackend(backend, title) && c.x.WaitFor([&] { return Ended(xterm); }),
        "Close asks it with WM_DELETE_WINDOW and it ends");
    Terminate(xterm);

    const velmora::Hwnd upper = backend.Find("E2E Bare Upper");
    c.results.Check(upper != 0 && !CloseThroughBackend(backend, "E2E Bare Upper"),
                    "a window that offers no WM_DELETE_WINDOW cannot be asked: Close reports it");
    c.x.Pump(std::chrono::milliseconds(300));
    c.results.Check(backend.Find("E2E Bare Upper") == upper, "and it is left open, never killed");
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

    BareBackend backend(name);
    std::vector<std::string> titles = backend.ListedTitles();
    const std::vector<std::string> expected{"E2E Bare Upper", "E2E Bare Lower"};
    c.results.Check(titles == expected,
                    "without a window manager the mapped windows are listed, newest on top; "
                    "no menu and no unmapped window",
                    Joined(titles));

    XRaiseWindow(bare.get(), lower);
    XSync(bare.get(), False);
    titles = backend.ListedTitles();
    c.results.Check(titles == std::vector<std::string>{"E2E Bare Lower", "E2E Bare Upper"},
                    "a raised window comes first in the list", Joined(titles));

    CloseWithoutWindowManager(c, bare.get(), name, backend);
}

}  // namespace e2e
