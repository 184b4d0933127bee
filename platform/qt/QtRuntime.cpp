#include "QtRuntime.h"

#include <QApplication>
#include <QDateTime>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QInputDialog>
#include <QLocale>
#include <QMessageBox>
#include <QSettings>
#include <QStandardPaths>
#include <QTimer>
#include <QWidget>
#include <algorithm>
#include <chrono>

#include "QtText.h"
#include "platform/NumberText.h"
#include "platform/RuntimeError.h"

namespace velmora::qt {

namespace {

QString Q(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// The store's file: organisation `app`, application `section`, where Qt keeps a user's native
// settings. A path that holds anything but an ordinary file is no store and is never opened:
// reading a FIFO would block for good, and a write would replace whatever is there.
void RefuseAnythingButAFile(const QString& path) {
    const QFileInfo file(path);
    if (file.exists() && !file.isFile()) throw RuntimeError::PathFileAccess();
}

QString StorePath(std::string_view app, std::string_view section) {
    const QString path = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
                         '/' + Q(app) + '/' + Q(section) + QStringLiteral(".conf");
    RefuseAnythingButAFile(path);
    return path;
}

char LocaleDecimalPoint() {
    const QString point = QLocale().decimalPoint();
    return point.size() == 1 && point[0].unicode() < 0x80 ? static_cast<char>(point[0].unicode())
                                                          : '.';
}

}  // namespace

std::string QtRuntime::GetSetting(std::string_view app, std::string_view section,
                                  std::string_view key, std::string_view fallback) {
    const QSettings store(StorePath(app, section), QSettings::IniFormat);
    if (store.status() == QSettings::AccessError) throw RuntimeError::PathFileAccess();
    return store.value(Q(key), Q(fallback)).toString().toStdString();
}

void QtRuntime::SaveSetting(std::string_view app, std::string_view section, std::string_view key,
                            std::string_view value) {
    const QString path = StorePath(app, section);
    // A write takes the lock file beside the store, whose read would block on a FIFO as well.
    RefuseAnythingButAFile(path + QStringLiteral(".lock"));
    QSettings store(path, QSettings::IniFormat);
    store.setValue(Q(key), Q(value));
    store.sync();
    if (store.status() != QSettings::NoError) throw RuntimeError::PathFileAccess();
}

void QtRuntime::ThrowIfEnded() const {
    if (ended_) throw ProgramEnded();
}

int QtRuntime::MsgBox(std::string_view text, int style, std::string_view title) {
    ThrowIfEnded();
    QMessageBox box(QApplication::activeWindow());
    box.setWindowTitle(Q(title));
    box.setText(Q(text));
    box.setIcon((style & vbExclamation) == vbExclamation ? QMessageBox::Warning
                                                         : QMessageBox::NoIcon);
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
    ThrowIfEnded();
    return vbOK;
}

std::string QtRuntime::InputBox(std::string_view prompt, std::string_view title) {
    ThrowIfEnded();
    bool accepted = false;
    const QString text = QInputDialog::getText(QApplication::activeWindow(), Q(title), Q(prompt),
                                               QLineEdit::Normal, {}, &accepted);
    ThrowIfEnded();
    return accepted ? text.toStdString() : std::string();
}

void QtRuntime::DoEvents() {
    ThrowIfEnded();
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    ThrowIfEnded();
}

void QtRuntime::WaitForEvents(double seconds) {
    ThrowIfEnded();
    // The timer's own event ends the wait when nothing else arrives first.
    QTimer deadline;
    deadline.setSingleShot(true);
    deadline.start(std::max(0, static_cast<int>(seconds * 1000.0)));
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    ThrowIfEnded();
}

double QtRuntime::MonotonicSeconds() {
    using Seconds = std::chrono::duration<double>;
    return std::chrono::duration_cast<Seconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

double QtRuntime::LocalNowSeconds() {
    const QDateTime now = QDateTime::currentDateTime();
    return static_cast<double>(now.toMSecsSinceEpoch()) / 1000.0 + now.offsetFromUtc();
}

// The program ends through its event loops, every one of which now returns, so that main's
// objects are destroyed: the tray icon, and spare keycodes lent to the keyboard, go with them.
void QtRuntime::End() {
    ended_ = true;
    for (QWidget* window : QApplication::topLevelWidgets()) window->hide();
    QCoreApplication::exit(0);
    throw ProgramEnded();
}

std::string QtRuntime::AppPath() { return QCoreApplication::applicationDirPath().toStdString(); }

char QtRuntime::PathSeparator() { return '/'; }

void QtRuntime::FileDateTime(std::string_view path) {
    if (!QFileInfo::exists(Q(path))) throw RuntimeError::FileNotFound();
}

std::string QtRuntime::FindOrdinaryFile(std::string_view path) {
    const QFileInfo info(Q(path));
    return info.isFile() && !info.isHidden() ? info.fileName().toStdString() : std::string();
}

std::string QtRuntime::ReadTextFile(std::string_view path, std::size_t mostBytes) {
    QFile file(Q(path));
    if (!file.open(QIODevice::ReadOnly)) throw RuntimeError::FileNotFound();
    const QByteArray text = file.read(static_cast<qint64>(mostBytes) + 1);
    if (static_cast<std::size_t>(text.size()) > mostBytes) throw RuntimeError::OutOfMemory();
    return text.toStdString();
}

Picture QtRuntime::LoadPicture(std::string_view path) { return pictures_.Load(std::string(path)); }

std::string QtRuntime::FormatNumber(double value) {
    return FormatLocaleNumber(value, LocaleDecimalPoint());
}

std::optional<double> QtRuntime::ParseNumber(std::string_view text) {
    return ParseLocaleNumber(text, LocaleDecimalPoint());
}

bool QtRuntime::TextContains(std::string_view text, std::string_view find) {
    return ContainsIgnoringCase(text, find);
}

}  // namespace velmora::qt
