#include "QtTrayShell.h"

#include <QIcon>
#include <algorithm>
#include <cstring>
#include <utility>

namespace velmora::qt {

namespace {

constexpr Hwnd kTrayWindow = 0x7E1A0001;
constexpr unsigned kTaskbarCreated = 0xC0DE;
// The shortest and longest time a balloon stays, as the notification area allows.
constexpr std::uint32_t kShortestBalloon = 10000, kLongestBalloon = 30000;

QString Field(const char* text, std::size_t size) {
    return QString::fromUtf8(text, static_cast<qsizetype>(strnlen(text, size)));
}

std::intptr_t MouseNotification(QSystemTrayIcon::ActivationReason reason) {
    switch (reason) {
        case QSystemTrayIcon::Context: return kWmRButtonUp;
        case QSystemTrayIcon::DoubleClick: return kWmLButtonDblClk;
        case QSystemTrayIcon::MiddleClick: return kWmMButtonUp;
        default: return kWmLButtonUp;
    }
}

}  // namespace

QtTrayShell::QtTrayShell(Pictures& pictures, TrayStartWatch watchTrayStarts)
    : pictures_(pictures), watchTrayStarts_(std::move(watchTrayStarts)) {}

QtTrayShell::~QtTrayShell() = default;

// As with a restarted Windows shell, the icons of the old notification area are gone: the
// program adds its icon again when it is told.
void QtTrayShell::TrayStarted() {
    icons_.clear();
    Deliver(kTrayWindow, kTaskbarCreated, 0, 0);
}

Hwnd QtTrayShell::TrayWindow() { return kTrayWindow; }

unsigned QtTrayShell::TaskbarCreatedMessage() { return kTaskbarCreated; }

Picture QtTrayShell::TrayIconPicture() {
    if (trayPicture_ == 0) trayPicture_ = pictures_.Add(QPixmap(QStringLiteral(":/velmora.png")));
    return trayPicture_;
}

WindowProc QtTrayShell::SetWindowProc(Hwnd window, WindowProc procedure) {
    WindowProc previous = std::move(procedures_[window]);
    procedures_[window] = std::move(procedure);
    if (window == kTrayWindow && !trayStarts_ && watchTrayStarts_) {
        trayStarts_ = watchTrayStarts_([this] { TrayStarted(); });
    }
    return previous;
}

void QtTrayShell::Deliver(Hwnd window, unsigned message, std::uintptr_t wParam,
                          std::intptr_t lParam) {
    const auto at = procedures_.find(window);
    if (at == procedures_.end() || !at->second) return;
    // A copy: the procedure may replace itself while it runs.
    const WindowProc procedure = at->second;
    procedure(window, message, wParam, lParam);
}

void QtTrayShell::Apply(Icon& icon, const NotifyIconRecord& record) {
    if (record.uFlags & kNifMessage) icon.callbackMessage = record.uCallbackMessage;
    if (record.uFlags & kNifIcon) icon.icon->setIcon(QIcon(pictures_.Pixmap(record.hIcon)));
    if (record.uFlags & kNifTip) icon.icon->setToolTip(Field(record.szTip, sizeof record.szTip));
    if (record.uFlags & kNifInfo) {
        const QString info = Field(record.szInfo, sizeof record.szInfo);
        if (info.isEmpty()) {
            icon.icon->showMessage({}, {}, QSystemTrayIcon::NoIcon, 1);
            icon.balloonTimeout->stop();
            return;
        }
        const std::uint32_t milliseconds =
            std::clamp(record.uTimeout, kShortestBalloon, kLongestBalloon);
        icon.icon->showMessage(Field(record.szInfoTitle, sizeof record.szInfoTitle), info,
                               QSystemTrayIcon::Information, static_cast<int>(milliseconds));
        icon.balloonTimeout->start(static_cast<int>(milliseconds));
    }
}

bool QtTrayShell::NotifyIcon(unsigned message, const NotifyIconRecord& record) {
    if (!QSystemTrayIcon::isSystemTrayAvailable()) return false;
    const auto key = std::make_pair(record.hWnd, record.uID);
    if (message == kNimDelete) return icons_.erase(key) > 0;
    const auto at = icons_.find(key);
    if (message == kNimModify) {
        if (at == icons_.end()) return false;
        Apply(at->second, record);
        return true;
    }
    if (message != kNimAdd || at != icons_.end()) return false;
    Icon& icon = icons_[key];
    icon.icon = std::make_unique<QSystemTrayIcon>();
    icon.balloonTimeout = std::make_unique<QTimer>();
    icon.balloonTimeout->setSingleShot(true);
    const Hwnd window = record.hWnd;
    const std::uint32_t id = record.uID;
    Icon* self = &icon;  // map nodes stay where they are
    QObject::connect(icon.icon.get(), &QSystemTrayIcon::activated,
                     [this, self, window, id](QSystemTrayIcon::ActivationReason reason) {
                         const std::uint32_t callback = self->callbackMessage;
                         Deliver(window, callback, id, MouseNotification(reason));
                         // Windows follows a double click with the button's release, and the
                         // program answers releases; Qt reports the double click alone.
                         if (reason == QSystemTrayIcon::DoubleClick) {
                             Deliver(window, callback, id, kWmLButtonUp);
                         }
                     });
    QObject::connect(icon.icon.get(), &QSystemTrayIcon::messageClicked, [this, self, window, id] {
        self->balloonTimeout->stop();
        Deliver(window, self->callbackMessage, id, kNinBalloonUserClick);
    });
    QObject::connect(icon.balloonTimeout.get(), &QTimer::timeout, [this, self, window, id] {
        Deliver(window, self->callbackMessage, id, kNinBalloonTimeout);
    });
    Apply(icon, record);
    icon.icon->show();
    return true;
}

}  // namespace velmora::qt
