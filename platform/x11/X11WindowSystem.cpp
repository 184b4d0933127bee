#include "X11WindowSystem.h"

#include <algorithm>
#include <chrono>
#include <functional>
#include <thread>

#include "EwmhRequests.h"
#include "WindowFacts.h"
#include "platform/RuntimeError.h"

namespace velmora::x11 {

namespace {

constexpr auto kActivationWait = std::chrono::seconds(1);
constexpr auto kActivationPoll = std::chrono::milliseconds(10);

// `preferred` when it carries the title, else the topmost client that does; never one of the
// program's own windows; 0 when none does. `preferred` is looked at even when the window
// manager does not hold it: a hidden window is the row's window all the same.
xcb_window_t WindowTitled(XState& x, std::string_view title, xcb_window_t preferred,
                          const std::function<bool(xcb_window_t)>& own) {
    const auto carries = [&](const WindowFacts& f) {
        return f.exists && f.title == title && !own(f.window);
    };
    if (preferred != 0) {
        const xcb_window_t one[] = {preferred};
        if (carries(ReadWindowFacts(x, one).front())) return preferred;
    }
    for (const WindowFacts& f : ReadWindowFacts(x, ClientsTopFirst(x).windows)) {
        if (carries(f)) return f.window;
    }
    return 0;
}

}  // namespace

ClientIds IdsOf(XConnection& connection) {
    const xcb_setup_t* setup = xcb_get_setup(connection.state().connection);
    return {setup->resource_id_base, setup->resource_id_mask};
}

X11WindowSystem::X11WindowSystem(XConnection& connection, std::vector<ClientIds> ownClients)
    : connection_(connection), ownClients_(std::move(ownClients)) {
    ownClients_.push_back(IdsOf(connection));
}

bool X11WindowSystem::IsOwnWindow(Hwnd window) const {
    return std::any_of(ownClients_.begin(), ownClients_.end(),
                       [window](const ClientIds& ids) { return ids.Holds(window); });
}

Hwnd HandleOf(const WindowFacts& facts) { return facts.window; }

X11WindowSystem::~X11WindowSystem() = default;

Hwnd X11WindowSystem::GetWindow(Hwnd window, unsigned command) {
    Hwnd next = 0;
    if (command == kGwHwndFirst) {
        XState& x = connection_.state();
        const TopLevels clients = ClientsTopFirst(x);
        next = walk_.Begin(ReadWindowFacts(x, clients.windows, clients.managed));
    } else if (command == kGwHwndNext) {
        next = walk_.Next(window);
    }
    if (next == 0) EndWalk();
    return next;
}

void X11WindowSystem::EndWalk() {
    walk_.Clear();
    connection_.DiscardArrived();
}

WindowFacts X11WindowSystem::Facts(Hwnd window) {
    if (const WindowFacts* taken = walk_.Find(window)) return *taken;
    const xcb_window_t one[] = {window};
    return ReadWindowFacts(connection_.state(), one).front();
}

std::uint32_t X11WindowSystem::WindowStyle(Hwnd window) { return Facts(window).style; }

std::string X11WindowSystem::WindowTitle(Hwnd window) { return Facts(window).title; }

void X11WindowSystem::ShowWindow(Hwnd window, int command) {
    XState& x = connection_.state();
    if (!Facts(window).exists) return;
    const xcb_atom_t vert = x.atom(Atom::NetWmStateMaximizedVert);
    const xcb_atom_t horz = x.atom(Atom::NetWmStateMaximizedHorz);
    switch (command) {
        case kSwHide: Withdraw(x, window); break;
        case kSwMinimize: Iconify(x, window); break;
        case kSwShowMaximized:
        case kSwRestore:
            // Before mapping, so that a withdrawn window is managed in its new state at once;
            // activation also brings an iconified window back.
            ChangeWmState(x, window, command == kSwShowMaximized ? kStateAdd : kStateRemove, vert,
                          horz);
            Map(x, window);
            RequestActivation(x, window);
            break;
        default: break;
    }
}

void X11WindowSystem::ActivateWindow(std::string_view title, Hwnd preferred) {
    XState& x = connection_.state();
    const xcb_window_t target =
        WindowTitled(x, title, preferred, [this](xcb_window_t w) { return IsOwnWindow(w); });
    if (target == 0) throw RuntimeError::InvalidProcedureCall();
    if (!IsManaged(x, target)) {
        // No window manager (or the window is hidden): nobody else would stack it.
        Raise(x, target);
        return;
    }
    RequestActivation(x, target);
    // A window that takes no focus is raised but never becomes the active one.
    if (!TakesFocus(x, target)) return;
    // The window manager answers asynchronously; callers look at the result right after.
    const auto deadline = std::chrono::steady_clock::now() + kActivationWait;
    while (GetForegroundWindow() != target && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(kActivationPoll);
    }
}

Hwnd X11WindowSystem::GetForegroundWindow() {
    XState& x = connection_.state();
    const auto active = ReadCardinals(x, x.root, x.atom(Atom::NetActiveWindow), XCB_ATOM_WINDOW);
    return active.empty() ? 0 : active.front();
}

void X11WindowSystem::RequestClose(Hwnd window) {
    XState& x = connection_.state();
    if (IsOwnWindow(window)) throw RuntimeError::InvalidProcedureCall();
    if (IsManaged(x, window)) {
        // What the window manager's close button and Alt+F4 do: the client is asked with
        // WM_DELETE_WINDOW when it offers that, else the window manager deals with it.
        RequestWmClose(x, window);
        return;
    }
    // Without a window manager only the client itself can be asked; a client that offers no
    // WM_DELETE_WINDOW could only be killed, which is not Close's to do.
    if (!SendDeleteWindow(x, window)) throw RuntimeError::InvalidProcedureCall();
}

void X11WindowSystem::SetWindowPos(Hwnd window, Hwnd insertAfter, unsigned) {
    XState& x = connection_.state();
    const xcb_atom_t above = x.atom(Atom::NetWmStateAbove);
    const xcb_atom_t below = x.atom(Atom::NetWmStateBelow);
    if (insertAfter == kHwndTopmost) {
        ChangeWmState(x, window, kStateRemove, below, XCB_ATOM_NONE);
        ChangeWmState(x, window, kStateAdd, above, XCB_ATOM_NONE);
    } else if (insertAfter == kHwndBottom) {
        ChangeWmState(x, window, kStateRemove, above, below);
        Lower(x, window);
    }
}

}  // namespace velmora::x11
