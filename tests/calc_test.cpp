// The sizing calculation. Expected values come from an independent script
// that evaluates the same formulas in IEEE double with the single-precision
// constants rounded by struct.pack('f', ...), not from this code.
#include "calc/sizing.h"
#include "calc/steam.h"
#include "runtime/error.h"

#include "tests/case_name.h"

#include <gtest/gtest.h>

#include <cfenv>
#include <cmath>
#include <limits>
#include <optional>
#include <random>
#include <string>

namespace quorvel::test {

using M = MediumKind;
using R = FlowRegime;

struct Outcome {
    SizingResult result;
    std::optional<ErrorKind> error;
};

Outcome Compute(MediumKind medium, SizingInputs in)
{
    Outcome o;
    try {
        ComputeFlowCoefficients(medium, in, o.result);
    } catch (const RuntimeError &e) {
        o.error = e.kind();
    }
    return o;
}

// The reference script's values, to 12 significant digits and better.
void ExpectClose(double got, double expected)
{
    EXPECT_NEAR(got, expected, std::fabs(expected) * 1e-12 + 1e-300);
}

struct VectorCase {
    const char *name;
    MediumKind medium;
    SizingInputs in; // P1, P2, G, Q, t
    FormulaCase formula;
    double Cv, C;
};

class Vectors : public testing::TestWithParam<VectorCase> { };

TEST_P(Vectors, ProduceBothCoefficients)
{
    const VectorCase &c = GetParam();
    const Outcome o = Compute(c.medium, c.in);
    ASSERT_EQ(o.error, std::nullopt);
    ASSERT_TRUE(o.result.CvProduced);
    ASSERT_TRUE(o.result.CProduced);
    EXPECT_EQ(o.result.Case, c.formula);
    ExpectClose(o.result.Cv, c.Cv);
    ExpectClose(o.result.C, c.C);
}

INSTANTIATE_TEST_SUITE_P(Calc, Vectors,
    testing::Values(VectorCase { "liquid", M::Liquid, { 5, 4, 1, 10, 0 }, { M::Liquid, {} },
                        11.699999570846558, 10 },
        VectorCase { "liquid_ignores_t", M::Liquid, { 5, 4, 1, 10, 1e300 }, { M::Liquid, {} },
            11.699999570846558, 10 },
        VectorCase { "gas_subcritical", M::Gas, { 10, 8, 1, 1000, 27 }, { M::Gas, R::Subcritical },
            10.058367059052713, 8.59689470350021 },
        VectorCase { "gas_critical", M::Gas, { 10, 4, 1, 1000, 27 }, { M::Gas, R::Critical },
            6.956027339634046, 5.94532273058087 },
        // A drop of exactly P1 / 2 takes the critical formula.
        VectorCase { "gas_half_drop_is_critical", M::Gas, { 10, 5, 1, 1000, 27 },
            { M::Gas, R::Critical }, 6.956027339634046, 5.94532273058087 },
        VectorCase { "gas_absolute_zero", M::Gas, { 10, 8, 1, 1000, -273 },
            { M::Gas, R::Subcritical }, 0, 0 },
        VectorCase { "water_steam_subcritical", M::WaterSteam, { 10, 8, 0, 1000, 100 },
            { M::WaterSteam, R::Subcritical }, 13.77712747173407, 11.775323057330011 },
        VectorCase { "water_steam_ignores_g", M::WaterSteam, { 10, 8, -5e200, 1000, 100 },
            { M::WaterSteam, R::Subcritical }, 13.77712747173407, 11.775323057330011 },
        VectorCase { "water_steam_critical", M::WaterSteam, { 10, 2, 0, 1000, 0 },
            { M::WaterSteam, R::Critical }, 8.403361344537815, 7.182360123536594 },
        VectorCase { "water_steam_half_drop_is_critical", M::WaterSteam, { 10, 5, 0, 1000, 0 },
            { M::WaterSteam, R::Critical }, 8.403361344537815, 7.182360123536594 },
        VectorCase { "other_steam", M::OtherSteam, { 10, 8, 200, 1000, 100 }, { M::OtherSteam, {} },
            10.121858441252803, 8.651161359282248 },
        VectorCase {
            "zero_flow", M::OtherSteam, { 10, 8, 200, 0, 100 }, { M::OtherSteam, {} }, 0, 0 }),
    CaseName());

TEST(Calc, SinglePrecisionConstantsEnterExactly)
{
    // Ten times the single-precision 1.17, not 11.7.
    const Outcome liquid = Compute(M::Liquid, { 5, 4, 1, 10, 0 });
    EXPECT_EQ(liquid.result.Cv, 11.6999995708465576171875);
    EXPECT_EQ(liquid.result.C, 10.0);

    const Outcome steam = Compute(M::WaterSteam, { 10, 8, 0, 1000, 100 });
    EXPECT_EQ(steam.result.SuperheatFactor, 1.12999999523162841796875f);

    // 335.79 rounds to 335.790008544921875 in single precision; the next
    // value below would give C = 8.59689548481.
    const Outcome gas = Compute(M::Gas, { 10, 8, 1, 1000, 27 });
    EXPECT_EQ(gas.result.C, 8.59689470350021);
}

struct FailureCase {
    const char *name;
    MediumKind medium;
    SizingInputs in;
    ErrorKind error;
    bool cvProduced; // C is never produced when an error is raised
    double Cv = 0;
};

class Failures : public testing::TestWithParam<FailureCase> { };

TEST_P(Failures, StopAtTheFailingStep)
{
    const FailureCase &c = GetParam();
    const Outcome o = Compute(c.medium, c.in);
    EXPECT_EQ(o.error, c.error);
    EXPECT_EQ(o.result.CvProduced, c.cvProduced);
    EXPECT_FALSE(o.result.CProduced);
    if (c.cvProduced) {
        ExpectClose(o.result.Cv, c.Cv);
    }
}

constexpr double kMax = std::numeric_limits<double>::max();

INSTANTIATE_TEST_SUITE_P(Calc, Failures,
    testing::Values(FailureCase { "liquid_empty_boxes", M::Liquid, { 0, 0, 0, 0, 0 },
                        ErrorKind::DivisionByZero, false },
        FailureCase { "liquid_p2_above_p1", M::Liquid, { 4, 5, 1, 10, 0 },
            ErrorKind::InvalidArgument, false },
        FailureCase { "gas_subcritical_zero_sum", M::Gas, { -2, 2, 1, 10, 20 },
            ErrorKind::DivisionByZero, false },
        FailureCase { "gas_subcritical_below_absolute_zero", M::Gas, { 10, 8, 1, 10, -300 },
            ErrorKind::InvalidArgument, false },
        FailureCase { "gas_critical_zero_p1", M::Gas, { 0, -1, 1, 10, 20 },
            ErrorKind::DivisionByZero, false },
        FailureCase { "gas_critical_negative_radicand", M::Gas, { 10, 2, -1, 10, 20 },
            ErrorKind::InvalidArgument, false },
        FailureCase { "water_steam_subcritical_zero_sum", M::WaterSteam, { -2, 2, 0, 10, 20 },
            ErrorKind::DivisionByZero, false },
        FailureCase { "water_steam_critical_zero_p1", M::WaterSteam, { 0, -1, 0, 10, 20 },
            ErrorKind::DivisionByZero, false },
        FailureCase { "water_steam_superheat_overflow", M::WaterSteam, { 10, 8, 0, 1000, 1e42 },
            ErrorKind::Overflow, false },
        FailureCase { "other_steam_equal_pressures", M::OtherSteam, { 5, 5, 1, 10, 1 },
            ErrorKind::DivisionByZero, false },
        FailureCase { "other_steam_negative_radicand", M::OtherSteam, { 5, 4, -10, 10, 1 },
            ErrorKind::InvalidArgument, false },
        FailureCase { "liquid_drop_overflow", M::Liquid, { kMax, -kMax, 1, 1, 1 },
            ErrorKind::Overflow, false },
        FailureCase {
            "gas_drop_overflow", M::Gas, { kMax, -kMax, 1, 1, 1 }, ErrorKind::Overflow, false },
        FailureCase { "other_steam_drop_overflow", M::OtherSteam, { kMax, -kMax, 1, 1, 1 },
            ErrorKind::Overflow, false },
        FailureCase { "liquid_result_overflow", M::Liquid, { 1, 0.5, 1e300, 1e300, 0 },
            ErrorKind::Overflow, false },
        // Only the divisor of C, enlarged by 1.17, overflows: Cv stays produced.
        FailureCase { "gas_critical_c_divisor_overflow", M::Gas, { 7e305, 0, 1, 1, 27 },
            ErrorKind::Overflow, true, 9.93718191376292e-308 },
        FailureCase { "water_steam_critical_c_divisor_overflow", M::WaterSteam,
            { 1.4e307, 0, 0, 1000, 0 }, ErrorKind::Overflow, true, 6.002400960384153e-306 }),
    CaseName());

TEST(Calc, FailureKeepsWhatTheRecordAlreadyHeld)
{
    // The caller's record is filled in place: a failure after Cv leaves it.
    SizingResult r;
    EXPECT_THROW(ComputeFlowCoefficients(M::Gas, { 7e305, 0, 1, 1, 27 }, r), RuntimeError);
    EXPECT_TRUE(r.CvProduced);
    EXPECT_EQ(r.Case, (FormulaCase { M::Gas, R::Critical }));
}

// Any input either gives finite coefficients with C = Cv / 1.17, or a
// run-time error; never a NaN or an infinity.
TEST(Calc, RandomInputsGiveFiniteConsistentResultsOrAnError)
{
    std::mt19937_64 rng(1210);
    std::uniform_real_distribution<double> unit(1.0, 10.0);
    std::uniform_int_distribution<int> exponent(-310, 308);
    std::uniform_int_distribution<int> pick(0, 9);
    bool extreme = false;
    auto draw = [&] {
        const int p = pick(rng);
        if (p == 0)
            return 0.0;
        const double sign = p < 3 ? -1.0 : 1.0;
        // Mostly everyday magnitudes, sometimes extreme ones.
        const int e = p < 7 ? exponent(rng) % 6 : exponent(rng);
        extreme = extreme || p >= 7;
        return sign * unit(rng) * std::pow(10.0, e);
    };
    int produced = 0, failed = 0;
    for (int i = 0; i < 200000; ++i) {
        const MediumKind medium = static_cast<MediumKind>(i % 4);
        extreme = false;
        const SizingInputs in { draw(), draw(), draw(), draw(), draw() };
        const Outcome o = Compute(medium, in);
        if (o.result.CvProduced) {
            ASSERT_TRUE(std::isfinite(o.result.Cv));
        }
        if (o.error) {
            ++failed;
            ASSERT_FALSE(o.result.CProduced);
            continue;
        }
        ++produced;
        ASSERT_TRUE(o.result.CvProduced && o.result.CProduced);
        ASSERT_TRUE(std::isfinite(o.result.C));
        // A step that fell into the subnormal range keeps fewer digits, and
        // the formulas' order of operations is kept as written, so the ratio
        // is only held to everyday inputs, where no step can underflow.
        if (!extreme) {
            ASSERT_NEAR(o.result.C, o.result.Cv / 1.17, std::fabs(o.result.C) * 1e-6)
                << "medium " << i % 4 << " P1=" << in.P1 << " P2=" << in.P2 << " G=" << in.G
                << " Q=" << in.Q << " t=" << in.t;
        }
    }
    // Both outcomes really occur, so the loop tested both paths.
    EXPECT_GT(produced, 10000);
    EXPECT_GT(failed, 10000);
}

} // namespace quorvel::test

namespace quorvel::test {

// The saturation temperature against the check values IAPWS-IF97 gives for
// its equation 31.
TEST(Steam, SaturationTemperatureMeetsTheStandardsCheckValues)
{
    const struct {
        double mpa, kelvin;
    } checks[] = { { 0.1, 372.755919 }, { 1.0, 453.035632 }, { 10.0, 584.149488 } };
    for (const auto &c : checks)
        EXPECT_NEAR(SaturationTemperature(c.mpa), c.kelvin, 5e-7) << c.mpa << " MPa";
}

} // namespace quorvel::test
