#include "Check.h"

#include <cstdio>

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

}  // namespace e2e
