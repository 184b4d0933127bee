#pragma once
// Run-time errors as the program reports them: a number and the runtime's own description.
// Platform calls and core code throw these; the error trap turns them into the error report.

#include <stdexcept>
#include <string>

namespace velmora {

class RuntimeError : public std::runtime_error {
public:
    RuntimeError(int number, const std::string& description)
        : std::runtime_error(description), number_(number) {}

    int number() const noexcept { return number_; }
    std::string description() const { return what(); }

    static RuntimeError InvalidProcedureCall() { return {5, "Invalid procedure call or argument"}; }
    static RuntimeError Overflow() { return {6, "Overflow"}; }
    static RuntimeError OutOfMemory() { return {7, "Out of memory"}; }
    static RuntimeError SubscriptOutOfRange() { return {9, "Subscript out of range"}; }
    static RuntimeError TypeMismatch() { return {13, "Type mismatch"}; }
    static RuntimeError FileNotFound() { return {53, "File not found"}; }
    static RuntimeError PathFileAccess() { return {75, "Path/File access error"}; }
    static RuntimeError InvalidPicture() { return {481, "Invalid picture"}; }
    // The list view's own error for a row or column that does not exist.
    static RuntimeError IndexOutOfBounds() { return {35600, "Index out of bounds"}; }

private:
    int number_;
};

}  // namespace velmora
