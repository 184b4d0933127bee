#include "QtTrayAnnouncements.h"

#include <QAbstractNativeEventFilter>
#include <QCoreApplication>
#include <QGuiApplication>
#include <utility>

#include "TrayAnnouncements.h"

namespace velmora::x11 {

namespace {

// Filters Qt's own X events; no timer, so an idle program is never woken by it.
class AnnouncementFilter : public QObject, public QAbstractNativeEventFilter {
public:
    AnnouncementFilter(::Display* display, std::function<void()> started)
        : started_(std::move(started)), announcements_(ListenForTrayAnnouncements(display)) {
        QCoreApplication::instance()->installNativeEventFilter(this);
    }
    ~AnnouncementFilter() override {
        QCoreApplication::instance()->removeNativeEventFilter(this);
    }

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) override {
        if (eventType == "xcb_generic_event_t" &&
            announcements_.Announces(*static_cast<const xcb_generic_event_t*>(message))) {
            // Queued, so that Qt has taken the new notification area in first.
            QMetaObject::invokeMethod(this, [this] { started_(); }, Qt::QueuedConnection);
        }
        return false;
    }

private:
    std::function<void()> started_;
    TrayAnnouncements announcements_;
};

}  // namespace

std::unique_ptr<QObject> WatchTrayAnnouncements(std::function<void()> started) {
    const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (x11 == nullptr) return nullptr;
    return std::make_unique<AnnouncementFilter>(x11->display(), std::move(started));
}

}  // namespace velmora::x11
