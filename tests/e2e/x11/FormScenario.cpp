// The program's own window: where it appears, its fixed size, and its information boxes as a
// screen reader reads them.

#include <X11/Xutil.h>

#include <cstdlib>

#include "Scenario.h"

namespace e2e {

namespace {

constexpr int kCentreTolerance = 40;  // pixels: the frame and panel shift the centre a little

}  // namespace

void FormScenario(Context& c) {
    ::Display* display = c.x.display();
    const Window form = c.app.form();
    XWindowAttributes attributes{};
    XGetWindowAttributes(display, form, &attributes);
    int left = 0, top = 0;
    Window child = 0;
    XTranslateCoordinates(display, form, DefaultRootWindow(display), 0, 0, &left, &top, &child);
    const int centreX = left + attributes.width / 2, centreY = top + attributes.height / 2;
    const int screenX = DisplayWidth(display, DefaultScreen(display)) / 2;
    const int screenY = DisplayHeight(display, DefaultScreen(display)) / 2;
    c.results.Check(std::abs(centreX - screenX) <= kCentreTolerance &&
                        std::abs(centreY - screenY) <= kCentreTolerance,
                    "the window first appears centred on the screen",
                    std::to_string(centreX) + "," + std::to_string(centreY));

    XSizeHints hints{};
    long supplied = 0;
    XGetWMNormalHints(display, form, &hints, &supplied);
    c.results.Check((hints.flags & PMinSize) && (hints.flags & PMaxSize) &&
                        hints.min_width == hints.max_width &&
                        hints.min_height == hints.max_height && hints.min_width == attributes.width,
                    "the window has a fixed size");

    // An option takes its frame's background: beside its caption it shows the frame's panel.
    const auto option = c.app.Control("Option1").Extents();
    const auto frame = c.app.Control("Option2").Parent().Extents();
    c.results.Check(option && frame &&
                        c.x.PixelAt(option->x + option->width - 2, option->y + 2) ==
                            c.x.PixelAt(frame->x + frame->width - 8, frame->y + frame->height - 6),
                    "an option shows its frame's background");

    const std::pair<const char*, const char*> boxes[] = {
        {"PushButton12", "Questions? Please contact Team Quillfern at "},
        {"PushButton13", "Hidden windows would disappear from the list when Refresh occurs."},
    };
    for (const auto& [button, start] : boxes) {
        c.app.ClickControl(button);
        Box box;
        c.results.Check(c.x.WaitFor([&] { return c.app.Dialog(&box.title, &box.text).has_value(); }),
                        std::string(button) + " opens a message box");
        c.results.Check(box.text.starts_with(start) && box.title == "Velmora",
                        "a screen reader reads the box's title and text", Describe({box}));
        c.app.DismissDialog();
        c.results.Check(c.x.WaitFor([&] { return !c.app.Dialog().has_value(); }),
                        "the message box closes with Return");
    }
}

}  // namespace e2e
