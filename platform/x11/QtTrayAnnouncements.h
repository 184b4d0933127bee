#pragma once
// Qt's own X connection told to report a notification area that starts: the watch the tray
// shell asks for on X11.

#include <QObject>
#include <functional>
#include <memory>

namespace velmora::x11 {

// Calls `started` (queued, once Qt has taken the new notification area in) each time one
// announces itself, for as long as the returned object lives; none when Qt does not run on X11.
std::unique_ptr<QObject> WatchTrayAnnouncements(std::function<void()> started);

}  // namespace velmora::x11
