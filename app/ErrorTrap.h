#pragma once
// The error trap of a procedure with numbered statements: a failing statement is reported in
// the one error-report box and the procedure goes on with the next statement.

#include <exception>
#include <string>
#include <string_view>
#include <utility>

#include "platform/Runtime.h"

namespace velmora {

// The report text for a failure of `line` in `object`.`procedure`.
std::string ErrorReportText(std::string_view description, std::string_view object,
                            std::string_view procedure, int line);

// The runtime's description of a caught failure.
std::string DescribeFailure(const std::exception_ptr& failure);

class ErrorTrap {
public:
    ErrorTrap(Runtime& runtime, std::string_view object, std::string_view procedure)
        : runtime_(runtime), object_(object), procedure_(procedure) {}

    // Runs one statement; a failure is reported and swallowed. The end of the program is no
    // failure and passes on.
    template <typename Statement>
    void operator()(int line, Statement&& statement) {
        try {
            std::forward<Statement>(statement)();
        } catch (const ProgramEnded&) {
            throw;
        } catch (...) {
            report(line, std::current_exception());
        }
    }

    // The test of an if: a test that fails is reported and counts as true, so the branch runs.
    template <typename Test>
    bool test(int line, Test&& condition) {
        try {
            return std::forward<Test>(condition)();
        } catch (const ProgramEnded&) {
            throw;
        } catch (...) {
            report(line, std::current_exception());
            return true;
        }
    }

private:
    void report(int line, const std::exception_ptr& failure);

    Runtime& runtime_;
    std::string_view object_;
    std::string_view procedure_;
};

}  // namespace velmora
