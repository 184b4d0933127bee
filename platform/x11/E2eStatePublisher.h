#pragma once
// Test seam, on only when VELMORA_E2E_STATE=1: after every change the form's controls and list
// rows are published as text on the form's window (property _VELMORA_E2E_STATE), so that an
// end-to-end driver can read what the user would see and where to click.
//
// One line per control:  control <TAB> name <TAB> x <TAB> y <TAB> enabled <TAB> value <TAB> text
// and per list row:      row <TAB> number <TAB> checked <TAB> x <TAB> y <TAB> title <TAB> status
// x and y are the centre of the control, or of the row's check box, in the form's window
// coordinates; -1 when the row is scrolled out of view.

#include <QTimer>
#include <functional>
#include <string>

#include "QtFormWidgets.h"

namespace velmora::x11 {

class E2eStatePublisher {
public:
    using Writer = std::function<void(Hwnd window, const std::string& text)>;

    E2eStatePublisher(QtFormWidgets& widgets, Writer writer);

    static bool Enabled();
    // Publishes once the current burst of changes is over.
    void Schedule() { pending_.start(0); }

private:
    std::string Describe();

    QtFormWidgets& widgets_;
    Writer writer_;
    QTimer pending_;
};

}  // namespace velmora::x11
