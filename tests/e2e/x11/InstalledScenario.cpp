// The program as a package installed it, started by the command its desktop entry names: it
// shows its window and lists a target window.

#include <algorithm>

#include "Scenario.h"

namespace e2e {

void InstalledScenario(Context& c) {
    const std::string title = "E2E Installed";
    const Window target = c.Create(TargetKind::Normal, title);
    c.x.WaitFor([&] {
        const auto stacking = c.x.StackingTopFirst();
        return std::find(stacking.begin(), stacking.end(), target) != stacking.end();
    });
    c.results.Check(c.app.Start(), "the installed program starts and shows its window");
    std::string listed;
    const bool found = c.app.WaitForRows([&](const FormState& state) {
        listed.clear();
        for (const std::string& row : state.Titles()) listed += "[" + row + "]";
        return state.Row(title) != nullptr;
    });
    c.results.Check(found, "the installed program lists a target window", "rows " + listed);
    c.app.Stop();
}

}  // namespace e2e
