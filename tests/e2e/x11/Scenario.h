#pragma once
// What every scenario works with, and the scenarios in the order they run: each leaves the
// program running and the desktop tidy for the next.

#include <map>
#include <string>
#include <vector>

#include "Check.h"
#include "Velmora.h"
#include "XDriver.h"

namespace e2e {

struct Context {
    XDriver& x;
    Velmora& app;
    Results& results;
    std::string settingsFile;
    // The driver's target windows by title.
    std::map<std::string, Window> targets;

    Window Create(TargetKind kind, const std::string& title);

    bool Listed(const std::string& title) { return app.State().Row(title) != nullptr; }
    bool HasState(Window window, const std::string& atom);
    // Whether the settings file holds this line.
    bool SettingsHold(const std::string& line);
    // The program's icon as embedded in the notification area; 0 while there is none.
    Window TrayIcon();
};

void ListingScenario(Context& c);
void FormScenario(Context& c);
void AccessibilityScenario(Context& c);
void CommandsScenario(Context& c);
void CloseScenario(Context& c);
void HotkeyScenario(Context& c);
void TimedRefreshScenario(Context& c);
void IntervalFocusScenario(Context& c);
void PriorityScenario(Context& c);
void SettingsScenario(Context& c);
void TrayScenario(Context& c);
void EndScenario(Context& c);
void ManyWindowsScenario(Context& c);
void BackendScenario(Context& c);
void BareDisplayScenario(Context& c);
void RealClientsScenario(Context& c);
void ChurnScenario(Context& c);
void UnreadableSettingsScenario(Context& c);
void WaylandWithoutWayInScenario(Context& c);
// Run on its own, against an installed program.
void InstalledScenario(Context& c);

}  // namespace e2e
