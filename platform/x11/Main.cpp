// Velmora Suite on Linux: the core on Qt Widgets for its own window and on X11 for the others.

#include <QApplication>
#include <cstdio>
#include <exception>
#include <memory>

#include "QtClientIds.h"
#include "QtTrayAnnouncements.h"
#include "X11Keyboard.h"
#include "X11WindowSystem.h"
#include "XConnection.h"
#include "app/Program.h"
#include "platform/qt/Pictures.h"
#include "platform/qt/QtFormWidgets.h"
#include "platform/qt/QtRuntime.h"
#include "platform/qt/QtTrayShell.h"
#include "platform/qt/SessionEnd.h"

int main(int argc, char** argv) {
    // The program works on X11 windows, so its own window must be one too.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "xcb");
    QApplication application(argc, argv);

    using namespace velmora;
    std::unique_ptr<x11::XConnection> connection;
    try {
        connection = std::make_unique<x11::XConnection>();
    } catch (const std::exception& error) {
        std::fprintf(stderr, "velmora: %s\n", error.what());
        return 1;
    }

    qt::Pictures pictures;
    qt::QtFormWidgets widgets(pictures);
    qt::QtRuntime runtime(pictures);
    x11::X11WindowSystem windows(*connection, x11::QtClientIds());
    x11::X11Keyboard keyboard(*connection);
    qt::QtTrayShell shell(pictures, x11::WatchTrayAnnouncements);
    Platform platform{windows, keyboard, runtime, widgets, shell};
    Program program(platform);
    qt::SessionEnd sessionEnd([&program] { program.MainForm().QueryUnload(); });
    if (!program.Start()) return 0;
    return QApplication::exec();
}
