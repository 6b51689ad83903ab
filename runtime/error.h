// The one failure type of the calculation: a run-time error with its kind.
// Arithmetic, the Val conversion and the rounding to single precision raise
// it instead of ever returning an infinite or not-a-number value.
#pragma once

#include <stdexcept>
#include <string_view>

namespace quorvel {

enum class ErrorKind {
    // A finite number divided by zero, 0 / 0 included.
    DivisionByZero,
    // A result beyond the double range from finite operands, a value beyond
    // the single range when it is rounded to single precision, or a typed
    // number beyond the double range.
    Overflow,
    // A negative number raised to a fractional power, or an operand that is
    // not a number at all.
    InvalidArgument,
};

// The short Chinese text a person reads for each kind.
std::string_view ErrorText(ErrorKind kind);

class RuntimeError : public std::runtime_error {
public:
    explicit RuntimeError(ErrorKind kind);
    ErrorKind kind() const noexcept { return kind_; }

private:
    ErrorKind kind_;
};

} // namespace quorvel
