// The selection commands: ticking rows all at once, none, or by a text in their titles.

#include "ErrorTrap.h"
#include "Form1.h"
#include "Globals.h"

namespace velmora {

void Form1::PushButton2_Click() { SetAllChecks("PushButton2_Click", true); }

void Form1::PushButton3_Click() { SetAllChecks("PushButton3_Click", false); }

void Form1::PushButton4_Click() { CheckMatching("PushButton4_Click", true); }

void Form1::PushButton5_Click() { CheckMatching("PushButton5_Click", false); }

void Form1::SetAllChecks(std::string_view procedure, bool checked) {
    ErrorTrap trap(runtime_, "Form1", procedure);
    int rows = 0;
    trap(100, [&] { rows = RowCount(); });
    for (int row = 1; row <= rows; ++row) {
        trap(102, [&] { widgets_.SetRowChecked(kListView, row, checked); });
    }
}

// Ticks the rows whose title contains X (or does not); other rows keep their marks.
void Form1::CheckMatching(std::string_view procedure, bool containing) {
    ErrorTrap trap(runtime_, "Form1", procedure);
    std::string x;
    trap(100, [&] { x = runtime_.InputBox("Enter X:", globals_.AppTitle); });
    if (trap.test(102, [&] { return x.empty(); })) return;
    int rows = 0;
    trap(104, [&] { rows = RowCount(); });
    for (int row = 1; row <= rows; ++row) {
        if (trap.test(106, [&] {
                return runtime_.TextContains(widgets_.RowText(kListView, row), x) == containing;
            })) {
            trap(108, [&] { widgets_.SetRowChecked(kListView, row, true); });
        }
    }
}

}  // namespace velmora
