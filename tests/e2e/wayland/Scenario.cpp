#include "Scenario.h"

namespace e2e {

TestClient* Context::Start(const std::vector<std::string>& titles, bool asks) {
    auto client = std::make_unique<TestClient>(clientProgram, closeLog, titles, asks);
    const pid_t pid = client->pid();
    const bool shown = sway.WaitFor([&] {
        std::size_t views = 0;
        for (const auto& view : sway.Views()) views += view.pid == pid ? 1 : 0;
        return views == titles.size();
    });
    if (!shown) return nullptr;
    TestClient* started = client.get();
    clients[titles.front()] = std::move(client);
    return started;
}

Desktop::WindowId Context::ViewOf(const std::string& title) {
    for (const auto& [first, client] : clients) {
        if (const auto views = sway.ViewsTitled(client->pid(), title); !views.empty()) {
            return views.front().id;
        }
    }
    return 0;
}

bool Context::InScratchpad(Desktop::WindowId view) {
    const auto now = sway.View(view);
    return now && now->inScratchpad;
}

int Context::FullscreenMode(Desktop::WindowId view) {
    const auto now = sway.View(view);
    return now ? now->fullscreenMode : -1;
}

bool Context::Refresh(const std::function<bool(const FormState&)>& condition) {
    app.ClickControl("PushButton1");
    return app.WaitForRows(condition);
}

std::string Join(const std::vector<std::string>& titles) {
    std::string text;
    for (const auto& title : titles) text += "[" + title + "]";
    return text;
}

}  // namespace e2e
