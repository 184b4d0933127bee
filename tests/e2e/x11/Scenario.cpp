#include "Scenario.h"

#include <algorithm>

namespace e2e {

Window Context::Create(TargetKind kind, const std::string& title) {
    const Window window = x.Create(kind, title);
    targets[title] = window;
    return window;
}

bool Context::WaitForRows(const std::function<bool(const FormState&)>& condition,
                          std::chrono::milliseconds timeout) {
    return x.WaitFor([&] { return condition(app.State()); }, timeout);
}

bool Context::HasState(Window window, const std::string& atom) {
    const auto states = x.Info(window).netStates;
    return std::find(states.begin(), states.end(), atom) != states.end();
}

}  // namespace e2e
