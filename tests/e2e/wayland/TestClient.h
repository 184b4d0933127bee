#pragma once
// A run of the project's Wayland test client: toplevels with the titles given, renamed on
// command, their close requests recorded in a log the driver reads.

#include <sys/types.h>

#include <string>
#include <vector>

namespace e2e {

class TestClient {
public:
    // Starts `program` with these toplevels; `asks`: each answers a close request by staying
    // open, like a window with unsaved work. Every client of a run shares the log `log`.
    TestClient(const std::string& program, const std::string& log,
               const std::vector<std::string>& titles, bool asks = false);
    ~TestClient();
    TestClient(const TestClient&) = delete;
    TestClient& operator=(const TestClient&) = delete;

    pid_t pid() const { return pid_; }
    bool Running() const;
    // Renames the toplevel that was the `number`th title (from 1).
    void Rename(int number, const std::string& title);

private:
    void Command(const std::string& line);

    pid_t pid_ = 0;
    int commands_ = -1;  // the client's standard input
};

// The lines the clients logged so far ("closed TITLE", "kept TITLE").
std::vector<std::string> LoggedCloses(const std::string& log);

}  // namespace e2e
