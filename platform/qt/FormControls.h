#pragma once
// The Qt objects that stand for the controls of a design table, one entry per control.

#include <QAction>
#include <QMenu>
#include <QTimer>
#include <QWidget>
#include <memory>
#include <vector>

#include "platform/Widgets.h"

namespace velmora::qt {

// Non-owning: every object belongs to the form (Qt parent ownership).
struct FormControl {
    ControlKind kind{};
    QWidget* widget = nullptr;  // visible controls and menus
    QTimer* timer = nullptr;
    QAction* action = nullptr;  // menu items
};

// Pixels per twip on the screen the form is shown on.
double PixelsPerTwip();
int TwipsToPixels(int twips, double pixelsPerTwip);

// Creates the form and every control of the design, wired to `events`.
std::unique_ptr<QWidget> BuildForm(const FormSpec& design, FormEvents& events,
                                   std::vector<FormControl>& controls);

}  // namespace velmora::qt
