#include "calc/sizing.h"

#include "runtime/arith.h"

namespace quorvel {

namespace {

// The constants as the formulas hold them. 1.17, 335.79 and 1415.7 are
// stored in single precision, so the formulas use those values (1.17 enters
// as 1.16999995708465576171875), not the decimal ones. The whole numbers are
// exact in any type.
constexpr double kHalf = 1.0 / 2.0;
constexpr double kTwo = 2;
constexpr double k1_17 = static_cast<double>(1.17f);
constexpr double k273 = 273;
constexpr double k287 = 287;
constexpr double k335_79 = static_cast<double>(335.79f);
constexpr double k249 = 249;
constexpr double k13_67 = 13.67;
constexpr double k11_9 = 11.9;
constexpr double k13_923 = 13.923;
constexpr double k0_0013 = 0.0013;
constexpr double kOne = 1.0;
constexpr double k1210 = 1210;
constexpr double k1415_7 = static_cast<double>(1415.7f);

// The regime test, with the pressure drop and P1 / 2 formed afresh. A drop of
// exactly half the upstream pressure counts as critical, so that every valid
// input falls into one of the two formulas.
FlowRegime RegimeOf(const SizingInputs &in)
{
    const double drop = Sub(in.P1, in.P2);
    const double half = Div(in.P1, kTwo);
    return Less(drop, half) ? FlowRegime::Subcritical : FlowRegime::Critical;
}

// Computes Cv completely and stores it with its flag, then does the same for
// C, so a failure while computing C leaves Cv produced. Each formula's shared
// part is a lambda called once for Cv and once again for C. Operands are held
// in named locals so that the left one is always evaluated before the right
// one, as the formulas are written.
template <typename CvFormula, typename CFormula>
void Produce(SizingResult &r, CvFormula cv, CFormula c)
{
    r.Cv = cv();
    r.CvProduced = true;
    r.C = c();
    r.CProduced = true;
}

void ComputeLiquid(const SizingInputs &in, SizingResult &r)
{
    // (G / dP)^0.5
    const auto root = [&] { return Pow(Div(in.G, Sub(in.P1, in.P2)), kHalf); };
    Produce(
        r,
        // Cv = (1.17 * Q) * root
        [&] {
            const double left = Mul(k1_17, in.Q);
            return Mul(left, root());
        },
        // C = Q * root
        [&] { return Mul(in.Q, root()); });
}

void ComputeGasSubcritical(const SizingInputs &in, SizingResult &r)
{
    // ((G * (273 + t)) / (dP * (P1 + P2)))^0.5
    const auto root = [&] {
        const double numerator = Mul(in.G, Add(k273, in.t));
        const double drop = Sub(in.P1, in.P2);
        const double denominator = Mul(drop, Add(in.P1, in.P2));
        return Pow(Div(numerator, denominator), kHalf);
    };
    Produce(
        r,
        // Cv = (Q / 287) * root
        [&] {
            const double left = Div(in.Q, k287);
            return Mul(left, root());
        },
        // C = (Q / 335.79) * root
        [&] {
            const double left = Div(in.Q, k335_79);
            return Mul(left, root());
        });
}

void ComputeGasCritical(const SizingInputs &in, SizingResult &r)
{
    // (G * (273 + t))^0.5
    const auto root = [&] { return Pow(Mul(in.G, Add(k273, in.t)), kHalf); };
    Produce(
        r,
        // Cv = (Q / (249 * P1)) * root
        [&] {
            const double left = Div(in.Q, Mul(k249, in.P1));
            return Mul(left, root());
        },
        // C = (Q / ((249 * P1) * 1.17)) * root
        [&] {
            const double left = Div(in.Q, Mul(Mul(k249, in.P1), k1_17));
            return Mul(left, root());
        });
}

void ComputeWaterSteamSubcritical(const SizingInputs &in, double k, SizingResult &r)
{
    // 13.67 * (dP * (P1 + P2))^0.5
    const auto divisor = [&] {
        const double drop = Sub(in.P1, in.P2);
        const double product = Mul(drop, Add(in.P1, in.P2));
        return Mul(k13_67, Pow(product, kHalf));
    };
    Produce(
        r,
        // Cv = (Q * K) / divisor
        [&] {
            const double numerator = Mul(in.Q, k);
            return Div(numerator, divisor());
        },
        // C = (Q * K) / (1.17 * divisor)
        [&] {
            const double numerator = Mul(in.Q, k);
            return Div(numerator, Mul(k1_17, divisor()));
        });
}

void ComputeWaterSteamCritical(const SizingInputs &in, double k, SizingResult &r)
{
    Produce(
        r,
        // Cv = (Q * K) / (11.9 * P1)
        [&] {
            const double numerator = Mul(in.Q, k);
            return Div(numerator, Mul(k11_9, in.P1));
        },
        // C = (Q * K) / (13.923 * P1)
        [&] {
            const double numerator = Mul(in.Q, k);
            return Div(numerator, Mul(k13_923, in.P1));
        });
}

void ComputeOtherSteam(const SizingInputs &in, SizingResult &r)
{
    // ((t + G) / dP)^0.5
    const auto root = [&] { return Pow(Div(Add(in.t, in.G), Sub(in.P1, in.P2)), kHalf); };
    Produce(
        r,
        // Cv = (Q / 1210) * root
        [&] {
            const double left = Div(in.Q, k1210);
            return Mul(left, root());
        },
        // C = (Q / 1415.7) * root
        [&] {
            const double left = Div(in.Q, k1415_7);
            return Mul(left, root());
        });
}

} // namespace

void ComputeFlowCoefficients(
    MediumKind medium, const SizingInputs &in, SizingResult &result, float &SuperheatFactor)
{
    switch (medium) {
    case MediumKind::Liquid:
        result.Case = FormulaCase { medium, std::nullopt };
        ComputeLiquid(in, result);
        return;
    case MediumKind::Gas: {
        const FlowRegime regime = RegimeOf(in);
        result.Case = FormulaCase { medium, regime };
        if (regime == FlowRegime::Subcritical)
            ComputeGasSubcritical(in, result);
        else
            ComputeGasCritical(in, result);
        return;
    }
    case MediumKind::WaterSteam: {
        const FlowRegime regime = RegimeOf(in);
        result.Case = FormulaCase { medium, regime };
        // K = t * 0.0013 + 1 in double, then held in single precision.
        SuperheatFactor = ToSingle(Add(Mul(in.t, k0_0013), kOne));
        const double k = SuperheatFactor;
        if (regime == FlowRegime::Subcritical)
            ComputeWaterSteamSubcritical(in, k, result);
        else
            ComputeWaterSteamCritical(in, k, result);
        return;
    }
    case MediumKind::OtherSteam:
        result.Case = FormulaCase { medium, std::nullopt };
        ComputeOtherSteam(in, result);
        return;
    }
}

} // namespace quorvel
