#pragma once
// Results of the end-to-end checks: each check is named, passes or fails, and is counted.

#include <string>

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

}  // namespace e2e
