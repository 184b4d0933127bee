#pragma once
// The program under test: started with its test seam on, found on the desktop, read through
// the state it publishes on its window, driven with real clicks and keys, stopped by its PID.

#include <sys/types.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "XDriver.h"

namespace e2e {

struct ControlState {
    int x = 0, y = 0;
    bool enabled = false;
    bool value = false;
    std::string text;
};

struct RowState {
    bool checked = false;
    int x = -1, y = -1;
    std::string title;
    std::string status;
};

struct FormState {
    std::map<std::string, ControlState> controls;
    std::vector<RowState> rows;

    std::vector<std::string> Titles() const;
    const RowState* Row(const std::string& title) const;
};

class Velmora {
public:
    Velmora(XDriver& x, std::string program) : x_(x), program_(std::move(program)) {}
    ~Velmora() { Stop(); }
    Velmora(const Velmora&) = delete;
    Velmora& operator=(const Velmora&) = delete;

    // Starts the program and waits for its window; false when it does not appear.
    bool Start() { return Launch() && WaitForForm(); }
    // Starts the program without waiting; false when it cannot be started.
    bool Launch();
    // Waits for the program's main window (the one publishing its state); false when it does
    // not appear in time.
    bool WaitForForm();
    void Stop();
    // Waits for the program to end by itself; its exit status, or nothing.
    std::optional<int> WaitForExit(std::chrono::milliseconds timeout);

    Window form() const { return form_; }
    pid_t pid() const { return pid_; }
    FormState State();

    void ClickControl(const std::string& name);
    // Ticks (or unticks) the row with this title by clicking its check box; true once the list
    // shows it so.
    bool SetTicked(const std::string& title, bool ticked);
    // Real key chord while the program's window is active.
    void Keys(const std::string& chord);
    // A message box of the program's (any window of its but the form), when one is open; its
    // title in `title` and, for a message box, its text in `text`.
    std::optional<Window> Dialog(std::string* title = nullptr, std::string* text = nullptr);
    // Answers the open message box with Return.
    void DismissDialog();
    // Brings the program's window to the front, as the user does before using it.
    void Bring();

private:
    bool OfTheProgram(Window window);

    XDriver& x_;
    std::string program_;
    pid_t pid_ = 0;
    Window form_ = 0;
};

}  // namespace e2e
