#pragma once
// A call to a desktop service on the session bus, as the window backends make them: bounded in
// time, and never starting the service (a desktop that is not running is not one to start).

#include <QDBusMessage>
#include <QString>
#include <QVariantList>

namespace velmora::qt {

// Calls `method` of `service`; the answer, or RuntimeError when the service is not there,
// fails or does not answer within the compositor's reply limit.
QDBusMessage CallWithoutStarting(const QString& service, const QString& path,
                                 const QString& interface, const QString& method,
                                 const QVariantList& arguments = {});

}  // namespace velmora::qt
