// The program as a screen reader presents it: every control's role and name, the list's columns
// and rows, the input box, a tick made with the keyboard announced on the bus, and the order in
// which Tab visits the controls.

#include <algorithm>

#include "Scenario.h"

namespace e2e {

namespace {

struct Expected {
    const char* role;
    const char* name;
};

constexpr Expected kControls[] = {
    {"push button", "Check All"},
    {"push button", "Uncheck All"},
    {"push button", "Check Entries Containing X"},
    {"push button", "Check Entries Not Containing X"},
    {"push button", "Hide Checked (Ctrl+Shift+H)"},
    {"push button", "Show Checked (Ctrl+Shift+S)"},
    {"push button", "Close Checked (Ctrl+Shift+C)"},
    {"push button", "Minimize Checked (Ctrl+Shift+M)"},
    {"push button", "Maximize Checked (Ctrl+Shift+X)"},
    {"push button", "Restore Checked (Ctrl+Shift+R)"},
    {"push button", "Refresh List (Ctrl+Shift+L)"},
    {"push button", "Help"},
    {"panel", "Refresh Option"},
    {"radio button", "Refresh list manually with a button"},
    {"radio button", "Refresh list automatically"},
    {"text", "Refresh interval in seconds"},
    {"push button", "?"},
    {"panel", "This Window Priority Option"},
    {"radio button", "Treat this software as a regular window"},
    {"radio button", "Keep this software on top of other windows"},
};

// Tab from the list through the form and back to it, with automatic refresh chosen so that the
// interval field takes part: of each frame's options only the selected one is a stop.
constexpr const char* kTabOrder[] = {
    "PushButton2",  "PushButton3", "PushButton4",  "PushButton5", "PushButton6",
    "PushButton7",  "PushButton8", "PushButton9",  "PushButton10", "PushButton11",
    "PushButton1",  "PushButton12", "Option4",     "Text1",       "PushButton13",
    "Option1",      "ListView1",
};

std::string FocusedControl(const FormState& state) {
    for (const auto& [name, control] : state.controls) {
        if (control.focused) return name;
    }
    return "nothing";
}

void ScreenReaderView(Context& c) {
    const Accessible frame = c.app.Frame();
    c.results.Check(frame.Role() == "frame" && frame.Name() == "Velmora Suite",
                    "the window is a frame named Velmora Suite",
                    frame.Role() + " " + frame.Name());
    const Accessible list = c.app.Control("ListView1");
    c.results.Check(list.Name() == "Open windows" && list.ColumnCount() == 2 &&
                        list.ColumnHeader(0) == "Open Windows" && list.ColumnHeader(1) == "Status",
                    "the list is a table named Open windows, its columns Open Windows and Status",
                    list.Role() + " " + list.Name() + " [" + list.ColumnHeader(0) + "][" +
                        list.ColumnHeader(1) + "]");
    const Accessible firstCell = list.Cell(0, 0);
    c.results.Check(list.RowCount() > 0 && firstCell.Role() == "table cell" &&
                        firstCell.Actions() == std::vector<std::string>{"Toggle"},
                    "a row's first cell is a table cell that can be toggled", firstCell.Role());
    // Its Toggle ticks the row and unticks it again, as a click on the check box does.
    const std::string title = firstCell.Name();
    const bool before = firstCell.Checked();
    for (const bool ticked : {!before, before}) {
        firstCell.DoAction("Toggle");
        c.results.Check(c.app.WaitForRows([&](const FormState& s) {
            return s.Row(title) && s.Row(title)->checked == ticked;
        }), std::string("the cell's Toggle ") + (ticked ? "ticks" : "unticks") + " its row");
    }

    std::vector<Accessible> objects = frame.FindAll([](const Accessible&) { return true; });
    for (const Expected& expected : kControls) {
        const auto found = std::find_if(objects.begin(), objects.end(), [&](const Accessible& a) {
            return a.Role() == expected.role && a.Name() == expected.name;
        });
        const bool pressable = std::string(expected.role) != "push button" ||
                               (found != objects.end() && !found->Actions().empty() &&
                                found->Actions().front() == "Press");
        c.results.Check(found != objects.end() && pressable,
                        std::string("a screen reader finds the ") + expected.role + " \"" +
                            expected.name + "\"");
    }
    const FormState state = c.app.State();
    const auto selected = [&](const char* name) { return state.controls.at(name).value; };
    c.results.Check(selected("Option3") && !selected("Option4") && selected("Option1") &&
                        !selected("Option2"),
                    "the options' selected states are on the bus");

    // The input box: its prompt and its field, and what the answer does.
    c.app.ClickControl("PushButton4");
    Box box;
    std::optional<Window> dialog;
    c.results.Check(c.x.WaitFor([&] { return (dialog = c.app.Dialog(&box.title, &box.text)).has_value(); }),
                    "Check Entries Containing X opens the input box");
    if (!dialog) return;
    const auto fields = c.app.Application().FindAll([](const Accessible& a) {
        return a.Role() == "text" && a.Showing() && a.Name() != "Refresh interval in seconds";
    });
    c.results.Check(box.title == "Velmora" && box.text == "Enter X:" && fields.size() == 1,
                    "a screen reader reads the input box's prompt and finds its field",
                    Describe({box}));
    c.x.Activate(*dialog);
    c.x.WaitFor([&] { return c.x.ActiveWindow() == dialog; });
    for (const char* key : {"a", "l", "p", "h", "a", "Return"}) c.x.Keys(key);
    c.results.Check(c.app.WaitForRows([](const FormState& s) {
        const RowState* alphaRow = s.Row("E2E Alpha");
        const RowState* beta = s.Row("E2E Beta");
        return alphaRow && alphaRow->checked && beta && !beta->checked;
    }),
                    "the answer Alpha ticks the matching row only");
    c.app.ClickControl("PushButton3");
    c.app.WaitForRows([](const FormState& s) {
        return std::none_of(s.rows.begin(), s.rows.end(), [](const RowState& r) { return r.checked; });
    });
}

// Clicks the title of the row E2E Alpha, well right of its check box, which makes it the list's
// current row without ticking it; true once the list has the focus.
bool FocusList(Context& c) {
    const Accessible list = c.app.Control("ListView1");
    int row = 0;
    while (row < list.RowCount() && list.Cell(row, 0).Name() != "E2E Alpha") ++row;
    const std::optional<ScreenBox> title = list.Cell(row, 0).Extents();
    if (!title) return false;
    c.app.Bring();
    c.x.Click(DefaultRootWindow(c.x.display()), title->x + title->width / 2,
              title->y + title->height / 2);
    return c.x.WaitFor([&] { return c.app.State().controls.at("ListView1").focused; });
}

void KeyboardTick(Context& c) {
    if (!c.results.Check(FocusList(c), "a click on a row's title gives the list the focus")) {
        return;
    }
    CheckAnnouncements announcements;
    for (const bool ticked : {true, false}) {
        const std::string what = ticked ? "ticks" : "unticks";
        c.app.Keys("space");
        c.results.Check(c.app.WaitForRows([&](const FormState& s) {
            const RowState* alpha = s.Row("E2E Alpha");
            return alpha && alpha->checked == ticked;
        }),
                        "Space " + what + " the focused row");
        std::vector<std::pair<std::string, bool>> heard;
        c.results.Check(c.x.WaitFor([&] {
            for (auto& each : announcements.Take()) heard.push_back(each);
            return std::find(heard.begin(), heard.end(), std::pair{std::string("E2E Alpha"),
                                                                    ticked}) != heard.end();
        }),
                        "and the bus announces that the row is now " +
                            std::string(ticked ? "checked" : "unchecked"));
    }
}

void TabOrder(Context& c) {
    c.app.ClickControl("Option4");
    c.x.WaitFor([&] { return c.app.State().controls.at("Text1").enabled; });
    FocusList(c);
    std::string order = FocusedControl(c.app.State());
    bool inOrder = true;
    for (const char* expected : kTabOrder) {
        c.app.Keys("Tab");
        std::string focused;
        inOrder = c.x.WaitFor([&] {
            focused = FocusedControl(c.app.State());
            return focused == expected;
        }) && inOrder;
        order += " " + focused;
    }
    c.results.Check(inOrder, "Tab visits the list, the buttons row by row, each frame's selected "
                             "option with the field and ? between, and the list again",
                    order);
    c.app.ClickControl("Option3");
}

}  // namespace

void AccessibilityScenario(Context& c) {
    ScreenReaderView(c);
    KeyboardTick(c);
    TabOrder(c);
}

}  // namespace e2e
