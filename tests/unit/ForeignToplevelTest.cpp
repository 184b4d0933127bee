#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/RuntimeError.h"
#include "platform/wayland/ForeignToplevelWindowSystem.h"
#include "platform/wayland/UniqueFd.h"
#include "platform/wayland/WlrToplevelWire.h"

namespace velmora::wayland {
namespace {

using Sent = std::vector<std::pair<Hwnd, ToplevelRequest>>;
const OwnWindow kOwn{"velmora-suite", "Velmora Suite", 42};

// A toplevel announced with its details and its first done, as compositors announce them.
Hwnd Add(ForeignToplevelList& list, const std::string& title, unsigned states = 0,
         const std::string& appId = "editor", std::uint32_t pid = 0) {
    const Hwnd id = list.Announce();
    list.SetTitle(id, title);
    list.SetAppId(id, appId);
    list.SetPid(id, pid);
    list.SetStates(id, states);
    list.Done(id);
    return id;
}

// Moves the activated state to `id`, as a compositor's focus change does.
void Activate(ForeignToplevelList& list, Hwnd id) {
    for (const Hwnd other : {list.Activated(), id}) {
        if (const Toplevel* toplevel = list.Find(other)) {
            list.SetStates(other, (toplevel->states & ~kToplevelActivated) |
                                      (other == id ? kToplevelActivated : 0));
            list.Done(other);
        }
    }
}

std::vector<std::string> Titles(const ForeignToplevelList& list) {
    std::vector<std::string> titles;
    for (const Toplevel& toplevel : list.Listed(kOwn)) titles.push_back(toplevel.title);
    return titles;
}

// Records the requests sent; stands in for a compositor that honours activation by the next
// roundtrip, as long as `honoursActivation`.
class RecordingWire : public ForeignToplevelWire {
public:
    ForeignToplevelList list;
    Sent sent;
    bool fullscreen = true;
    bool seat = true;
    bool keepsHiddenAndAbove = false;  // as KWin does
    bool honoursActivation = true;

    const ForeignToplevelList& toplevels() const override { return list; }
    void Roundtrip() override {
        if (activation_ != 0 && honoursActivation) Activate(list, activation_);
        activation_ = 0;
    }
    void Request(Hwnd toplevel, ToplevelRequest request) override {
        sent.emplace_back(toplevel, request);
        if (request == ToplevelRequest::Activate) activation_ = toplevel;
    }
    bool Offers(ToplevelRequest request) const override {
        switch (request) {
            case ToplevelRequest::UnsetFullscreen: return fullscreen;
            case ToplevelRequest::Activate: return seat;
            case ToplevelRequest::SetKeepAbove:
            case ToplevelRequest::UnsetKeepAbove:
            case ToplevelRequest::Hide:
            case ToplevelRequest::Show: return keepsHiddenAndAbove;
            default: return true;
        }
    }
    int EventSocket() const override { return -1; }
    bool TakeInArrived() override { return true; }

private:
    Hwnd activation_ = 0;
};

struct Backend {
    RecordingWire* wire;
    ForeignToplevelWindowSystem windows;
    Backend() : Backend(std::make_unique<RecordingWire>()) {}

private:
    explicit Backend(std::unique_ptr<RecordingWire> made)
        : wire(made.get()), windows(std::move(made), kOwn) {}
};

TEST(ForeignToplevelList, ListsTitledOthersByActivationThenAnnouncement) {
    struct Case {
        const char* what;
        std::function<void(ForeignToplevelList&)> events;
        std::vector<std::string> listed;
    };
    const Case cases[] = {
        {"announcement order", [](auto& l) { Add(l, "A"); Add(l, "B"); Add(l, "C"); },
         {"A", "B", "C"}},
        {"the activated one first",
         [](auto& l) { Add(l, "A"); Add(l, "B", kToplevelActivated); Add(l, "C"); },
         {"B", "A", "C"}},
        {"each activation moves to the front",
         [](auto& l) {
             const Hwnd a = Add(l, "A"), b = Add(l, "B", kToplevelActivated), c = Add(l, "C");
             for (const Hwnd next : {c, a, b, c}) Activate(l, next);
         },
         {"C", "B", "A"}},
        {"a state change that keeps activation keeps the place",
         [](auto& l) {
             const Hwnd a = Add(l, "A", kToplevelActivated), b = Add(l, "B");
             Activate(l, b);
             l.SetStates(a, kToplevelMaximized);
             l.Done(a);
             l.SetStates(b, kToplevelActivated | kToplevelMaximized);
             l.Done(b);
         },
         {"B", "A"}},
        {"closed ones removed",
         [](auto& l) {
             Add(l, "A");
             const Hwnd b = Add(l, "B", kToplevelActivated);
             Add(l, "C");
             l.Closed(b);
         },
         {"A", "C"}},
        {"untitled ones left out", [](auto& l) { Add(l, "A"); Add(l, ""); Add(l, "C"); },
         {"A", "C"}},
        {"the program's own window left out, its title in other programs listed",
         [](auto& l) {
             Add(l, "Velmora Suite", kToplevelActivated, "velmora-suite");
             Add(l, "Velmora Suite", 0, "browser");
             Add(l, "Options", 0, "velmora-suite");
         },
         {"Velmora Suite", "Options"}},
        {"where processes are told, another instance's window listed, the program's own not",
         [](auto& l) {
             Add(l, "Velmora Suite", 0, "velmora-suite", 43);
             Add(l, "Velmora Suite", 0, "velmora-suite", 42);
         },
         {"Velmora Suite"}},
        {"changes wait for done",
         [](auto& l) {
             const Hwnd a = Add(l, "A");
             l.SetTitle(a, "renamed");
             l.SetStates(a, kToplevelActivated);
             const Hwnd b = l.Announce();
             l.SetTitle(b, "announced, not done");
             Add(l, "C");
         },
         {"A", "C"}},
        {"and apply together at done",
         [](auto& l) {
             const Hwnd a = Add(l, "A");
             Add(l, "B");
             l.SetTitle(a, "renamed");
             l.SetStates(a, kToplevelActivated);
             l.Done(a);
         },
         {"renamed", "B"}},
        {"titles made valid UTF-8 as the other window systems make them",
         [](auto& l) { Add(l, "Caf\xE9"); Add(l, "bad \xC3\x28 tail"); },
         {"Caf\uFFFD", "bad \uFFFD( tail"}},
        {"events for closed handles ignored",
         [](auto& l) {
             const Hwnd a = Add(l, "A");
             l.Closed(a);
             l.SetTitle(a, "late");
             l.Done(a);
         },
         {}},
    };
    for (const Case& c : cases) {
        ForeignToplevelList list;
        c.events(list);
        EXPECT_EQ(Titles(list), c.listed) << c.what;
    }
}

// The program's form on XWayland, whose app id its toolkit chooses: its process tells it.
TEST(ForeignToplevelList, AnOwnWindowWithoutAppIdIsKnownByProcessAndTitle) {
    ForeignToplevelList list;
    Add(list, "Velmora Suite", 0, "velmora", 42);
    Add(list, "Velmora Suite", 0, "velmora-suite", 43);
    Add(list, "Velmora Suite", 0, "browser");  // process untold: never taken for the own
    std::vector<std::string> appIds;
    for (const Toplevel& toplevel : list.Listed(OwnWindow{{}, "Velmora Suite", 42})) {
        appIds.push_back(toplevel.appId);
    }
    std::ranges::sort(appIds);
    EXPECT_EQ(appIds, (std::vector<std::string>{"browser", "velmora-suite"}));
}

TEST(ForeignToplevelList, IdsAreNeverReused) {
    ForeignToplevelList list;
    const Hwnd a = Add(list, "A");
    list.Closed(a);
    const Hwnd b = Add(list, "B");
    EXPECT_NE(a, 0u);
    EXPECT_NE(b, a);
    EXPECT_EQ(list.Find(a), nullptr);
    EXPECT_EQ(list.Find(b)->title, "B");
}

TEST(ForeignToplevelList, TakesWholeListingsKeepingEachKeysId) {
    ForeignToplevelList list;
    const auto toplevel = [](const char* title, unsigned states = 0) {
        return Toplevel{.title = title, .appId = "editor", .states = states};
    };
    list.TakeListing({{7, toplevel("A")}, {9, toplevel("B")}});
    const Hwnd a = list.Listed(kOwn)[0].id;
    const Hwnd b = list.Listed(kOwn)[1].id;
    list.TakeListing({{9, toplevel("B renamed", kToplevelActivated)}, {4, toplevel("C")}});
    EXPECT_EQ(list.Find(a), nullptr);
    EXPECT_EQ(list.Activated(), b);
    EXPECT_EQ(list.Find(b)->title, "B renamed");
    EXPECT_EQ(Titles(list), (std::vector<std::string>{"B renamed", "C"}));
    EXPECT_EQ(list.KeyOf(b), 9u);
    EXPECT_EQ(list.KeyOf(a), 0u);
}

TEST(ForeignToplevelWindowSystem, ShowWindowSendsExactlyItsRequests) {
    using R = ToplevelRequest;
    struct Case {
        int command;
        bool fullscreen;
        std::vector<R> sent;
        bool seat = true;
        bool kwin = false;  // hidden state offered, and the toplevel hidden
    };
    const Case cases[] = {
        {kSwHide, true, {R::SetMinimized}},
        {kSwMinimize, true, {R::SetMinimized}},
        {kSwShowMaximized, true, {R::UnsetMinimized, R::SetMaximized}},
        {kSwRestore, true, {R::UnsetMinimized, R::UnsetMaximized, R::UnsetFullscreen, R::Activate}},
        {kSwRestore, false, {R::UnsetMinimized, R::UnsetMaximized, R::Activate}},
        {kSwRestore, false, {R::UnsetMinimized, R::UnsetMaximized}, false},
        {5, true, {}},
        {kSwHide, true, {R::Hide}, true, true},
        {kSwMinimize, true, {R::SetMinimized}, true, true},
        {kSwShowMaximized, true, {R::Show, R::UnsetMinimized, R::SetMaximized}, true, true},
        {kSwRestore, true,
         {R::Show, R::UnsetMinimized, R::UnsetMaximized, R::UnsetFullscreen, R::Activate}, true,
         true},
    };
    for (const Case& c : cases) {
        Backend backend;
        Add(backend.wire->list, "A");
        const Hwnd b = Add(backend.wire->list, "B",
                           kToplevelMinimized | (c.kwin ? kToplevelSkipTaskbar : 0));
        backend.wire->fullscreen = c.fullscreen;
        backend.wire->seat = c.seat;
        backend.wire->keepsHiddenAndAbove = c.kwin;
        EXPECT_NO_THROW(backend.windows.ShowWindow(b, c.command));
        Sent expected;
        for (const R request : c.sent) expected.emplace_back(b, request);
        EXPECT_EQ(backend.wire->sent, expected) << c.command << " " << c.fullscreen;
    }
}

TEST(ForeignToplevelWindowSystem, ShowWindowLeavesAClosedToplevelAlone) {
    Backend backend;
    const Hwnd a = Add(backend.wire->list, "A");
    backend.wire->list.Closed(a);
    backend.windows.ShowWindow(a, kSwMinimize);
    EXPECT_TRUE(backend.wire->sent.empty());
}

TEST(ForeignToplevelWindowSystem, ActivatesThePreferredElseTheFirstTitledInTheOrder) {
    struct Case {
        const char* what;
        std::string title;
        int preferred;  // index of the toplevels below; -1 for none
        int activated;  // -1: RuntimeError
    };
    // Announced: Twin, Other, Twin (activated), the program's own window, Other (closed); so
    // listed: Twin (2), Twin (0), Other (1).
    const Case cases[] = {
        {"the preferred one when it has the title", "Twin", 0, 0},
        {"the first in the order when it has not", "Twin", 1, 2},
        {"the first in the order without a preferred one", "Twin", -1, 2},
        {"a closed preferred one", "Other", 4, 1},
        {"none has the title", "Nobody", 1, -1},
        {"never the program's own window", "Velmora Suite", 3, -1},
    };
    for (const Case& c : cases) {
        Backend backend;
        ForeignToplevelList& list = backend.wire->list;
        const Hwnd ids[] = {Add(list, "Twin"), Add(list, "Other"),
                            Add(list, "Twin", kToplevelActivated),
                            Add(list, "Velmora Suite", 0, "velmora-suite"),
                            Add(list, "Other")};
        list.Closed(ids[4]);
        const Hwnd preferred = c.preferred < 0 ? 0 : ids[c.preferred];
        if (c.activated < 0) {
            EXPECT_THROW(backend.windows.ActivateWindow(c.title, preferred), RuntimeError)
                << c.what;
            EXPECT_TRUE(backend.wire->sent.empty()) << c.what;
            continue;
        }
        backend.windows.ActivateWindow(c.title, preferred);
        const Hwnd target = ids[c.activated];
        EXPECT_EQ(backend.wire->sent, (Sent{{target, ToplevelRequest::Activate}})) << c.what;
        EXPECT_EQ(backend.windows.GetForegroundWindow(), target) << c.what;
    }
}

TEST(ForeignToplevelWindowSystem, RequestCloseClosesThatToplevelOnly) {
    Backend backend;
    ForeignToplevelList& list = backend.wire->list;
    Add(list, "Twin");
    const Hwnd twin = Add(list, "Twin");
    const Hwnd own = Add(list, "Velmora Suite", 0, "velmora-suite");
    const Hwnd gone = Add(list, "Gone");
    list.Closed(gone);
    backend.windows.RequestClose(twin);
    EXPECT_EQ(backend.wire->sent, (Sent{{twin, ToplevelRequest::Close}}));
    EXPECT_THROW(backend.windows.RequestClose(own), RuntimeError);
    EXPECT_THROW(backend.windows.RequestClose(gone), RuntimeError);
    EXPECT_EQ(backend.wire->sent.size(), 1u);
}

TEST(ForeignToplevelWindowSystem, WalksASnapshotDroppedAtItsEnd) {
    Backend backend;
    ForeignToplevelList& list = backend.wire->list;
    const Hwnd a = Add(list, "A"), b = Add(list, "B", kToplevelMinimized | kToplevelActivated);
    Add(list, "");
    EXPECT_EQ(backend.windows.GetWindow(0, kGwHwndFirst), b);
    list.Closed(b);
    EXPECT_EQ(backend.windows.WindowStyle(b), kWsVisible | kWsBorder);
    EXPECT_EQ(backend.windows.WindowTitle(b), "B");
    EXPECT_EQ(backend.windows.GetWindow(b, kGwHwndNext), a);
    EXPECT_EQ(backend.windows.GetWindow(a, kGwHwndNext), 0u);
    EXPECT_EQ(backend.windows.WindowStyle(b), 0u);
    EXPECT_EQ(backend.windows.WindowTitle(b), "");
    EXPECT_EQ(backend.windows.WindowStyle(a), kWsVisible | kWsBorder);
}

TEST(ForeignToplevelWindowSystem, OffersEveryCommandKeepOnTopWhereTheCompositorKeepsAbove) {
    Backend backend;
    for (const DesktopCommand command :
         {DesktopCommand::Hide, DesktopCommand::Show, DesktopCommand::Close,
          DesktopCommand::Minimize, DesktopCommand::Maximize, DesktopCommand::Restore}) {
        EXPECT_TRUE(backend.windows.Offers(command)) << static_cast<int>(command);
    }
    EXPECT_FALSE(backend.windows.Offers(DesktopCommand::KeepOnTop));
    EXPECT_THROW(backend.windows.SetWindowPos(0, kHwndTopmost, 0), RuntimeError);
    EXPECT_TRUE(backend.windows.ClosesByRequest());
    backend.wire->keepsHiddenAndAbove = true;
    EXPECT_TRUE(backend.windows.Offers(DesktopCommand::KeepOnTop));
}

TEST(ForeignToplevelWindowSystem, KeepsOnTopTheProgramsOwnWindowOnceItIsShown) {
    Backend backend;
    backend.wire->keepsHiddenAndAbove = true;
    const Hwnd other = Add(backend.wire->list, "Velmora Suite");  // another program's
    backend.windows.SetWindowPos(0, kHwndTopmost, 0);
    EXPECT_TRUE(backend.wire->sent.empty());
    const Hwnd own = Add(backend.wire->list, kOwn.title, 0, kOwn.appId);
    backend.windows.GetWindow(0, kGwHwndFirst);
    backend.windows.GetWindow(0, kGwHwndFirst);
    backend.windows.SetWindowPos(0, kHwndBottom, 0);
    EXPECT_EQ(backend.wire->sent,
              (Sent{{own, ToplevelRequest::SetKeepAbove}, {own, ToplevelRequest::UnsetKeepAbove}}));
    EXPECT_NE(other, own);
}

TEST(ForeignToplevelWindowSystem, NamesTheDesktopAsTheSessionDoes) {
    struct Case {
        const char* current;  // XDG_CURRENT_DESKTOP; nullptr: unset
        const char* name;
    };
    for (const Case& c :
         {Case{"river", "river"}, Case{"sway:wlroots", "sway"}, Case{"", "this Wayland desktop"},
          Case{nullptr, "this Wayland desktop"}}) {
        if (c.current != nullptr) {
            setenv("XDG_CURRENT_DESKTOP", c.current, 1);
        } else {
            unsetenv("XDG_CURRENT_DESKTOP");
        }
        EXPECT_EQ(Backend().windows.DesktopName(), c.name) << (c.current ? c.current : "unset");
    }
    unsetenv("XDG_CURRENT_DESKTOP");
}

// A compositor that has stalled: its socket takes the connection and never answers. The one
// time-limited round trip serves start-up, every command and the end alike.
TEST(WlrToplevelWire, AStalledCompositorCountsAsNoneOnceTheTimeLimitPasses) {
    char folder[] = "/tmp/velmora-stalled-XXXXXX";
    ASSERT_NE(::mkdtemp(folder), nullptr);
    const std::string path = std::string(folder) + "/wayland-0";
    sockaddr_un address{AF_UNIX, {}};
    std::memcpy(address.sun_path, path.c_str(), path.size());
    const UniqueFd listener(::socket(AF_UNIX, SOCK_STREAM, 0));
    ASSERT_EQ(::bind(listener.get(), reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ASSERT_EQ(::listen(listener.get(), 4), 0);
    ::setenv("WAYLAND_DISPLAY", path.c_str(), 1);
    EXPECT_EQ(ConnectWlrToplevels(std::chrono::milliseconds(100)), nullptr);
    ::unsetenv("WAYLAND_DISPLAY");
    ::unlink(path.c_str());
    ::rmdir(folder);
}

}  // namespace
}  // namespace velmora::wayland
