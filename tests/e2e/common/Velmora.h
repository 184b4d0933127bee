#pragma once
// The program under test: started with Qt's accessibility on, found on the accessibility bus and
// on the desktop, read as a screen reader reads it, driven with a user's input through the
// desktop, stopped by its PID.

#include <sys/types.h>

#include <chrono>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "Accessible.h"
#include "Desktop.h"

namespace e2e {

// A control as the accessibility bus shows it: its text is a field's content, or else its name.
struct ControlState {
    bool enabled = false;
    bool value = false;  // checked
    bool focused = false;
    std::string text;
};

// A row of the list: its cells' texts, and the first cell's check state.
struct RowState {
    bool checked = false;
    std::string title;
    std::string status;
};

struct FormState {
    // By the control's name in the form's design.
    std::map<std::string, ControlState> controls;
    std::vector<RowState> rows;

    std::vector<std::string> Titles() const;
    const RowState* Row(const std::string& title) const;
};

// One of the program's message boxes.
struct Box {
    std::string title, text;
};
std::string Describe(const std::vector<Box>& boxes);

class Velmora {
public:
    Velmora(Desktop& desktop, std::string program)
        : desktop_(desktop), program_(std::move(program)) {}
    ~Velmora() { Stop(); }
    Velmora(const Velmora&) = delete;
    Velmora& operator=(const Velmora&) = delete;

    // Starts the program and waits for its window; false when it does not appear. Each of
    // `environment` ("NAME=value") replaces or adds one of the driver's variables for it;
    // `arguments` follow the program's name on its command line.
    bool Start(const std::vector<std::string>& environment = {},
               const std::vector<std::string>& arguments = {}) {
        return Launch(environment, arguments) && WaitForForm();
    }
    // Starts the program without waiting; false when it cannot be started.
    bool Launch(const std::vector<std::string>& environment = {},
                const std::vector<std::string>& arguments = {});
    // Waits for the program's main window, shown on the desktop and on the accessibility bus;
    // false when it does not appear in time.
    bool WaitForForm();
    void Stop();
    // Waits for the program to end by itself; its exit status, or nothing.
    std::optional<int> WaitForExit(std::chrono::milliseconds timeout);

    const std::string& program() const { return program_; }
    Desktop::WindowId form() const { return form_; }
    pid_t pid() const { return pid_; }
    FormState State();
    // Waits until the list, read from the program, satisfies `condition`.
    bool WaitForRows(const std::function<bool(const FormState&)>& condition,
                     std::chrono::milliseconds timeout = std::chrono::seconds(5));
    // The program's application on the accessibility bus, and its main window there.
    Accessible Application();
    Accessible Frame();
    // The control with this name in the form's design, found on the bus by its accessible name.
    Accessible Control(const std::string& name);

    // The user's press of the control.
    void ClickControl(const std::string& name);
    // Ticks (or unticks) the row with this title with its check box; true once the list shows
    // it so.
    bool SetTicked(const std::string& title, bool ticked);
    // A key chord while the program's window is active.
    void Keys(const std::string& chord);
    // A box of the program's (an alert or dialog on the bus, and its window), when one is open;
    // its title in `title` and the texts of its labels in `text`.
    std::optional<Desktop::WindowId> Dialog(std::string* title = nullptr,
                                            std::string* text = nullptr);
    // Answers the open message box with Return.
    void DismissDialog();
    // Presses the open box's button with this name, as a screen reader does (for desktops
    // where the driver types no key).
    void PressDialogButton(const std::string& name);
    // Answers the program's message boxes while they keep coming, each within `quiet` of the
    // one before.
    std::vector<Box> AnswerBoxes(std::chrono::milliseconds quiet);
    // Brings the program's window to the front, as the user does before using it.
    void Bring();

private:
    Desktop& desktop_;
    std::string program_;
    pid_t pid_ = 0;
    Desktop::WindowId form_ = 0;
    Accessible application_;
};

}  // namespace e2e
