// Checked double arithmetic: one operation, one rounding, and a RuntimeError
// where IEEE arithmetic would give an infinity or a NaN. An operand that is
// already infinite or NaN is refused too, so nothing non-finite is passed on.
#pragma once

namespace quorvel {

double Add(double a, double b);
double Sub(double a, double b);
double Mul(double a, double b);
double Div(double a, double b);
double Pow(double base, double exponent);
// The natural logarithm; InvalidArgument for a number not above 0.
double Log(double x);
bool Less(double a, double b);
bool Greater(double a, double b);

// Rounds to the nearest single-precision value; Overflow beyond its range.
float ToSingle(double value);

} // namespace quorvel
