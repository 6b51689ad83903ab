#include "calc/steam.h"

#include "runtime/arith.h"

#include <array>

namespace quorvel {

namespace {

// The coefficients n1 to n10 of the region 4 equations, as IAPWS-IF97 gives them.
constexpr std::array<double, 11> n { 0, 0.11670521452767e4, -0.72421316703206e6,
    -0.17073846940092e2, 0.12020824702470e5, -0.32325550322333e7, 0.14915108613530e2,
    -0.48232657361591e4, 0.40511340542057e6, -0.23855557567849, 0.65017534844798e3 };

// a·β² + b·β + c
double Quadratic(double a, double b, double c, double beta)
{
    return Add(Add(Mul(a, Mul(beta, beta)), Mul(b, beta)), c);
}

} // namespace

double SaturationTemperature(double mpa)
{
    // β = p^(1/4); E, F and G as the standard names them; then
    // D = 2G / (−F − √(F² − 4EG)) and Ts = (n10 + D − √((n10 + D)² − 4(n9 + n10·D))) / 2.
    const double beta = Pow(mpa, 0.25);
    const double e = Quadratic(1, n[3], n[6], beta);
    const double f = Quadratic(n[1], n[4], n[7], beta);
    const double g = Quadratic(n[2], n[5], n[8], beta);
    const double root = Pow(Sub(Mul(f, f), Mul(4, Mul(e, g))), 0.5);
    const double d = Div(Mul(2, g), Sub(-f, root));
    const double sum = Add(n[10], d);
    const double inner = Sub(Mul(sum, sum), Mul(4, Add(n[9], Mul(n[10], d))));
    return Div(Sub(sum, Pow(inner, 0.5)), 2);
}

} // namespace quorvel
