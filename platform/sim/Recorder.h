#pragma once
// What the core asked of the sim, and the failures a test has planted in it.

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <map>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "platform/RuntimeError.h"

namespace velmora::sim {

inline std::string HexHandle(std::uint32_t handle) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%X", static_cast<unsigned>(handle));
    return text;
}

class Recorder {
public:
    // Off, calls are neither written down nor failed: for measuring the core alone.
    bool enabled = true;

    // The same, with the arguments' text made only when calls are written down.
    template <typename Arguments>
        requires std::is_invocable_r_v<std::string, Arguments>
    void Call(std::string_view operation, Arguments&& arguments) {
        if (enabled) Call(operation, std::string_view(arguments()));
    }

    // Records one call and throws the failure planted for it, if any.
    void Call(std::string_view operation, std::string_view arguments = {}) {
        if (!enabled) return;
        std::string entry(operation);
        entry += '(';
        entry += arguments;
        entry += ')';
        for (auto& [name, fault] : faults_) {
            if (fault.armedBy == entry) fault.armedBy.clear();
        }
        calls_.push_back(std::move(entry));
        const auto planted = faults_.find(operation);
        if (planted == faults_.end()) return;
        Fault& fault = planted->second;
        if (!fault.armedBy.empty()) return;
        if (fault.skip > 0) {
            --fault.skip;
            return;
        }
        const RuntimeError error = fault.error;
        if (--fault.times == 0) faults_.erase(planted);
        throw error;
    }

    // The next `times` calls of `operation` after the first `skip` ones fail with `error`;
    // with `armedBy`, counting starts only once that exact call has been recorded.
    void Fail(std::string_view operation, RuntimeError error, int times = 1, int skip = 0,
              std::string armedBy = {}) {
        faults_.insert_or_assign(std::string(operation),
                                 Fault{std::move(error), times, skip, std::move(armedBy)});
    }

    const std::vector<std::string>& Calls() const { return calls_; }
    void ClearCalls() { calls_.clear(); }

    // How many recorded calls are exactly `call` ("Name(args)") or, without parentheses, of
    // the operation `call`.
    int Count(std::string_view call) const {
        const bool exact = call.find('(') != std::string_view::npos;
        return static_cast<int>(std::count_if(calls_.begin(), calls_.end(), [&](const auto& c) {
            return exact ? c == call : c.compare(0, c.find('('), call) == 0;
        }));
    }

private:
    struct Fault {
        RuntimeError error;
        int times;
        int skip;
        std::string armedBy;
    };
    std::vector<std::string> calls_;
    std::map<std::string, Fault, std::less<>> faults_;
};

}  // namespace velmora::sim
