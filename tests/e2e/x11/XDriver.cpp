#include "XDriver.h"

#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>

#include <algorithm>
#include <memory>
#include <sstream>
#include <stdexcept>
#include <thread>
#include <utility>

namespace e2e {

namespace {

constexpr auto kPumpStep = std::chrono::milliseconds(20);

int IgnoreError(::Display*, XErrorEvent*) { return 0; }

struct FreeX {
    void operator()(void* data) const {
        if (data) XFree(data);
    }
};

template <typename T>
std::vector<T> Items(::Display* display, Window window, Atom property, Atom type) {
    Atom actualType = 0;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* raw = nullptr;
    if (XGetWindowProperty(display, window, property, 0, 1 << 16, False, type, &actualType, &format,
                           &count, &after, &raw) != Success) {
        return {};
    }
    std::unique_ptr<unsigned char, FreeX> data(raw);
    if (!data || format != 32) return {};
    const auto* longs = reinterpret_cast<const long*>(data.get());
    return std::vector<T>(longs, longs + count);
}

// The Latin-1 bytes of a UTF-8 text made of Latin-1 characters.
std::string Latin1(const std::string& utf8) {
    std::string bytes;
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const auto c = static_cast<unsigned char>(utf8[i]);
        if (c >= 0xC0 && i + 1 < utf8.size()) {
            bytes += static_cast<char>(((c & 0x1F) << 6) | (utf8[++i] & 0x3F));
        } else {
            bytes += static_cast<char>(c);
        }
    }
    return bytes;
}

}  // namespace

XDriver::XDriver() : display_(nullptr) {
    XSetErrorHandler(IgnoreError);
    display_ = XOpenDisplay(nullptr);
    if (!display_) throw std::runtime_error("cannot open the X display");
}

XDriver::~XDriver() {
    for (const Window window : owned_) XDestroyWindow(display_, window);
    XCloseDisplay(display_);
}

Atom XDriver::A(const char* name) { return XInternAtom(display_, name, False); }

Window XDriver::Create(TargetKind kind, const std::string& title) {
    XSetWindowAttributes attributes{};
    attributes.background_pixel = WhitePixel(display_, DefaultScreen(display_));
    attributes.override_redirect = kind == TargetKind::Override;
    attributes.event_mask = StructureNotifyMask;
    // Targets sit at the right edge, away from the program's centred window, so that none
    // covers what the driver clicks; an override-redirect window would cover it even when the
    // program is in front.
    const int step = static_cast<int>(owned_.size() % 12);
    const int x = kind == TargetKind::Override ? 10 : 960 + step * 10;
    const int y = kind == TargetKind::Override ? 880 : 10 + step * 60;
    const Window window = XCreateWindow(
        display_, DefaultRootWindow(display_), x, y, 300, 200, 0, CopyFromParent, InputOutput,
        CopyFromParent, CWBackPixel | CWOverrideRedirect | CWEventMask, &attributes);
    owned_.push_back(window);
    XSizeHints hints{};
    hints.flags = USPosition;
    hints.x = x;
    hints.y = y;
    XSetWMNormalHints(display_, window, &hints);
    Atom deleteWindow = A("WM_DELETE_WINDOW");
    XSetWMProtocols(display_, window, &deleteWindow, 1);
    const long pid = 0x7FFF0000;  // never the program's own
    XChangeProperty(display_, window, A("_NET_WM_PID"), XA_CARDINAL, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(&pid), 1);
    if (kind == TargetKind::LegacyTitle) {
        XStoreName(display_, window, Latin1(title).c_str());
    } else if (!title.empty()) {
        Rename(window, title);
    }
    if (kind == TargetKind::Undecorated) {
        const long hints[5] = {2, 0, 0, 0, 0};  // decorations given, none
        XChangeProperty(display_, window, A("_MOTIF_WM_HINTS"), A("_MOTIF_WM_HINTS"), 32,
                        PropModeReplace, reinterpret_cast<const unsigned char*>(hints), 5);
    }
    if (kind == TargetKind::SkipTaskbar) {
        const long state = static_cast<long>(A("_NET_WM_STATE_SKIP_TASKBAR"));
        XChangeProperty(display_, window, A("_NET_WM_STATE"), XA_ATOM, 32, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(&state), 1);
    }
    if (kind == TargetKind::AsksFirst) askers_[window] = title;
    if (kind != TargetKind::Withdrawn) XMapWindow(display_, window);
    XFlush(display_);
    return window;
}

void XDriver::Rename(Window window, const std::string& title) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(title.data());
    const int size = static_cast<int>(title.size());
    XChangeProperty(display_, window, A("_NET_WM_NAME"), A("UTF8_STRING"), 8, PropModeReplace,
                    bytes, size);
    XChangeProperty(display_, window, XA_WM_NAME, A("UTF8_STRING"), 8, PropModeReplace, bytes,
                    size);
    XFlush(display_);
}

void XDriver::Destroy(Window window) {
    XDestroyWindow(display_, window);
    std::erase(owned_, window);
    askers_.erase(window);
    questions_.erase(window);
    XFlush(display_);
}

std::optional<Window> XDriver::Question(Window asker) const {
    const auto at = questions_.find(asker);
    if (at == questions_.end()) return std::nullopt;
    return at->second;
}

void XDriver::AnswerCloseRequest(Window window) {
    const auto asker = askers_.find(window);
    if (asker == askers_.end()) {
        Destroy(window);
    } else if (!questions_.count(window)) {
        questions_[window] = Create(TargetKind::Normal, asker->second + " - Save changes?");
    }
}

void XDriver::Pump(std::chrono::milliseconds duration) {
    const auto end = std::chrono::steady_clock::now() + duration;
    do {
        while (XPending(display_)) {
            XEvent event;
            XNextEvent(display_, &event);
            if (event.type == MappingNotify) XRefreshKeyboardMapping(&event.xmapping);
            if (event.type == KeyPress) typed_.push_back(XLookupKeysym(&event.xkey, 0));
            if (event.type == ClientMessage &&
                static_cast<Atom>(event.xclient.data.l[0]) == A("WM_DELETE_WINDOW")) {
                AnswerCloseRequest(event.xclient.window);
            }
        }
        if (std::chrono::steady_clock::now() >= end) break;
        std::this_thread::sleep_for(kPumpStep);
    } while (true);
}

void XDriver::ListenForKeys(Window window) {
    XSelectInput(display_, window, StructureNotifyMask | KeyPressMask);
    XFlush(display_);
}

std::vector<unsigned long> XDriver::TakeTypedKeysyms() { return std::exchange(typed_, {}); }

bool XDriver::WaitFor(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
    const auto end = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        Pump(std::chrono::milliseconds(0));
        if (condition()) return true;
        if (std::chrono::steady_clock::now() >= end) return false;
        Pump(kPumpStep);
    }
}

std::vector<Window> XDriver::StackingTopFirst() {
    auto stacking = Items<Window>(display_, DefaultRootWindow(display_),
                                  A("_NET_CLIENT_LIST_STACKING"), XA_WINDOW);
    std::reverse(stacking.begin(), stacking.end());
    return stacking;
}

std::optional<Window> XDriver::ActiveWindow() {
    const auto active =
        Items<Window>(display_, DefaultRootWindow(display_), A("_NET_ACTIVE_WINDOW"), XA_WINDOW);
    if (active.empty() || active.front() == 0) return std::nullopt;
    return active.front();
}

bool XDriver::Exists(Window window) {
    XWindowAttributes attributes;
    return XGetWindowAttributes(display_, window, &attributes) != 0;
}

WmInfo XDriver::Info(Window window) {
    WmInfo info;
    XWindowAttributes attributes;
    info.exists = XGetWindowAttributes(display_, window, &attributes) != 0;
    if (!info.exists) return info;
    info.viewable = attributes.map_state == IsViewable;
    const auto wmState = Items<long>(display_, window, A("WM_STATE"), A("WM_STATE"));
    if (!wmState.empty()) info.wmState = wmState.front();
    for (const Atom atom : Items<Atom>(display_, window, A("_NET_WM_STATE"), XA_ATOM)) {
        std::unique_ptr<char, FreeX> name(XGetAtomName(display_, atom));
        if (name) info.netStates.emplace_back(name.get());
    }
    return info;
}

std::string XDriver::TextProperty(Window window, const char* name) {
    Atom actualType = 0;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* raw = nullptr;
    if (XGetWindowProperty(display_, window, A(name), 0, 1 << 20, False, AnyPropertyType,
                           &actualType, &format, &count, &after, &raw) != Success) {
        return {};
    }
    std::unique_ptr<unsigned char, FreeX> data(raw);
    if (!data || format != 8) return {};
    return std::string(reinterpret_cast<const char*>(data.get()), count);
}

std::optional<long> XDriver::Cardinal(Window window, const char* name) {
    const auto items = Items<long>(display_, window, A(name), AnyPropertyType);
    if (items.empty()) return std::nullopt;
    return items.front();
}

std::vector<Window> XDriver::WindowsWithProperty(const char* property) {
    std::vector<Window> found;
    std::vector<Window> pending{DefaultRootWindow(display_)};
    const Atom atom = A(property);
    while (!pending.empty()) {
        const Window window = pending.back();
        pending.pop_back();
        int count = 0;
        std::unique_ptr<Atom, FreeX> atoms(XListProperties(display_, window, &count));
        if (atoms && std::find(atoms.get(), atoms.get() + count, atom) != atoms.get() + count) {
            found.push_back(window);
        }
        Window root = 0, parent = 0, *children = nullptr;
        unsigned int childCount = 0;
        if (XQueryTree(display_, window, &root, &parent, &children, &childCount)) {
            std::unique_ptr<Window, FreeX> owned(children);
            pending.insert(pending.end(), children, children + childCount);
        }
    }
    return found;
}

Window XDriver::Parent(Window window) {
    Window root = 0, parent = 0, *children = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(display_, window, &root, &parent, &children, &count)) return 0;
    std::unique_ptr<Window, FreeX> owned(children);
    return parent;
}

void XDriver::AskWindowManager(Window window, const char* request, long argument) {
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = A(request);
    event.xclient.format = 32;
    event.xclient.data.l[0] = argument;
    XSendEvent(display_, DefaultRootWindow(display_), False,
               SubstructureRedirectMask | SubstructureNotifyMask, &event);
    XFlush(display_);
}

void XDriver::Activate(Window window) { AskWindowManager(window, "_NET_ACTIVE_WINDOW", 2); }

void XDriver::MoveToDesktop(Window window, int desktop) {
    AskWindowManager(window, "_NET_WM_DESKTOP", desktop);
}

void XDriver::RequestClose(Window window) {
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = A("WM_PROTOCOLS");
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(A("WM_DELETE_WINDOW"));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display_, window, False, NoEventMask, &event);
    XFlush(display_);
}

void XDriver::Iconify(Window window) {
    XIconifyWindow(display_, window, DefaultScreen(display_));
    XFlush(display_);
}

void XDriver::Click(Window window, int x, int y) {
    int rootX = 0, rootY = 0;
    Window child = 0;
    XTranslateCoordinates(display_, window, DefaultRootWindow(display_), x, y, &rootX, &rootY,
                          &child);
    XTestFakeMotionEvent(display_, DefaultScreen(display_), rootX, rootY, CurrentTime);
    XTestFakeButtonEvent(display_, 1, True, CurrentTime);
    XTestFakeButtonEvent(display_, 1, False, CurrentTime);
    XFlush(display_);
}

void XDriver::Keys(const std::string& chord) {
    std::vector<KeyCode> codes;
    std::stringstream parts(chord);
    std::string part;
    while (std::getline(parts, part, '+')) {
        const std::string name = part == "ctrl"    ? "Control_L"
                                 : part == "shift" ? "Shift_L"
                                 : part == "alt"   ? "Alt_L"
                                                   : part;
        codes.push_back(XKeysymToKeycode(display_, XStringToKeysym(name.c_str())));
    }
    for (const KeyCode code : codes) XTestFakeKeyEvent(display_, code, True, CurrentTime);
    for (auto code = codes.rbegin(); code != codes.rend(); ++code) {
        XTestFakeKeyEvent(display_, *code, False, CurrentTime);
    }
    XFlush(display_);
}

unsigned long XDriver::PixelAt(int x, int y) {
    XImage* image = XGetImage(display_, DefaultRootWindow(display_), x, y, 1, 1, AllPlanes, ZPixmap);
    if (image == nullptr) return ~0UL;
    const unsigned long pixel = XGetPixel(image, 0, 0);
    XDestroyImage(image);
    return pixel;
}

}  // namespace e2e
