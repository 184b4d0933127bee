#include "Process.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <algorithm>
#include <cerrno>

extern char** environ;

namespace e2e {

namespace {

std::string NameOf(const std::string& entry) { return entry.substr(0, entry.find('=')); }

}  // namespace

pid_t Spawn(const std::vector<std::string>& argv, const std::vector<std::string>& overrides,
            Output output, int input) {
    std::vector<std::string> environment = overrides;
    for (char** entry = environ; *entry; ++entry) {
        const std::string name = NameOf(*entry);
        const bool replaced = std::any_of(overrides.begin(), overrides.end(),
                                          [&](const std::string& o) { return NameOf(o) == name; });
        if (!replaced) environment.emplace_back(*entry);
    }
    std::vector<char*> envp;
    for (std::string& entry : environment) envp.push_back(entry.data());
    envp.push_back(nullptr);
    std::vector<std::string> arguments = argv;
    std::vector<char*> args;
    for (std::string& argument : arguments) args.push_back(argument.data());
    args.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (output == Output::Discarded) {
        for (const int fd : {1, 2}) {
            posix_spawn_file_actions_addopen(&actions, fd, "/dev/null", O_WRONLY, 0);
        }
    }
    if (input >= 0) posix_spawn_file_actions_adddup2(&actions, input, 0);
    pid_t pid = 0;
    const int failed = posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    return failed ? 0 : pid;
}

bool Ended(pid_t pid) {
    const pid_t reaped = waitpid(pid, nullptr, WNOHANG);
    // No such child: reaped by an earlier call.
    return reaped == pid || (reaped < 0 && errno == ECHILD);
}

void Terminate(pid_t pid) {
    if (pid <= 0 || Ended(pid)) return;
    kill(pid, SIGTERM);
    waitpid(pid, nullptr, 0);
}

}  // namespace e2e
