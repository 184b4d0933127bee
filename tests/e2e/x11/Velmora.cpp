#include "Velmora.h"

#include <sys/wait.h>

#include <sstream>
#include <thread>

#include "Process.h"

namespace e2e {

namespace {

constexpr char kStateProperty[] = "_VELMORA_E2E_STATE";
constexpr char kBoxTextProperty[] = "_VELMORA_E2E_TEXT";
constexpr auto kStartTimeout = std::chrono::seconds(10);

std::vector<std::string> Split(const std::string& line, char separator) {
    std::vector<std::string> fields;
    std::stringstream stream(line);
    std::string field;
    while (std::getline(stream, field, separator)) fields.push_back(field);
    return fields;
}

FormState Parse(const std::string& text) {
    FormState state;
    for (const std::string& line : Split(text, '\n')) {
        const auto f = Split(line, '\t');
        if (f.size() >= 6 && f[0] == "control") {
            state.controls[f[1]] = {std::stoi(f[2]), std::stoi(f[3]), f[4] == "1", f[5] == "1",
                                    f.size() > 6 ? f[6] : std::string()};
        } else if (f.size() >= 6 && f[0] == "row") {
            state.rows.push_back({f[2] == "1", std::stoi(f[3]), std::stoi(f[4]), f[5],
                                  f.size() > 6 ? f[6] : std::string()});
        }
    }
    return state;
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

bool Velmora::Launch() {
    pid_ = Spawn({program_}, {"VELMORA_E2E_STATE=1"});
    form_ = 0;
    return pid_ != 0;
}

bool Velmora::WaitForForm() {
    if (pid_ == 0) return false;
    return x_.WaitFor(
        [this] {
            for (const Window window : x_.StackingTopFirst()) {
                if (OfTheProgram(window) && !x_.TextProperty(window, kStateProperty).empty()) {
                    form_ = window;
                    return true;
                }
            }
            return false;
        },
        kStartTimeout);
}

void Velmora::Stop() {
    if (pid_ == 0) return;
    Terminate(pid_);
    pid_ = 0;
    form_ = 0;
}

std::optional<int> Velmora::WaitForExit(std::chrono::milliseconds timeout) {
    std::optional<int> status;
    x_.WaitFor(
        [&] {
            int raw = 0;
            if (pid_ == 0 || waitpid(pid_, &raw, WNOHANG) != pid_) return false;
            pid_ = 0;
            status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
            return true;
        },
        timeout);
    return status;
}

FormState Velmora::State() { return Parse(x_.TextProperty(form_, kStateProperty)); }

void Velmora::ClickControl(const std::string& name) {
    const FormState state = State();
    const auto control = state.controls.find(name);
    if (control == state.controls.end()) return;
    Bring();
    x_.Click(form_, control->second.x, control->second.y);
    x_.Pump(std::chrono::milliseconds(100));
}

bool Velmora::SetTicked(const std::string& title, bool ticked) {
    const FormState state = State();
    const RowState* row = state.Row(title);
    if (!row || row->x < 0) return false;
    Bring();
    if (row->checked != ticked) x_.Click(form_, row->x, row->y);
    return x_.WaitFor([&] {
        const FormState now = State();
        const RowState* r = now.Row(title);
        return r && r->checked == ticked;
    });
}

bool Velmora::OfTheProgram(Window window) {
    // Any window may claim the program's process id; its toolkit also names it by its class.
    return x_.Cardinal(window, "_NET_WM_PID") == pid_ &&
           x_.TextProperty(window, "WM_CLASS").starts_with("velmora");
}

std::optional<Window> Velmora::Dialog(std::string* title, std::string* text) {
    for (const Window window : x_.StackingTopFirst()) {
        if (window != form_ && OfTheProgram(window) && x_.Info(window).viewable &&
            x_.TextProperty(window, kStateProperty).empty()) {
            if (title) *title = x_.TextProperty(window, "_NET_WM_NAME");
            if (text) *text = x_.TextProperty(window, kBoxTextProperty);
            return window;
        }
    }
    return std::nullopt;
}

void Velmora::DismissDialog() {
    const std::optional<Window> dialog = Dialog();
    if (!dialog) return;
    x_.Activate(*dialog);
    x_.WaitFor([&] { return x_.ActiveWindow() == dialog; });
    x_.Keys("Return");
    x_.WaitFor([&] { return !x_.Info(*dialog).viewable; });
}

void Velmora::Bring() {
    if (x_.ActiveWindow() == form_) return;
    x_.Activate(form_);
    x_.WaitFor([this] { return x_.ActiveWindow() == form_; });
    x_.Pump(std::chrono::milliseconds(100));
}

void Velmora::Keys(const std::string& chord) {
    Bring();
    x_.Keys(chord);
    x_.Pump(std::chrono::milliseconds(100));
}

}  // namespace e2e
