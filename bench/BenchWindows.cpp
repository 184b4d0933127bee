// A helper for scripts/bench: creates COUNT mapped, titled top-level windows on the X display,
// waits until the window manager (when one runs) manages all of them, prints "ready" and stays
// alive, keeping them, until its standard input ends; then it destroys them and waits until
// the window manager has let go of all of them, so that the next tool never meets one dying.
// Usage: velmora_bench_windows COUNT [TITLE_PREFIX]

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace {

struct DisplayCloser {
    void operator()(Display* display) const { XCloseDisplay(display); }
};
using DisplayPtr = std::unique_ptr<Display, DisplayCloser>;

constexpr auto kManageTimeout = std::chrono::seconds(120);

// A property of 32-bit items on the root window; empty when unset.
std::vector<Window> RootWindows(Display* display, const char* property) {
    Atom type = 0;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    std::vector<Window> windows;
    if (XGetWindowProperty(display, DefaultRootWindow(display),
                           XInternAtom(display, property, False), 0, 1L << 20, False, XA_WINDOW,
                           &type, &format, &count, &after, &data) == Success &&
        data) {
        if (format == 32) {
            const auto* items = reinterpret_cast<const unsigned long*>(data);
            windows.assign(items, items + count);
        }
        XFree(data);
    }
    return windows;
}

bool WindowManagerRuns(Display* display) {
    return !RootWindows(display, "_NET_SUPPORTING_WM_CHECK").empty();
}

// The user-chosen position spares the window manager its placement search, which grows with
// the number of windows already on the screen.
Window CreateTitled(Display* display, const std::string& title, int index) {
    const int x = index % 32 * 32, y = index / 32 % 24 * 32;
    const Window window = XCreateSimpleWindow(display, DefaultRootWindow(display), x, y, 160, 40, 0,
                                              0, WhitePixel(display, DefaultScreen(display)));
    XSizeHints hints{};
    hints.flags = USPosition;
    hints.x = x;
    hints.y = y;
    XSetWMNormalHints(display, window, &hints);
    XStoreName(display, window, title.c_str());
    XChangeProperty(display, window, XInternAtom(display, "_NET_WM_NAME", False),
                    XInternAtom(display, "UTF8_STRING", False), 8, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(title.data()),
                    static_cast<int>(title.size()));
    XMapWindow(display, window);
    return window;
}

// Waits until all (`managed`) or none (!`managed`) of the windows are in the manager's client
// list; true at once without a manager.
bool WaitForClientList(Display* display, std::vector<Window> windows, bool managed) {
    if (!WindowManagerRuns(display)) return true;
    std::sort(windows.begin(), windows.end());
    const auto deadline = std::chrono::steady_clock::now() + kManageTimeout;
    while (std::chrono::steady_clock::now() < deadline) {
        std::vector<Window> clients = RootWindows(display, "_NET_CLIENT_LIST");
        std::sort(clients.begin(), clients.end());
        std::vector<Window> common;
        std::set_intersection(clients.begin(), clients.end(), windows.begin(), windows.end(),
                              std::back_inserter(common));
        if (common.size() == (managed ? windows.size() : 0)) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2 || std::atoi(argv[1]) <= 0) {
        std::fprintf(stderr, "usage: %s COUNT [TITLE_PREFIX]\n", argv[0]);
        return 2;
    }
    const int count = std::atoi(argv[1]);
    const std::string prefix = argc > 2 ? argv[2] : "Bench window";
    DisplayPtr display(XOpenDisplay(nullptr));
    if (!display) {
        std::fprintf(stderr, "cannot open the display\n");
        return 1;
    }
    std::vector<Window> windows;
    for (int i = 0; i < count; ++i) {
        windows.push_back(CreateTitled(display.get(), prefix + " " + std::to_string(i), i));
    }
    XSync(display.get(), False);
    if (!WaitForClientList(display.get(), windows, true)) {
        std::fprintf(stderr, "the window manager did not take all %d windows\n", count);
        return 1;
    }
    std::printf("ready\n");
    std::fflush(stdout);
    char byte;
    while (read(STDIN_FILENO, &byte, 1) > 0) {
    }
    for (const Window window : windows) XDestroyWindow(display.get(), window);
    XSync(display.get(), False);
    return WaitForClientList(display.get(), windows, false) ? 0 : 1;
}
