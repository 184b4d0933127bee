#pragma once
// The notification area on Qt: one QSystemTrayIcon per icon id, its activations delivered to
// the tray window's procedure as the callback messages of the notify-icon protocol.

#include <QObject>
#include <QSystemTrayIcon>
#include <QTimer>
#include <functional>
#include <map>
#include <memory>

#include "Pictures.h"
#include "platform/Shell.h"

namespace velmora::qt {

// Starts watching for a notification area that starts (again) and calls `started` each time;
// the watch lasts as long as the object returned (none where the window system cannot tell).
using TrayStartWatch = std::function<std::unique_ptr<QObject>(std::function<void()> started)>;

class QtTrayShell : public Shell {
public:
    // `watchTrayStarts` is asked once the tray window has a procedure; where it is empty, a
    // restarted notification area goes unnoticed.
    QtTrayShell(Pictures& pictures, TrayStartWatch watchTrayStarts);
    ~QtTrayShell() override;

    bool NotifyIcon(unsigned message, const NotifyIconRecord& record) override;
    Hwnd TrayWindow() override;
    WindowProc SetWindowProc(Hwnd window, WindowProc procedure) override;
    unsigned TaskbarCreatedMessage() override;
    Picture TrayIconPicture() override;

private:
    struct Icon {
        std::unique_ptr<QSystemTrayIcon> icon;
        std::unique_ptr<QTimer> balloonTimeout;
        std::uint32_t callbackMessage = 0;
    };

    void Apply(Icon& icon, const NotifyIconRecord& record);
    void Deliver(Hwnd window, unsigned message, std::uintptr_t wParam, std::intptr_t lParam);
    void TrayStarted();

    Pictures& pictures_;
    TrayStartWatch watchTrayStarts_;
    Picture trayPicture_ = 0;
    std::map<Hwnd, WindowProc> procedures_;
    std::map<std::pair<Hwnd, std::uint32_t>, Icon> icons_;
    // A notification area that starts (again) asks for the icons anew.
    std::unique_ptr<QObject> trayStarts_;
};

}  // namespace velmora::qt
