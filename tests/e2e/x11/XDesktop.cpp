#include "XDesktop.h"

#include "Accessible.h"

namespace e2e {

namespace {

// Where a row's check box is drawn: a square as tall as the row's text at the start of its first
// cell, after the item's margin.
constexpr int kCheckBoxMargin = 3;

}  // namespace

Desktop::WindowId XDesktop::ProgramWindow(pid_t pid, const std::string& title,
                                          WindowId except) {
    for (const Window window : x_.StackingTopFirst()) {
        // Any window may claim the program's process id; its toolkit also names it by its
        // class.
        if (window != except && x_.Cardinal(window, "_NET_WM_PID") == pid &&
            x_.TextProperty(window, "WM_CLASS").starts_with("velmora") &&
            x_.Info(window).viewable && x_.TextProperty(window, "_NET_WM_NAME") == title) {
            return window;
        }
    }
    return 0;
}

void XDesktop::Press(const Accessible& control) {
    const std::optional<ScreenBox> box = control.Extents();
    if (!box) return;
    x_.Click(DefaultRootWindow(x_.display()), box->x + box->width / 2, box->y + box->height / 2);
}

void XDesktop::PressCheckBox(const Accessible& list, int row) {
    const std::optional<ScreenBox> box = list.Cell(row, 0).Extents();
    if (!box) return;
    const int half = box->height / 2;
    x_.Click(DefaultRootWindow(x_.display()), box->x + kCheckBoxMargin + half, box->y + half);
}

}  // namespace e2e
