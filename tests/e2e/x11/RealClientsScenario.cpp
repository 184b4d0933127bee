// Real clients nobody here wrote, beside the driver's own windows: Check All and one Close
// close every listed window, those that never take the focus (xclock, xeyes) included.

#include <algorithm>

#include "Process.h"
#include "Scenario.h"

namespace e2e {

namespace {

struct Client {
    std::vector<std::string> command;
    std::string title;
    pid_t pid = 0;
};

std::string Remaining(const FormState& state) {
    std::string text;
    for (const std::string& title : state.Titles()) text += "[" + title + "]";
    return text;
}

}  // namespace

void RealClientsScenario(Context& c) {
    std::vector<Client> clients{
        {{"xterm", "-T", "E2E xterm"}, "E2E xterm"},
        {{"xclock", "-title", "E2E xclock"}, "E2E xclock"},
        {{"xeyes", "-title", "E2E xeyes"}, "E2E xeyes"},
    };
    for (Client& client : clients) {
        client.pid = Spawn(client.command, {}, Output::Discarded);
        c.results.Check(client.pid != 0, client.command.front() + " starts");
    }
    c.x.WaitFor(
        [&] {
            int managed = 0;
            for (const Window window : c.x.StackingTopFirst()) {
                const std::string title = c.x.TextProperty(window, "WM_NAME");
                managed += std::any_of(clients.begin(), clients.end(),
                                       [&](const Client& client) { return client.title == title; });
            }
            return managed == static_cast<int>(clients.size());
        },
        std::chrono::seconds(10));
    c.app.ClickControl("PushButton1");
    c.results.Check(c.app.WaitForRows([&](const FormState& s) {
        return std::all_of(clients.begin(), clients.end(),
                           [&](const Client& client) { return s.Row(client.title); });
    }),
                    "xterm, xclock and xeyes are listed beside the driver's windows");

    c.app.ClickControl("PushButton2");
    const std::size_t rows = c.app.State().rows.size();
    c.results.Check(c.app.WaitForRows([](const FormState& s) {
        return std::all_of(s.rows.begin(), s.rows.end(),
                           [](const RowState& r) { return r.checked; });
    }),
                    "Check All ticks every row");
    c.app.ClickControl("PushButton8");
    // Half a second a window, and up to a second more for each one that takes the focus.
    const auto allowed = std::chrono::seconds(10 + 2 * static_cast<long>(rows));
    const auto allEnded = [&] {
        return std::all_of(clients.begin(), clients.end(),
                           [](const Client& client) { return Ended(client.pid); });
    };
    c.results.Check(c.x.WaitFor(allEnded, allowed), "one Close ends xterm, xclock and xeyes");
    c.results.Check(c.app.WaitForRows([](const FormState& s) { return s.rows.empty(); }, allowed),
                    "every listed window is closed, and the list rebuilt after Close is empty",
                    Remaining(c.app.State()));
    c.results.Check(!c.app.Dialog().has_value(), "no window is reported");
    for (const Client& client : clients) Terminate(client.pid);
}

}  // namespace e2e
