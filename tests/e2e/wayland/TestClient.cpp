#include "TestClient.h"

#include <fcntl.h>
#include <unistd.h>

#include <fstream>
#include <stdexcept>

#include "Process.h"

namespace e2e {

TestClient::TestClient(const std::string& program, const std::string& log,
                       const std::vector<std::string>& titles, bool asks) {
    int pipeEnds[2];
    if (pipe2(pipeEnds, O_CLOEXEC) != 0) throw std::runtime_error("no pipe for a test client");
    std::vector<std::string> argv{program, "--log", log};
    if (asks) argv.push_back("--ask");
    argv.insert(argv.end(), titles.begin(), titles.end());
    pid_ = Spawn(argv, {}, Output::Shown, pipeEnds[0]);
    close(pipeEnds[0]);
    commands_ = pipeEnds[1];
    if (pid_ == 0) throw std::runtime_error("the test client does not start");
}

TestClient::~TestClient() {
    if (commands_ >= 0) close(commands_);
    Terminate(pid_);
}

bool TestClient::Running() const { return !Ended(pid_); }

void TestClient::Rename(int number, const std::string& title) {
    Command("title " + std::to_string(number) + " " + title);
}

void TestClient::Command(const std::string& line) {
    const std::string text = line + "\n";
    if (write(commands_, text.data(), text.size()) != static_cast<ssize_t>(text.size())) {
        throw std::runtime_error("the test client takes no more commands");
    }
}

std::vector<std::string> LoggedCloses(const std::string& log) {
    std::vector<std::string> lines;
    std::ifstream file(log);
    for (std::string line; std::getline(file, line);) lines.push_back(line);
    return lines;
}

}  // namespace e2e
