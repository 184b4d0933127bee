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

std::vector<Box> Context::AnswerBoxes(std::chrono::milliseconds quiet) {
    std::vector<Box> boxes;
    Box box;
    while (x.WaitFor([&] { return app.Dialog(&box.title, &box.text).has_value(); }, quiet)) {
        boxes.push_back(box);
        app.DismissDialog();
    }
    return boxes;
}

std::string Describe(const std::vector<Box>& boxes) {
    std::string text = std::to_string(boxes.size()) + " boxes:";
    for (const Box& box : boxes) text += " [" + box.title + ": " + box.text + "]";
    return text;
}

bool Context::HasState(Window window, const std::string& atom) {
    const auto states = x.Info(window).netStates;
    return std::find(states.begin(), states.end(), atom) != states.end();
}

}  // namespace e2e
