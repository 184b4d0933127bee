// The sway window system against a stand-in compositor on a real Unix socket: it answers
// get_tree with a hand-written tree and records every command it is sent.

#include <gtest/gtest.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <thread>

#include "SwayTrees.h"
#include "platform/wayland/IpcError.h"
#include "platform/wayland/SessionCompositor.h"
#include "platform/wayland/SwayWindowSystem.h"
#include "platform/wayland/UniqueFd.h"

namespace velmora::wayland {
namespace {

using namespace test::sway;

// How the stand-in answers.
enum class Answer { Normally, Never, Garbage };

class FakeSway {
    template <typename F>
    auto Locked(F&& f) {
        std::lock_guard lock(mutex_);
        return f();
    }

public:
    FakeSway() {
        char folder[] = "/tmp/velmora-sway-XXXXXX";
        if (::mkdtemp(folder) == nullptr) throw std::runtime_error("mkdtemp");
        folder_ = folder;
        path_ = folder_ + "/ipc.sock";
        listener_.Reset(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::memcpy(address.sun_path, path_.c_str(), path_.size());
        if (::bind(listener_.get(), reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
            ::listen(listener_.get(), 4) != 0) {
            throw std::runtime_error("cannot listen");
        }
        thread_ = std::thread([this] { Serve(); });
    }
    ~FakeSway() {
        stop_ = true;
        thread_.join();
        ::unlink(path_.c_str());
        ::rmdir(folder_.c_str());
    }

    const std::string& path() const { return path_; }
    void SetTree(std::string tree) {
        Locked([&] { tree_ = std::move(tree); });
    }
    void SetCommandReply(std::string reply) {
        Locked([&] { commandReply_ = std::move(reply); });
    }
    void SetAnswer(Answer answer) {
        Locked([&] { answer_ = answer; });
    }
    std::vector<std::string> Commands() {
        return Locked([&] { return commands_; });
    }
    int TreeRequests() {
        return Locked([&] { return treeRequests_; });
    }

private:
    bool WaitReadable(int fd) {
        while (!stop_) {
            pollfd watch{fd, POLLIN, 0};
            if (::poll(&watch, 1, 20) > 0) return true;
        }
        return false;
    }

    bool ReadAll(int fd, char* into, std::size_t size) {
        while (size > 0) {
            if (!WaitReadable(fd)) return false;
            const ssize_t got = ::read(fd, into, size);
            if (got <= 0) return false;
            into += got;
            size -= static_cast<std::size_t>(got);
        }
        return true;
    }

    void Serve() {
        while (WaitReadable(listener_.get())) {
            UniqueFd client(::accept4(listener_.get(), nullptr, nullptr, SOCK_CLOEXEC));
            std::string header(kIpcHeaderSize, '\0');
            while (client && ReadAll(client.get(), header.data(), header.size())) {
                const IpcHeader request = DecodeIpcHeader(header);
                std::string payload(request.length, '\0');
                if (!ReadAll(client.get(), payload.data(), payload.size())) break;
                const std::string reply = Locked([&] { return Reply(request.type, payload); });
                if (::write(client.get(), reply.data(), reply.size()) < 0) break;
            }
        }
    }

    std::string Reply(std::uint32_t type, const std::string& payload) {
        const auto kind = static_cast<IpcType>(type);
        if (kind == IpcType::GetTree) ++treeRequests_;
        if (kind == IpcType::RunCommand) commands_.push_back(payload);
        if (answer_ == Answer::Never) return {};
        if (answer_ == Answer::Garbage) return "i3-ipx and more";
        return EncodeIpcMessage(kind, kind == IpcType::GetTree ? tree_ : commandReply_);
    }

    std::string folder_;
    std::string path_;
    UniqueFd listener_;
    std::atomic<bool> stop_{false};
    std::mutex mutex_;
    std::string tree_ = Root({}, {});
    std::string commandReply_ = R"([{"success":true}])";
    Answer answer_ = Answer::Normally;
    std::vector<std::string> commands_;
    int treeRequests_ = 0;
    std::thread thread_;
};

constexpr int kOwnPid = 4242;

// Views 10 (focused), 11, the program's own 12, and 40 in the scratchpad; a second "Twin" (13)
// focused less recently than 11.
std::string Desktop(const std::string& title11 = "Twin") {
    return Root(
        {Container(4, "output", "HEADLESS-1",
                   {Container(5, "workspace", "1",
                              {View(10, "Editor", {.focused = true}), View(11, title11),
                               View(12, "Velmora Suite", {.pid = kOwnPid}), View(13, "Twin")},
                              {10, 12, 11, 13})},
                   {5})},
        {4}, {View(40, "Notes", {.type = "floating_con"})});
}

struct SwayWindowSystemTest : ::testing::Test {
    FakeSway sway;
    SwayConnection connection{sway.path(), std::chrono::milliseconds(300)};
    SwayWindowSystem windows{connection, kOwnPid};

    SwayWindowSystemTest() { sway.SetTree(Desktop()); }

    // The views walked, also when the walk ends in an error.
    std::vector<Hwnd> order;
    std::vector<Hwnd> Walk() {
        order.clear();
        for (Hwnd w = windows.GetWindow(0, kGwHwndFirst); w != 0;
             w = windows.GetWindow(w, kGwHwndNext)) {
            order.push_back(w);
        }
        return order;
    }
    using Commands = std::vector<std::string>;
};

void ExpectRuntimeError(const std::function<void()>& call) {
    try {
        call();
        ADD_FAILURE() << "no error";
    } catch (const RuntimeError& error) {
        EXPECT_EQ(error.number(), RuntimeError::InvalidProcedureCall().number());
    }
}

TEST_F(SwayWindowSystemTest, TheWalkListsOtherProgramsViewsMostRecentlyFocusedFirst) {
    EXPECT_EQ(Walk(), (std::vector<Hwnd>{10, 11, 13, 40}));
    EXPECT_EQ(sway.TreeRequests(), 1);
    EXPECT_EQ(windows.WindowStyle(10), kWsVisible | kWsBorder);
    EXPECT_EQ(windows.WindowStyle(40), kWsBorder);  // in the scratchpad: not listed
    EXPECT_EQ(windows.WindowStyle(99), 0u);
    EXPECT_EQ(windows.WindowTitle(11), "Twin");
    EXPECT_EQ(windows.WindowTitle(99), "");
}

TEST_F(SwayWindowSystemTest, TheWalkReadsOneSnapshotAndItsEndDropsIt) {
    const Hwnd first = windows.GetWindow(0, kGwHwndFirst);
    sway.SetTree(Desktop("Renamed"));
    EXPECT_EQ(windows.WindowTitle(11), "Twin");
    EXPECT_EQ(windows.GetWindow(first, kGwHwndNext), 11u);
    EXPECT_EQ(sway.TreeRequests(), 1);
    windows.EndWalk();
    EXPECT_EQ(windows.WindowTitle(11), "Renamed");
    EXPECT_EQ(windows.GetWindow(11, kGwHwndNext), 0u);
}

struct ShowCase {
    const char* name;
    Hwnd view;
    int command;
    std::vector<std::string> sent;
};

struct SwayShowTest : SwayWindowSystemTest, ::testing::WithParamInterface<ShowCase> {};

TEST_P(SwayShowTest, SendsTheCommandForTheView) {
    windows.ShowWindow(GetParam().view, GetParam().command);
    EXPECT_EQ(sway.Commands(), GetParam().sent);
}

INSTANTIATE_TEST_SUITE_P(
    EachCommand, SwayShowTest,
    ::testing::Values(ShowCase{"Hide", 11, kSwHide, {"[con_id=11] move scratchpad"}},
                      ShowCase{"Maximize", 11, kSwShowMaximized, {"[con_id=11] fullscreen enable"}},
                      ShowCase{"Restore", 11, kSwRestore, {"[con_id=11] fullscreen disable"}},
                      ShowCase{
                          "ShowFromTheScratchpad",
                          40,
                          kSwRestore,
                          {"[con_id=40] scratchpad show, floating disable, fullscreen disable"}},
                      ShowCase{"MaximizeShowsAHiddenViewFirst", 40, kSwShowMaximized,
                               {"[con_id=40] scratchpad show, floating disable, "
                                "fullscreen enable"}},
                      ShowCase{"MinimizeIsNotSent", 11, kSwMinimize, {}},
                      ShowCase{"AGoneViewIsLeftAlone", 99, kSwHide, {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(SwayWindowSystemTest, ACommandSwayRefusesIsAnError) {
    sway.SetCommandReply(R"([{"success":true},{"success":false,"error":"no"}])");
    ExpectRuntimeError([&] { windows.ShowWindow(40, kSwRestore); });
    sway.SetCommandReply(R"([])");
    ExpectRuntimeError([&] { windows.ShowWindow(11, kSwHide); });
    sway.SetCommandReply(R"({"success":true})");
    ExpectRuntimeError([&] { windows.RequestClose(11); });
}

TEST_F(SwayWindowSystemTest, ActivationFocusesThePreferredViewWhileItCarriesTheTitle) {
    windows.ActivateWindow("Twin", 13);
    sway.SetTree(Desktop("Renamed"));
    windows.ActivateWindow("Twin", 11);  // 11 is renamed: the first "Twin" in the order
    sway.SetTree(Desktop());
    windows.ActivateWindow("Twin", 0);
    EXPECT_EQ(sway.Commands(),
              (Commands{"[con_id=13] focus", "[con_id=13] focus", "[con_id=11] focus"}));
    ExpectRuntimeError([&] { windows.ActivateWindow("Nobody", 0); });
    ExpectRuntimeError([&] { windows.ActivateWindow("Velmora Suite", 12); });
    EXPECT_EQ(sway.Commands().size(), 3u);
}

TEST_F(SwayWindowSystemTest, TheForegroundWindowIsTheFocusedView) {
    EXPECT_EQ(windows.GetForegroundWindow(), 10u);
    sway.SetTree(Root({}, {}));
    EXPECT_EQ(windows.GetForegroundWindow(), 0u);
}

TEST_F(SwayWindowSystemTest, CloseKillsExactlyTheViewAndNeverTheProgramsOwn) {
    EXPECT_TRUE(windows.ClosesByRequest());
    windows.RequestClose(13);
    EXPECT_EQ(sway.Commands(), Commands{"[con_id=13] kill"});
    ExpectRuntimeError([&] { windows.RequestClose(12); });
    ExpectRuntimeError([&] { windows.RequestClose(99); });
    EXPECT_EQ(sway.Commands().size(), 1u);
    // A view that closes between the walk and the kill needs no closing: no failure.
    windows.GetWindow(0, kGwHwndFirst);
    sway.SetTree(Root({}, {}));
    sway.SetCommandReply(R"([{"success":false,"error":"No matching node."}])");
    EXPECT_NO_THROW(windows.RequestClose(13));
    EXPECT_EQ(sway.Commands(), (Commands{"[con_id=13] kill", "[con_id=13] kill"}));
}

TEST_F(SwayWindowSystemTest, FocusingTheProgramsOwnViewFocusesItByIdOnceItHasOneAndNeverFails) {
    windows.FocusOwnView();
    sway.SetTree(Root({}, {}));
    windows.FocusOwnView();
    EXPECT_EQ(sway.Commands(), Commands{"[con_id=12] focus"});
    // Refused or unanswered, the focus is left where it is: the form is shown all the same.
    sway.SetCommandReply(R"([{"success":false}])");
    sway.SetTree(Desktop());
    EXPECT_NO_THROW(windows.FocusOwnView());
    sway.SetAnswer(Answer::Never);
    EXPECT_NO_THROW(windows.FocusOwnView());
}

TEST_F(SwayWindowSystemTest, KeepOnTopFloatsTheProgramsOwnViewAndRegularTilesIt) {
    windows.SetWindowPos(777, kHwndTopmost, kSwpNoSize | kSwpNoMove);
    windows.SetWindowPos(777, kHwndBottom, kSwpNoSize | kSwpNoMove | kSwpNoActivate);
    EXPECT_EQ(sway.Commands(), (Commands{"[con_id=12] floating enable, sticky enable",
                                         "[con_id=12] sticky disable, floating disable"}));
}

TEST_F(SwayWindowSystemTest, KeepOnTopAskedBeforeTheProgramHasAViewWaitsForTheNextWalk) {
    sway.SetTree(Root({}, {}));
    windows.SetWindowPos(777, kHwndTopmost, 0);
    windows.SetWindowPos(777, kHwndBottom, 0);
    windows.SetWindowPos(777, kHwndTopmost, 0);
    EXPECT_TRUE(sway.Commands().empty());
    sway.SetTree(Desktop());
    Walk();
    Walk();
    EXPECT_EQ(sway.Commands(), Commands{"[con_id=12] floating enable, sticky enable"});
    // Refused during a walk: every view is walked, then it is reported once.
    windows.SetWindowPos(777, kHwndBottom, 0);
    sway.SetTree(Root({}, {}));
    windows.SetWindowPos(777, kHwndTopmost, 0);
    sway.SetTree(Desktop());
    sway.SetCommandReply(R"([{"success":false}])");
    ExpectRuntimeError([&] { Walk(); });
    EXPECT_EQ(order, (std::vector<Hwnd>{10, 11, 13, 40}));
    EXPECT_NO_THROW(Walk());
}

TEST_F(SwayWindowSystemTest, KeepOnTopAskedBeforeTheProgramHasAViewIsPlacedOnceTheViewAppears) {
    EXPECT_TRUE(windows.PlacePendingOwnViews());
    sway.SetTree(Root({}, {}));
    windows.SetWindowPos(777, kHwndTopmost, 0);
    EXPECT_FALSE(windows.PlacePendingOwnViews());
    sway.SetTree(Desktop());
    EXPECT_TRUE(windows.PlacePendingOwnViews());
    EXPECT_TRUE(windows.PlacePendingOwnViews());
    EXPECT_EQ(sway.Commands(), Commands{"[con_id=12] floating enable, sticky enable"});
}

TEST_F(SwayWindowSystemTest, OffersEverythingButMinimize) {
    for (const DesktopCommand command :
         {DesktopCommand::Hide, DesktopCommand::Show, DesktopCommand::Close,
          DesktopCommand::Maximize, DesktopCommand::Restore, DesktopCommand::KeepOnTop}) {
        EXPECT_TRUE(windows.Offers(command));
    }
    EXPECT_FALSE(windows.Offers(DesktopCommand::Minimize));
    EXPECT_EQ(windows.DesktopName(), "sway");
}

TEST_F(SwayWindowSystemTest, ASilentOrGarbledCompositorIsAnErrorAndTheNextRequestConnectsAfresh) {
    sway.SetAnswer(Answer::Never);
    const auto start = std::chrono::steady_clock::now();
    ExpectRuntimeError([&] { windows.GetWindow(0, kGwHwndFirst); });
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
    sway.SetAnswer(Answer::Garbage);
    ExpectRuntimeError([&] { windows.WindowTitle(10); });
    sway.SetAnswer(Answer::Normally);
    EXPECT_EQ(windows.WindowTitle(10), "Editor");
}

TEST(SwayConnectionTest, TheSocketIsTheOneTheSessionAnnounces) {
    const char* before = std::getenv("SWAYSOCK");
    const std::string saved = before != nullptr ? before : "";
    ::setenv("SWAYSOCK", "/run/user/1000/sway-ipc.1000.42.sock", 1);
    EXPECT_EQ(SwaySocketPath(), "/run/user/1000/sway-ipc.1000.42.sock");
    ::unsetenv("SWAYSOCK");
    EXPECT_EQ(SwaySocketPath(), "");
    if (before != nullptr) ::setenv("SWAYSOCK", saved.c_str(), 1);
}

// A sway socket counts only when the process behind it serves the session's Wayland display too:
// a socket of this process's, and one a child process put to listening (it holds the listener's
// credentials), as another session's compositor would.
TEST(SessionCompositorTest, TwoSocketsAreOneCompositorOnlyWhenOneProcessServesBoth) {
    FakeSway sway, display;
    EXPECT_TRUE(ServedByOneProcess(sway.path(), display.path()));
    const std::string other = display.path() + ".other";
    sockaddr_un address{AF_UNIX, {}};
    std::memcpy(address.sun_path, other.c_str(), other.size());
    const UniqueFd listener(::socket(AF_UNIX, SOCK_STREAM, 0));
    ASSERT_EQ(::bind(listener.get(), reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    const pid_t child = ::fork();
    if (child == 0) ::_exit(::listen(listener.get(), 4));
    int status = -1;
    ::waitpid(child, &status, 0);
    ASSERT_EQ(status, 0);
    EXPECT_FALSE(ServedByOneProcess(sway.path(), other));
    ::unlink(other.c_str());
}

TEST(SwayConnectionTest, NoCompositorIsAnError) {
    SwayConnection connection("/nonexistent/velmora/sway.sock");
    EXPECT_THROW(connection.Request(IpcType::GetTree, ""), IpcError);
    SwayConnection unnamed("");
    EXPECT_THROW(unnamed.Request(IpcType::GetTree, ""), IpcError);
    ExpectRuntimeError([&] { SwayWindowSystem(connection, 1).GetForegroundWindow(); });
}

}  // namespace
}  // namespace velmora::wayland
