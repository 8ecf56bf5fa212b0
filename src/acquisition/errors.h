#pragma once

#include <stdexcept>
#include <string>

namespace vistrace {

// Every failure the program reports to the operator is one of these. The message is what
// the operator reads in the error box, so it has to stand on its own.
class VistraceError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A 16-bit or byte result left its type's range.
class OverflowError : public VistraceError {
public:
    OverflowError() : VistraceError("Overflow") {}
};

// An index outside 0 to 800 into a sample buffer.
class SubscriptRangeError : public VistraceError {
public:
    SubscriptRangeError() : VistraceError("Subscript out of range") {}
};

// The sample wait divides by the counter frequency, which is 0 on a machine without a
// high-resolution counter.
class DivisionError : public VistraceError {
public:
    static DivisionError byZero() { return DivisionError("Division by zero"); }
    static DivisionError invalidOperation() {
        return DivisionError("Invalid floating-point operation (0 divided by 0)");
    }

private:
    explicit DivisionError(const char* message) : VistraceError(message) {}
};

// The parallel port stopped answering.
class PortError : public VistraceError {
public:
    using VistraceError::VistraceError;
};

// The parallel port could not be reached at all: the operator can fix the cause and try
// again, so this one is a warning rather than the end of the program.
class PortUnreachable : public PortError {
public:
    using PortError::PortError;
};

// A command line of the command-line programs that makes no sense; the message names the
// argument at fault. Not an instrument's failure, so not a VistraceError.
class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

} // namespace vistrace
