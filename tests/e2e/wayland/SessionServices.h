#pragma once
// What a desktop's panel offers programs on the session bus, owned by the driver so that it
// sees what the program asks of it: a StatusNotifierItem watcher with a host registered (the
// tray), and a notification service (the balloon). They answer on a thread of their own, so
// that the program is answered while the driver waits.

#include <sys/types.h>

#include <memory>
#include <string>
#include <vector>

namespace e2e {

struct Notification {
    std::string summary, body;
};

class SessionServices {
public:
    // Connects to the session bus and owns both names; throws when it cannot.
    SessionServices();
    ~SessionServices();
    SessionServices(const SessionServices&) = delete;
    SessionServices& operator=(const SessionServices&) = delete;

    // The bus names of the items registered with the watcher, oldest first.
    std::vector<std::string> Items() const;
    // The notifications received, oldest first.
    std::vector<Notification> Notifications() const;
    // The process that owns a bus name; 0 when none does.
    pid_t OwnerPid(const std::string& busName) const;
    // Calls the item's Activate, as a panel does when its icon is clicked; false when the call
    // fails.
    bool Activate(const std::string& item) const;

private:
    struct State;
    std::unique_ptr<State> state_;
};

}  // namespace e2e
