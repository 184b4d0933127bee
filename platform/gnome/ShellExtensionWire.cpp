#include "ShellExtensionWire.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusConnectionInterface>

#include <string>
#include <vector>

#include "platform/RuntimeError.h"
#include "platform/qt/BusCall.h"

namespace velmora::gnome {

namespace {

using wayland::ToplevelRequest;

const QString kService = QStringLiteral("com.quillfern.VelmoraSuite.Windows");
const QString kPath = QStringLiteral("/com/quillfern/VelmoraSuite/Windows");
const QString kInterface = QStringLiteral("com.quillfern.VelmoraSuite.Windows");

// One window as the extension lists it.
struct Listed {
    quint64 id = 0;
    QString title;
    quint32 pid = 0;
    QString appId;
    bool minimized = false, maximized = false, above = false, skipTaskbar = false, focused = false;
};

QDBusMessage CallExtension(const QString& method, const QVariantList& arguments = {}) {
    return qt::CallWithoutStarting(kService, kPath, kInterface, method, arguments);
}

std::vector<Listed> ReadListing(const QDBusMessage& answer) {
    std::vector<Listed> windows;
    if (answer.arguments().isEmpty()) return windows;
    const auto array = answer.arguments().front().value<QDBusArgument>();
    array.beginArray();
    while (!array.atEnd()) {
        Listed window;
        array.beginStructure();
        array >> window.id >> window.title >> window.pid >> window.appId >> window.minimized >>
            window.maximized >> window.above >> window.skipTaskbar >> window.focused;
        array.endStructure();
        windows.push_back(std::move(window));
    }
    array.endArray();
    return windows;
}

unsigned States(const Listed& window) {
    return (window.minimized ? wayland::kToplevelMinimized : 0) |
           (window.maximized ? wayland::kToplevelMaximized : 0) |
           (window.above ? wayland::kToplevelKeepAbove : 0) |
           (window.skipTaskbar ? wayland::kToplevelSkipTaskbar : 0) |
           (window.focused ? wayland::kToplevelActivated : 0);
}

class ShellExtensionWire final : public wayland::ListingToplevelWire {
public:
    // Lists the windows afresh: the listing costs the shell well under a millisecond.
    void Roundtrip() override;
    void Request(Hwnd toplevel, ToplevelRequest request) override;
    // Mutter offers no hidden state to extensions, and no fullscreen request is needed here.
    bool Offers(ToplevelRequest request) const override {
        return request != ToplevelRequest::Hide && request != ToplevelRequest::Show &&
               request != ToplevelRequest::UnsetFullscreen;
    }
};

void ShellExtensionWire::Roundtrip() {
    QDBusMessage answer;
    try {
        answer = CallExtension(QStringLiteral("List"));
    } catch (const RuntimeError&) {
        // Away (lock screen, disabled): nothing to list meanwhile. There but silent: a failure.
        if (ShellExtensionAnswers()) throw;
    }
    std::vector<std::pair<std::uint64_t, wayland::Toplevel>> listing;
    for (const Listed& window : ReadListing(answer)) {
        listing.emplace_back(window.id, wayland::Toplevel{.title = window.title.toStdString(),
                                                          .appId = window.appId.toStdString(),
                                                          .states = States(window),
                                                          .pid = window.pid});
    }
    toplevels_.TakeListing(listing);
}

void ShellExtensionWire::Request(Hwnd toplevel, ToplevelRequest request) {
    if (!Offers(request)) throw RuntimeError::InvalidProcedureCall();
    const quint64 shellId = toplevels_.KeyOf(toplevel);
    if (shellId == 0) return;  // closed since
    const char* method = "";
    switch (request) {
        case ToplevelRequest::SetMaximized: method = "Maximize"; break;
        case ToplevelRequest::UnsetMaximized: method = "Unmaximize"; break;
        case ToplevelRequest::SetMinimized: method = "Minimize"; break;
        case ToplevelRequest::UnsetMinimized: method = "Unminimize"; break;
        case ToplevelRequest::Activate: method = "Activate"; break;
        case ToplevelRequest::Close: method = "Close"; break;
        case ToplevelRequest::SetKeepAbove: method = "MakeAbove"; break;
        case ToplevelRequest::UnsetKeepAbove: method = "UnmakeAbove"; break;
        default: return;
    }
    CallExtension(QString::fromLatin1(method), {QVariant::fromValue(shellId)});
}

}  // namespace

bool ShellExtensionAnswers() {
    const QDBusConnectionInterface* bus = QDBusConnection::sessionBus().interface();
    return bus != nullptr && bus->isServiceRegistered(kService).value();
}

std::unique_ptr<wayland::ForeignToplevelWire> ConnectShellExtension() {
    if (!ShellExtensionAnswers()) return nullptr;
    auto wire = std::make_unique<ShellExtensionWire>();
    try {
        wire->Roundtrip();
    } catch (const RuntimeError&) {
        return nullptr;  // gone or silent: as good as none
    }
    return wire;
}

}  // namespace velmora::gnome
