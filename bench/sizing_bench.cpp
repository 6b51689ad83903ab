// Cost of one calculation per formula case, and of one Val conversion.
#include "calc/sizing.h"
#include "runtime/text.h"

#include <benchmark/benchmark.h>

namespace {

using quorvel::MediumKind;

void Calculate(benchmark::State &state, MediumKind medium, quorvel::SizingInputs in)
{
    for (auto _ : state) {
        quorvel::SizingResult r;
        benchmark::DoNotOptimize(in);
        quorvel::ComputeFlowCoefficients(medium, in, r);
        benchmark::DoNotOptimize(r);
    }
}

BENCHMARK_CAPTURE(Calculate, liquid, MediumKind::Liquid, { 5, 4, 1, 10, 0 });
BENCHMARK_CAPTURE(Calculate, gas_subcritical, MediumKind::Gas, { 10, 8, 1, 1000, 27 });
BENCHMARK_CAPTURE(Calculate, gas_critical, MediumKind::Gas, { 10, 4, 1, 1000, 27 });
BENCHMARK_CAPTURE(
    Calculate, water_steam_subcritical, MediumKind::WaterSteam, { 10, 8, 0, 1000, 100 });
BENCHMARK_CAPTURE(Calculate, water_steam_critical, MediumKind::WaterSteam, { 10, 2, 0, 1000, 0 });
BENCHMARK_CAPTURE(Calculate, other_steam, MediumKind::OtherSteam, { 10, 8, 200, 1000, 100 });

void ValConversion(benchmark::State &state, const char *text)
{
    for (auto _ : state) {
        benchmark::DoNotOptimize(text);
        benchmark::DoNotOptimize(quorvel::Val(text));
    }
}

BENCHMARK_CAPTURE(ValConversion, integer, "1000");
BENCHMARK_CAPTURE(ValConversion, decimal_exponent, "  -12.375e-2");
BENCHMARK_CAPTURE(ValConversion, fullwidth, "１２．５");

} // namespace
