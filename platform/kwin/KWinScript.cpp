#include "KWinScript.h"

#include <QDir>
#include <QFile>
#include <QTemporaryFile>
#include <unistd.h>

#include "platform/RuntimeError.h"
#include "platform/qt/BusCall.h"

namespace velmora::kwin {

namespace {

const QString kKWin = QStringLiteral("org.kde.KWin");

// The program's name for its script in KWin, one per running program.
QString PluginName() { return QStringLiteral("velmora-suite-%1").arg(::getpid()); }

QDBusMessage CallKWin(const QString& path, const QString& interface, const QString& method,
                      const QVariantList& arguments = {}) {
    return qt::CallWithoutStarting(kKWin, path, interface, method, arguments);
}

QDBusMessage CallScripting(const QString& method, const QVariantList& arguments) {
    return CallKWin(QStringLiteral("/Scripting"), QStringLiteral("org.kde.kwin.Scripting"), method,
                    arguments);
}

void Unload() { CallScripting(QStringLiteral("unloadScript"), {PluginName()}); }

// Unloads the script and removes its file.
void Remove(const QString& path) {
    try {
        Unload();
    } catch (const RuntimeError&) {
        // KWin gone: nothing of the program's is left in it.
    }
    QFile::remove(path);
}

}  // namespace

KWinScript::KWinScript(const std::string& source) {
    QTemporaryFile file(QDir::tempPath() + QStringLiteral("/velmora-suite-XXXXXX.js"));
    file.setAutoRemove(false);
    if (!file.open() || file.write(source.data(), static_cast<qint64>(source.size())) !=
                            static_cast<qint64>(source.size())) {
        file.remove();
        throw RuntimeError::InvalidProcedureCall();
    }
    file.close();
    path_ = file.fileName().toStdString();
    try {
        // One the program left loaded (it ended before unloading) is unloaded first.
        Unload();
        const QDBusMessage loaded =
            CallScripting(QStringLiteral("loadScript"), {file.fileName(), PluginName()});
        const int id = loaded.arguments().value(0).toInt();
        if (id < 0) throw RuntimeError::InvalidProcedureCall();
        // Plasma 6 serves the script under /Scripting, Plasma 5 at the top.
        const QString run = QStringLiteral("run");
        const QString script = QStringLiteral("org.kde.kwin.Script");
        try {
            CallKWin(QStringLiteral("/Scripting/Script%1").arg(id), script, run);
        } catch (const RuntimeError&) {
            CallKWin(QStringLiteral("/%1").arg(id), script, run);
        }
    } catch (const RuntimeError&) {
        Remove(file.fileName());
        throw;
    }
}

KWinScript::~KWinScript() { Remove(QString::fromStdString(path_)); }

}  // namespace velmora::kwin
