#include "ErrorTrap.h"

#include <new>

#include "Product.h"
#include "platform/Runtime.h"
#include "platform/RuntimeError.h"

namespace velmora {

std::string ErrorReportText(std::string_view description, std::string_view object,
                            std::string_view procedure, int line) {
    std::string text(description);
    text += "\r\nin ";
    text += kReportOrigin;
    text += object;
    text += '.';
    text += procedure;
    text += " at line ";
    text += std::to_string(line);
    text += "\r\rPlease email screenshot of this message to ";
    text += kSupportEmail;
    return text;
}

std::string DescribeFailure(const std::exception_ptr& failure) {
    try {
        std::rethrow_exception(failure);
    } catch (const RuntimeError& error) {
        return error.description();
    } catch (const std::bad_alloc&) {
        return RuntimeError::OutOfMemory().description();
    } catch (const std::exception& error) {
        return error.what();
    } catch (...) {
        return "Application-defined or object-defined error";
    }
}

void ErrorTrap::report(int line, const std::exception_ptr& failure) {
    runtime_.MsgBox(ErrorReportText(DescribeFailure(failure), object_, procedure_, line),
                    vbExclamation, "Application Error");
}

}  // namespace velmora
