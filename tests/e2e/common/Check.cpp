#include "Check.h"

#include <cstdio>
#include <exception>

namespace e2e {

bool Results::Check(bool passed, const std::string& name, const std::string& detail) {
    if (passed) {
        ++passed_;
        std::printf("  ok    %s\n", name.c_str());
    } else {
        ++failed_;
        std::printf("  FAIL  %s%s%s\n", name.c_str(), detail.empty() ? "" : ": ", detail.c_str());
    }
    std::fflush(stdout);
    return passed;
}

int RunChecks(const char* suite, const std::function<void(Results&)>& checks) {
    Results results;
    try {
        checks(results);
    } catch (const std::exception& error) {
        results.Check(false, "the driver runs to the end", error.what());
    }
    std::printf("%s: %d passed, %d failed\n", suite, results.passed(), results.failed());
    return results.failed() == 0 ? 0 : 1;
}

}  // namespace e2e
