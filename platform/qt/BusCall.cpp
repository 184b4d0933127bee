#include "BusCall.h"

#include <QDBusConnection>

#include <chrono>

#include "platform/RuntimeError.h"
#include "platform/wayland/IpcError.h"

namespace velmora::qt {

QDBusMessage CallWithoutStarting(const QString& service, const QString& path,
                                 const QString& interface, const QString& method,
                                 const QVariantList& arguments) {
    QDBusMessage call = QDBusMessage::createMethodCall(service, path, interface, method);
    call.setAutoStartService(false);
    call.setArguments(arguments);
    const auto limit = std::chrono::milliseconds(wayland::kCompositorReplyLimit);
    QDBusMessage answer =
        QDBusConnection::sessionBus().call(call, QDBus::Block, static_cast<int>(limit.count()));
    if (answer.type() != QDBusMessage::ReplyMessage) throw RuntimeError::InvalidProcedureCall();
    return answer;
}

}  // namespace velmora::qt
