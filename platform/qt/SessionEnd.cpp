#include "SessionEnd.h"

#include <fcntl.h>
#include <unistd.h>

#include <QGuiApplication>
#include <QSessionManager>
#include <QSocketNotifier>
#include <array>
#include <cerrno>
#include <csignal>

namespace velmora::qt {

namespace {

constexpr std::array kEndingSignals{SIGTERM, SIGHUP};

// The pipe's ends: the handler writes to [1], the event loop reads [0].
int signalPipe[2] = {-1, -1};

extern "C" void WakeEventLoop(int) {
    const int saved = errno;
    const char byte = 1;
    // A full pipe already holds a wake-up.
    [[maybe_unused]] const auto written = write(signalPipe[1], &byte, 1);
    errno = saved;
}

// What each signal did before the program took it over; put back at the end.
std::array<struct sigaction, kEndingSignals.size()> previousActions;

// A signal ignored at launch (nohup) stays ignored: whoever started the program chose so.
void TakeOverSignals() {
    struct sigaction action {};
    action.sa_handler = WakeEventLoop;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (std::size_t i = 0; i < kEndingSignals.size(); ++i) {
        sigaction(kEndingSignals[i], nullptr, &previousActions[i]);
        if (previousActions[i].sa_handler != SIG_IGN) {
            sigaction(kEndingSignals[i], &action, nullptr);
        }
    }
}

void RestoreSignals() {
    for (std::size_t i = 0; i < kEndingSignals.size(); ++i) {
        sigaction(kEndingSignals[i], &previousActions[i], nullptr);
    }
}

}  // namespace

SessionEnd::SessionEnd(std::function<void()> shutdown) : shutdown_(std::move(shutdown)) {
    if (pipe2(signalPipe, O_CLOEXEC | O_NONBLOCK) == 0) {
        signals_ = std::make_unique<QSocketNotifier>(signalPipe[0], QSocketNotifier::Read);
        connect(signals_.get(), &QSocketNotifier::activated, this, [this] { SignalArrived(); });
        TakeOverSignals();
    }
    // Settings are saved as they change, so there is nothing to commit: the session's end is
    // the program's. The shutdown runs once the session manager's call has returned.
    connect(qApp, &QGuiApplication::commitDataRequest, this,
            [this](QSessionManager&) { shutdown_(); }, Qt::QueuedConnection);
    // A quit that did not come from the program's own shutdown runs it now; after the program's
    // own, the shutdown finds the program ended and does nothing.
    connect(qApp, &QCoreApplication::aboutToQuit, this, [this] { shutdown_(); });
}

SessionEnd::~SessionEnd() {
    if (!signals_) return;
    RestoreSignals();
    signals_.reset();
    close(signalPipe[0]);
    close(signalPipe[1]);
    signalPipe[0] = signalPipe[1] = -1;
}

void SessionEnd::SignalArrived() {
    char bytes[16];
    while (read(signalPipe[0], bytes, sizeof bytes) > 0) {
    }
    shutdown_();
}

}  // namespace velmora::qt
