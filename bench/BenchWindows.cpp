// A helper for scripts/bench: creates COUNT mapped, titled top-level windows on the X display,
// waits until the window manager (when one runs) manages all of them, prints "ready" and stays
// alive, keeping them, until its standard input ends; then it destroys them and waits until
// the window manager has let go of all of them, so that the next tool never meets one dying.
// Two more modes put faults in front of the program for the memory benchmarks:
//   --churn COUNT    keeps COUNT windows up, replacing the oldest with a new one every 10 ms;
//   --fake-ids COUNT writes COUNT ids of windows that do not exist into the root's stacking
//                    list, as any client may, and puts the window manager's list back at the
//                    end (the window manager itself rewrites it only when its windows change).
// Usage: velmora_bench_windows COUNT [TITLE_PREFIX] | --churn COUNT | --fake-ids COUNT

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <deque>
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

bool InputEnded() {
    pollfd input{STDIN_FILENO, POLLIN, 0};
    char byte;
    return poll(&input, 1, 0) > 0 && read(STDIN_FILENO, &byte, 1) <= 0;
}

void AnnounceReady() {
    std::printf("ready\n");
    std::fflush(stdout);
}

int Churn(Display* display, int count) {
    std::deque<Window> alive;
    for (int made = 0; !InputEnded(); ++made) {
        alive.push_back(CreateTitled(display, "Churn window " + std::to_string(made), made));
        if (static_cast<int>(alive.size()) > count) {
            XDestroyWindow(display, alive.front());
            alive.pop_front();
        }
        XSync(display, False);
        if (made == count) AnnounceReady();
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    for (const Window window : alive) XDestroyWindow(display, window);
    XSync(display, False);
    return 0;
}

int FakeIds(Display* display, int count) {
    constexpr long kFirstFakeId = 0x1FE00001;  // a client range no client here is given
    std::vector<long> ids(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) ids[static_cast<std::size_t>(i)] = kFirstFakeId + i;
    const Atom list = XInternAtom(display, "_NET_CLIENT_LIST_STACKING", False);
    const std::vector<Window> saved = RootWindows(display, "_NET_CLIENT_LIST_STACKING");
    const std::vector<long> original(saved.begin(), saved.end());
    const auto write = [&](const std::vector<long>& items) {
        XChangeProperty(display, DefaultRootWindow(display), list, XA_WINDOW, 32,
                        PropModeReplace, reinterpret_cast<const unsigned char*>(items.data()),
                        static_cast<int>(items.size()));
        XSync(display, False);
    };
    write(ids);
    AnnounceReady();
    char byte;
    while (read(STDIN_FILENO, &byte, 1) > 0) {
    }
    write(original);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string mode = argc > 1 ? argv[1] : "";
    const bool faults = mode == "--churn" || mode == "--fake-ids";
    const char* countText = !faults ? mode.c_str() : argc > 2 ? argv[2] : "";
    const int count = std::atoi(countText);
    if (argc < 2 || count <= 0) {
        std::fprintf(stderr, "usage: %s COUNT [TITLE_PREFIX] | --churn COUNT | --fake-ids COUNT\n",
                     argv[0]);
        return 2;
    }
    DisplayPtr display(XOpenDisplay(nullptr));
    if (!display) {
        std::fprintf(stderr, "cannot open the display\n");
        return 1;
    }
    if (mode == "--churn") return Churn(display.get(), count);
    if (mode == "--fake-ids") return FakeIds(display.get(), count);
    const std::string prefix = argc > 2 ? argv[2] : "Bench window";
    std::vector<Window> windows;
    for (int i = 0; i < count; ++i) {
        windows.push_back(CreateTitled(display.get(), prefix + " " + std::to_string(i), i));
    }
    XSync(display.get(), False);
    if (!WaitForClientList(display.get(), windows, true)) {
        std::fprintf(stderr, "the window manager did not take all %d windows\n", count);
        return 1;
    }
    AnnounceReady();
    char byte;
    while (read(STDIN_FILENO, &byte, 1) > 0) {
    }
    for (const Window window : windows) XDestroyWindow(display.get(), window);
    XSync(display.get(), False);
    return WaitForClientList(display.get(), windows, false) ? 0 : 1;
}
