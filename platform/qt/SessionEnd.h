#pragma once
// Ends the program through its own shutdown when the session or the system ends it: on SIGTERM
// and SIGHUP (unless ignored at launch), on the session manager's request to commit data, and when the application is told
// to quit by anyone but the program itself. The signals only wake the event loop (a byte down a
// pipe); the shutdown runs there, as any other window event does.

#include <QObject>
#include <functional>
#include <memory>

class QSocketNotifier;

namespace velmora::qt {

class SessionEnd : public QObject {
public:
    explicit SessionEnd(std::function<void()> shutdown);
    ~SessionEnd() override;
    SessionEnd(const SessionEnd&) = delete;
    SessionEnd& operator=(const SessionEnd&) = delete;

private:
    void SignalArrived();

    std::function<void()> shutdown_;
    std::unique_ptr<QSocketNotifier> signals_;
};

}  // namespace velmora::qt
