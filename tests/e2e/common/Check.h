#pragma once
// Results of the end-to-end checks: each check is named, passes or fails, and is counted.

#include <cstdio>
#include <functional>
#include <span>
#include <string>
#include <utility>

namespace e2e {

class Results {
public:
    // Records one check; prints failures (and passes when verbose) with their name.
    bool Check(bool passed, const std::string& name, const std::string& detail = {});
    int passed() const { return passed_; }
    int failed() const { return failed_; }

private:
    int passed_ = 0;
    int failed_ = 0;
};

// Runs a driver's checks, where an exception that escapes them is one failed check; prints the
// closing line "SUITE: N passed, M failed" and gives the driver's exit status.
int RunChecks(const char* suite, const std::function<void(Results&)>& checks);

// Runs the scenarios in order, each under its name. The first starts the program; a later one
// runs only while the program's window is up, and counts as one failed check otherwise.
template <typename Context>
using NamedScenario = std::pair<const char*, void (*)(Context&)>;
template <typename Context>
void RunScenarios(Context& context, std::span<const NamedScenario<Context>> scenarios) {
    for (const auto& [name, scenario] : scenarios) {
        std::printf("%s\n", name);
        std::fflush(stdout);
        if (scenario != scenarios.front().second && !context.app.form()) {
            context.results.Check(false, std::string(name) + ": the program is running");
            continue;
        }
        scenario(context);
    }
}

}  // namespace e2e
