// Water's saturation temperature at a pressure, by the saturation-temperature
// equation of IAPWS-IF97 (region 4, its equation 31), one checked operation
// at a time (runtime/arith.h). A steam table gives the same numbers: 99.61 ℃
// at 0.1 MPa, 179.89 ℃ at 1 MPa.
#pragma once

namespace quorvel {

// The equation holds from the triple point to the critical point.
inline constexpr double kSaturationLowestMpa = 611.213e-6;
inline constexpr double kSaturationHighestMpa = 22.064;

// Ts in kelvin at the absolute pressure `mpa`, which must lie within the
// range above; raises RuntimeError where the arithmetic fails.
double SaturationTemperature(double mpa);

} // namespace quorvel
