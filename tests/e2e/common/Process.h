#pragma once
// Programs the driver starts: the program under test and the real clients beside it.

#include <sys/types.h>

#include <string>
#include <vector>

namespace e2e {

enum class Output { Shown, Discarded };

// Starts `argv[0]` (looked up on PATH) with the driver's environment, where each of
// `overrides` ("NAME=value") replaces or adds one variable; 0 when it cannot be started.
// Discarded output keeps other programs' chatter out of the driver's log. `input`, unless -1,
// becomes the program's standard input.
pid_t Spawn(const std::vector<std::string>& argv, const std::vector<std::string>& overrides = {},
            Output output = Output::Shown, int input = -1);

// Reaps the process if it has ended; true once it has, and at every later call.
bool Ended(pid_t pid);

// Ends a process the driver started, if it still runs, and reaps it.
void Terminate(pid_t pid);

}  // namespace e2e
