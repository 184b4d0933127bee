// The window commands: each walks the rows counted once and acts on the window of every
// checked row. Close waits between windows, and a rebuild of the list during a wait must not
// change which windows it closes, so it takes the checked rows' windows before the first one.

#include "ErrorTrap.h"
#include "Form1.h"
#include "Globals.h"
#include "Main.h"
#include "sendkeys/MSendInput.h"

namespace velmora {

namespace {
constexpr double kCloseWaitSeconds = 0.5;
}  // namespace

void Form1::PushButton6_Click() {
    ShowChecked("PushButton6_Click", DesktopCommand::Hide, kSwHide, "Hidden", false);
}

void Form1::PushButton7_Click() {
    ShowChecked("PushButton7_Click", DesktopCommand::Show, kSwRestore, "Visible", false);
}

void Form1::PushButton9_Click() {
    ShowChecked("PushButton9_Click", DesktopCommand::Minimize, kSwMinimize, "Visible", true);
}

void Form1::PushButton10_Click() {
    ShowChecked("PushButton10_Click", DesktopCommand::Maximize, kSwShowMaximized, "Visible", false);
}

void Form1::PushButton11_Click() {
    ShowChecked("PushButton11_Click", DesktopCommand::Restore, kSwRestore, "Visible", false);
}

int Form1::RowCount() { return widgets_.RowCount(kListView); }

Hwnd Form1::RowHandle(int row) const {
    if (row < 1 || row > static_cast<int>(rowHandles_.size())) {
        throw RuntimeError::SubscriptOutOfRange();
    }
    return rowHandles_[static_cast<std::size_t>(row - 1)];
}

void Form1::ShowChecked(std::string_view procedure, DesktopCommand command, int showCommand,
                        std::string_view status, bool refreshAfter) {
    if (!DesktopOffers(command)) return;
    ErrorTrap trap(runtime_, "Form1", procedure);
    if (trap.test(100, [&] { return RowCount() > 0; })) {
        int rows = 0;
        trap(102, [&] { rows = RowCount(); });
        const unsigned generation = listGeneration_;
        for (int row = 1; row <= rows && generation == listGeneration_; ++row) {
            if (trap.test(104, [&] { return widgets_.RowChecked(kListView, row); })) {
                trap(106, [&] { windows_.ShowWindow(RowHandle(row), showCommand); });
                trap(108, [&] { widgets_.SetRowSubItem(kListView, row, 1, status); });
            }
        }
    }
    if (refreshAfter) trap(112, [&] { PushButton1_Click(); });
}

void Form1::PushButton8_Click() {
    if (!DesktopOffers(DesktopCommand::Close)) return;
    ErrorTrap trap(runtime_, "Form1", "PushButton8_Click");
    if (trap.test(100, [&] { return RowCount() > 0; })) {
        int rows = 0;
        trap(102, [&] { rows = RowCount(); });
        std::vector<RowWindow> checked;
        for (int row = 1; row <= rows; ++row) {
            if (!trap.test(104, [&] { return widgets_.RowChecked(kListView, row); })) continue;
            trap(106, [&] {
                checked.push_back({widgets_.RowText(kListView, row), RowHandle(row)});
            });
        }
        for (const RowWindow& window : checked) {
            // Alt+F4 goes only to a window that carries the row's title and is in front; a close
            // request goes only to the row's own window, still carrying its title.
            bool switched = false;
            trap(106, [&] {
                SwitchToRowWindow(window);
                switched = true;
            });
            if (switched) trap(108, [&] { CloseRowWindow(window); });
            trap(110, [&] { WaitSeconds(runtime_, kCloseWaitSeconds); });
        }
    }
    trap(114, [&] { PushButton1_Click(); });
}

void Form1::SwitchToRowWindow(const RowWindow& window) {
    if (windows_.ClosesByRequest()) {
        // Checked before and after: nothing else is brought forward for a window that is gone,
        // and a window that cannot take focus is closed all the same.
        if (windows_.WindowTitle(window.handle) != window.title) {
            throw RuntimeError::InvalidProcedureCall();
        }
        windows_.ActivateWindow(window.title, window.handle);
        if (windows_.WindowTitle(window.handle) != window.title) {
            throw RuntimeError::InvalidProcedureCall();
        }
        return;
    }
    windows_.ActivateWindow(window.title, window.handle);
    const Hwnd front = windows_.GetForegroundWindow();
    if (front == 0 || front == globals_.MainWindowHandle ||
        windows_.WindowTitle(front) != window.title) {
        throw RuntimeError::InvalidProcedureCall();
    }
}

void Form1::CloseRowWindow(const RowWindow& window) {
    if (windows_.ClosesByRequest()) {
        windows_.RequestClose(window.handle);
    } else {
        sendInput_.SendKeySequence("%{F4}", false);
    }
}

}  // namespace velmora
