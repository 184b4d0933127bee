#pragma once
// What every scenario of the Wayland driver works with, and the scenarios in the order they
// run: each leaves the program running and its target windows open for the next.

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "Check.h"
#include "SessionServices.h"
#include "SwayDesktop.h"
#include "TestClient.h"
#include "Velmora.h"

namespace e2e {

struct Context {
    SwayDesktop& sway;
    Velmora& app;
    Results& results;
    SessionServices& session;
    std::string clientProgram;
    std::string closeLog;
    // The test clients started, by their first title.
    std::map<std::string, std::unique_ptr<TestClient>> clients;

    // Starts a test client with these toplevels and waits until sway shows them all; the
    // client, or nothing when they do not appear.
    TestClient* Start(const std::vector<std::string>& titles, bool asks = false);
    // The view of the client's toplevel with this title; 0 when there is none.
    Desktop::WindowId ViewOf(const std::string& title);
    bool InScratchpad(Desktop::WindowId view);
    // The view's fullscreen_mode (0 none, 1 its workspace); -1 when it is gone.
    int FullscreenMode(Desktop::WindowId view);
    bool Listed(const std::string& title) { return app.State().Row(title) != nullptr; }
    // Clicks Refresh and waits until the list satisfies `condition`.
    bool Refresh(const std::function<bool(const FormState&)>& condition);
};

std::string Join(const std::vector<std::string>& titles);

void ListingScenario(Context& c);
void CommandsScenario(Context& c);
void MinimizeScenario(Context& c);
void CloseScenario(Context& c);
void HotkeyScenario(Context& c);
void TimedRefreshScenario(Context& c);
void KeepOnTopScenario(Context& c);
void TrayScenario(Context& c);
// Restarts the program without sway's socket: foreign-toplevel management on the same desktop.
void ToplevelsScenario(Context& c);

class ToplevelDesktop;
// The program on labwc or KWin, each its own desktop and run.
void CompositorScenario(ToplevelDesktop& desktop, Velmora& app, Results& results,
                        const std::string& clientProgram, const std::string& closeLog);

}  // namespace e2e
