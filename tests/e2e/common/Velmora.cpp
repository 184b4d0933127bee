#include "Velmora.h"

#include <sys/wait.h>

#include <algorithm>

#include "Process.h"
#include "app/FormDesign.h"

namespace e2e {

namespace {

constexpr auto kStartTimeout = std::chrono::seconds(10);
// Qt's bridge otherwise waits for the desktop to say a screen reader runs; Qt's own switch turns
// it on for the program started here.
constexpr char kAccessibilityOn[] = "QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1";

bool IsList(const Accessible& object) {
    const std::string role = object.Role();
    return role == "tree" || role == "table" || role == "tree table";
}

// The window's controls, frames and what lies in them, but not the list's cells.
void CollectControls(const Accessible& parent, std::vector<Accessible>& controls) {
    for (Accessible& child : parent.Children()) {
        controls.push_back(child);
        if (!IsList(child)) CollectControls(child, controls);
    }
}

std::string AccessibleNameOf(const velmora::ControlSpec& entry) {
    return std::string(entry.accessibleName.empty() ? entry.caption : entry.accessibleName);
}

bool Shown(velmora::ControlKind kind) {
    using velmora::ControlKind;
    return kind == ControlKind::ListView || kind == ControlKind::PushButton ||
           kind == ControlKind::Frame || kind == ControlKind::OptionButton ||
           kind == ControlKind::TextBox || kind == ControlKind::CheckBox ||
           kind == ControlKind::Label;
}

std::string ProgramName(const std::string& program) {
    return program.substr(program.rfind('/') + 1);
}

}  // namespace

std::vector<std::string> FormState::Titles() const {
    std::vector<std::string> titles;
    for (const RowState& row : rows) titles.push_back(row.title);
    return titles;
}

const RowState* FormState::Row(const std::string& title) const {
    for (const RowState& row : rows) {
        if (row.title == title) return &row;
    }
    return nullptr;
}

bool Velmora::Launch(const std::vector<std::string>& environment,
                     const std::vector<std::string>& arguments) {
    std::vector<std::string> overrides = environment;
    overrides.emplace_back(kAccessibilityOn);
    std::vector<std::string> command{program_};
    command.insert(command.end(), arguments.begin(), arguments.end());
    pid_ = Spawn(command, overrides);
    form_ = 0;
    application_ = {};
    return pid_ != 0;
}

Accessible Velmora::Application() {
    if (!application_ && pid_ != 0) application_ = FindApplication(ProgramName(program_), pid_);
    return application_;
}

Accessible Velmora::Frame() {
    for (const Accessible& window : Application().Children()) {
        if (window.Role() == "frame") return window;
    }
    return {};
}

bool Velmora::WaitForForm() {
    if (pid_ == 0) return false;
    return desktop_.WaitFor(
        [this] {
            const Accessible frame = Frame();
            if (!frame.Showing()) return false;
            form_ = desktop_.ProgramWindow(pid_, frame.Name(), 0);
            return form_ != 0;
        },
        kStartTimeout);
}

void Velmora::Stop() {
    if (pid_ == 0) return;
    Terminate(pid_);
    pid_ = 0;
    form_ = 0;
    application_ = {};
}

std::optional<int> Velmora::WaitForExit(std::chrono::milliseconds timeout) {
    std::optional<int> status;
    desktop_.WaitFor(
        [&] {
            int raw = 0;
            if (pid_ == 0 || waitpid(pid_, &raw, WNOHANG) != pid_) return false;
            pid_ = 0;
            application_ = {};
            status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
            return true;
        },
        timeout);
    return status;
}

FormState Velmora::State() {
    FormState state;
    std::vector<Accessible> objects;
    CollectControls(Frame(), objects);
    std::map<std::string, const Accessible*> byName;
    for (const Accessible& object : objects) byName.emplace(object.Name(), &object);
    for (const velmora::ControlSpec& entry : velmora::MainFormDesign().controls) {
        const auto found = byName.find(AccessibleNameOf(entry));
        if (!Shown(entry.kind) || found == byName.end()) continue;
        const Accessible& object = *found->second;
        const std::string text = object.Role() == "text" ? object.Text() : found->first;
        state.controls[std::string(entry.name)] = {object.Enabled(), object.Checked(),
                                                  object.Focused(), text};
        if (!IsList(object)) continue;
        for (int row = 0; row < object.RowCount(); ++row) {
            const Accessible title = object.Cell(row, 0);
            state.rows.push_back({title.Checked(), title.Name(), object.Cell(row, 1).Name()});
        }
    }
    return state;
}

bool Velmora::WaitForRows(const std::function<bool(const FormState&)>& condition,
                          std::chrono::milliseconds timeout) {
    return desktop_.WaitFor([&] { return condition(State()); }, timeout);
}

Accessible Velmora::Control(const std::string& name) {
    const auto& controls = velmora::MainFormDesign().controls;
    const auto entry = std::find_if(controls.begin(), controls.end(),
                                    [&](const velmora::ControlSpec& c) { return c.name == name; });
    if (entry == controls.end()) return {};
    std::vector<Accessible> objects;
    CollectControls(Frame(), objects);
    for (const Accessible& object : objects) {
        if (object.Name() == AccessibleNameOf(*entry)) return object;
    }
    return {};
}

void Velmora::ClickControl(const std::string& name) {
    const Accessible control = Control(name);
    if (!control) return;
    Bring();
    desktop_.Press(control);
    desktop_.Pump(std::chrono::milliseconds(100));
}

bool Velmora::SetTicked(const std::string& title, bool ticked) {
    const Accessible list = Control("ListView1");
    int row = 0;
    while (row < list.RowCount() && list.Cell(row, 0).Name() != title) ++row;
    const Accessible cell = list.Cell(row, 0);
    if (!cell.Showing()) return false;
    Bring();
    if (cell.Checked() != ticked) desktop_.PressCheckBox(list, row);
    return desktop_.WaitFor([&] {
        const FormState now = State();
        const RowState* r = now.Row(title);
        return r && r->checked == ticked;
    });
}

std::optional<Desktop::WindowId> Velmora::Dialog(std::string* title, std::string* text) {
    for (const Accessible& window : Application().Children()) {
        const std::string role = window.Role();
        if ((role != "alert" && role != "dialog") || !window.Showing()) continue;
        const Desktop::WindowId shown = desktop_.ProgramWindow(pid_, window.Name(), form_);
        if (!shown) continue;
        if (title) *title = window.Name();
        if (text) {
            text->clear();
            for (const Accessible& label :
                 window.FindAll([](const Accessible& a) { return a.Role() == "label"; })) {
                const std::string name = label.Name();
                if (name.empty()) continue;
                if (!text->empty()) *text += '\n';
                *text += name;
            }
        }
        return shown;
    }
    return std::nullopt;
}

void Velmora::DismissDialog() {
    const std::optional<Desktop::WindowId> dialog = Dialog();
    if (!dialog) return;
    desktop_.Activate(*dialog);
    desktop_.WaitFor([&] { return desktop_.ActiveWindow() == *dialog; });
    desktop_.Keys("Return");
    desktop_.WaitFor([&] { return !desktop_.Shown(*dialog); });
}

void Velmora::PressDialogButton(const std::string& name) {
    for (const Accessible& window : Application().Children()) {
        const std::string role = window.Role();
        if ((role != "alert" && role != "dialog") || !window.Showing()) continue;
        const Accessible button = window.Find([&](const Accessible& a) {
            return a.Role() == "push button" && a.Name() == name;
        });
        if (button) desktop_.Press(button);
    }
}

std::vector<Box> Velmora::AnswerBoxes(std::chrono::milliseconds quiet) {
    std::vector<Box> boxes;
    Box box;
    while (desktop_.WaitFor([&] { return Dialog(&box.title, &box.text).has_value(); }, quiet)) {
        boxes.push_back(box);
        DismissDialog();
    }
    return boxes;
}

std::string Describe(const std::vector<Box>& boxes) {
    std::string text = std::to_string(boxes.size()) + " boxes:";
    for (const Box& box : boxes) text += " [" + box.title + ": " + box.text + "]";
    return text;
}

void Velmora::Bring() {
    if (desktop_.ActiveWindow() == form_) return;
    desktop_.Activate(form_);
    desktop_.WaitFor([this] { return desktop_.ActiveWindow() == form_; });
    desktop_.Pump(std::chrono::milliseconds(100));
}

void Velmora::Keys(const std::string& chord) {
    Bring();
    desktop_.Keys(chord);
    desktop_.Pump(std::chrono::milliseconds(100));
}

}  // namespace e2e
