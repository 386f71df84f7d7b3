#pragma once
// The platform's exception class. Its message is a byte text in the machine's code page,
// as every text inside the module is.
#include <stdexcept>
#include <string>

#define VEL_API __attribute__((visibility("default")))

namespace vel {

class VEL_API Exception : public std::runtime_error {
public:
    explicit Exception(const std::string& message) : std::runtime_error(message) {}
    const std::string Message() const { return what(); }
};

// Raised by automation calls: the callee's own error text is the message.
class VEL_API OleException : public Exception {
public:
    using Exception::Exception;
};

// Calling an operation a base class leaves abstract.
class VEL_API AbstractError : public Exception {
public:
    AbstractError() : Exception("Abstract Error") {}
};

}  // namespace vel
