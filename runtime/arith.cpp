#include "runtime/arith.h"

#include "runtime/error.h"

#include <cfloat>
#include <cmath>

namespace quorvel {

namespace {

void CheckOperand(double v)
{
    if (std::isnan(v))
        throw RuntimeError(ErrorKind::InvalidArgument);
    if (std::isinf(v))
        throw RuntimeError(ErrorKind::Overflow);
}

void CheckOperands(double a, double b)
{
    CheckOperand(a);
    CheckOperand(b);
}

double CheckResult(double r)
{
    if (std::isnan(r))
        throw RuntimeError(ErrorKind::InvalidArgument);
    if (std::isinf(r))
        throw RuntimeError(ErrorKind::Overflow);
    return r;
}

} // namespace

double Add(double a, double b)
{
    CheckOperands(a, b);
    return CheckResult(a + b);
}

double Sub(double a, double b)
{
    CheckOperands(a, b);
    return CheckResult(a - b);
}

double Mul(double a, double b)
{
    CheckOperands(a, b);
    return CheckResult(a * b);
}

double Div(double a, double b)
{
    CheckOperands(a, b);
    if (b == 0.0)
        throw RuntimeError(ErrorKind::DivisionByZero);
    return CheckResult(a / b);
}

double Pow(double base, double exponent)
{
    CheckOperands(base, exponent);
    if (base < 0.0 && std::trunc(exponent) != exponent)
        throw RuntimeError(ErrorKind::InvalidArgument);
    if (base == 0.0 && exponent < 0.0)
        throw RuntimeError(ErrorKind::DivisionByZero);
    // x^0.5 is the square root, which sqrt rounds correctly; pow(x, 0.5) is
    // one unit in the last place off for about one input in a thousand.
    // Zero gives +0 either way, as pow does for -0.
    if (exponent == 0.5)
        return base == 0.0 ? 0.0 : std::sqrt(base);
    return CheckResult(std::pow(base, exponent));
}

double Log(double x)
{
    CheckOperand(x);
    if (x <= 0.0)
        throw RuntimeError(ErrorKind::InvalidArgument);
    return std::log(x);
}

bool Less(double a, double b)
{
    CheckOperands(a, b);
    return a < b;
}

bool Greater(double a, double b)
{
    CheckOperands(a, b);
    return a > b;
}

float ToSingle(double value)
{
    CheckOperand(value);
    // Halfway between FLT_MAX and the next power of two rounds to infinity
    // (FLT_MAX has an odd significand); anything below rounds to FLT_MAX.
    constexpr double kFirstOverflow = 0x1.ffffffp127;
    const double magnitude = std::fabs(value);
    if (magnitude >= kFirstOverflow)
        throw RuntimeError(ErrorKind::Overflow);
    if (magnitude > FLT_MAX)
        return value < 0 ? -FLT_MAX : FLT_MAX;
    return static_cast<float>(value);
}

} // namespace quorvel
