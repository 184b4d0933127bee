// "Refresh List" and "Check All" on the Linux program's own window (Qt on X11), over the windows
// that scripts/bench puts on the desktop: the time from the click to the list painted, as the
// user waits for it. Prints medians in the same lines as the Windows driver's measurements.

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QTreeWidget>
#include <algorithm>
#include <cstdio>
#include <exception>
#include <vector>

#include "app/Program.h"
#include "platform/qt/Pictures.h"
#include "platform/qt/QtFormWidgets.h"
#include "platform/qt/QtRuntime.h"
#include "platform/qt/QtTrayShell.h"
#include "platform/x11/QtClientIds.h"
#include "platform/x11/QtTrayAnnouncements.h"
#include "platform/x11/X11Keyboard.h"
#include "platform/x11/X11WindowSystem.h"
#include "platform/x11/XConnection.h"

namespace {

// Counts the paint events a widget receives.
class PaintCounter : public QObject {
public:
    explicit PaintCounter(QWidget& widget) { widget.installEventFilter(this); }
    int Count() const { return count_; }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) ++count_;
        return false;
    }

private:
    int count_ = 0;
};

QAbstractButton* Button(QWidget& form, const QString& caption) {
    for (auto* button : form.findChildren<QAbstractButton*>()) {
        if (button->text() == caption) return button;
    }
    return nullptr;
}

// Clicks the button and takes events until the list has painted; milliseconds, or -1.
double ClickUntilPainted(QAbstractButton& button, const PaintCounter& paints) {
    const int before = paints.Count();
    QElapsedTimer timer;
    timer.start();
    button.click();
    while (paints.Count() == before) {
        if (timer.elapsed() > 30000) return -1;
        QApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 50);
    }
    return static_cast<double>(timer.nsecsElapsed()) / 1e6;
}

double MedianOfFive(QAbstractButton& button, const PaintCounter& paints, QAbstractButton* between) {
    std::vector<double> times;
    for (int run = 0; run < 5; ++run) {
        if (between != nullptr) ClickUntilPainted(*between, paints);
        times.push_back(ClickUntilPainted(button, paints));
    }
    std::sort(times.begin(), times.end());
    return times[2];
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "xcb");
    QApplication application(argc, argv);
    using namespace velmora;
    try {
        x11::XConnection connection;
        qt::Pictures pictures;
        qt::QtFormWidgets widgets(pictures);
        qt::QtRuntime runtime(pictures);
        x11::X11WindowSystem windows(connection, x11::QtClientIds());
        x11::X11Keyboard keyboard(connection);
        qt::QtTrayShell shell(pictures, x11::WatchTrayAnnouncements);
        Platform platform{windows, keyboard, runtime, widgets, shell};
        Program program(platform);
        program.Start();

        QWidget& form = *widgets.Form();
        auto* list = form.findChild<QTreeWidget*>();
        QAbstractButton* refresh = Button(form, QStringLiteral("Refresh List (Ctrl+Shift+L)"));
        QAbstractButton* checkAll = Button(form, QStringLiteral("Check All"));
        QAbstractButton* uncheckAll = Button(form, QStringLiteral("Uncheck All"));
        if (list == nullptr || refresh == nullptr || checkAll == nullptr || uncheckAll == nullptr) {
            std::fprintf(stderr, "the form lacks its list or buttons\n");
            return 1;
        }
        PaintCounter paints(*list->viewport());
        QElapsedTimer settle;
        settle.start();
        while (settle.elapsed() < 1000) QApplication::processEvents(QEventLoop::AllEvents, 50);

        const double refreshMs = MedianOfFive(*refresh, paints, nullptr);
        const int rows = list->topLevelItemCount();
        std::printf("refresh over %d rows, click to painted: %.1f ms (median of 5)\n", rows, refreshMs);
        const double checkAllMs = MedianOfFive(*checkAll, paints, uncheckAll);
        std::printf("check all over %d rows, click to painted: %.1f ms (median of 5)\n", rows, checkAllMs);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "velmora_qt_bench: %s\n", error.what());
        return 1;
    }
    return 0;
}
