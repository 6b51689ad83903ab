// The six formulas, written once as templates over how a named value is
// noted (Silent, or telling a StepRecorder), for sizing.cpp and
// recorded_sizing.cpp alone. The recording calculation is compiled apart,
// so that the silent one stays the arithmetic alone.
#pragma once

#include "calc/sizing.h"

#include "runtime/arith.h"

#include <algorithm>
#include <initializer_list>

namespace quorvel::formulas {

// The constants as the formulas hold them: 1.17, 335.79 and 1415.7 as
// their single-precision values (kSingleConstants); the whole numbers are
// exact in any type.
constexpr double kHalf = 1.0 / 2.0;
constexpr double kTwo = 2;
constexpr double k1_17 = kSingleConstants[0].used;
constexpr double k273 = 273;
constexpr double k287 = 287;
constexpr double k335_79 = kSingleConstants[1].used;
constexpr double k249 = 249;
constexpr double k13_67 = 13.67;
constexpr double k11_9 = 11.9;
constexpr double k13_923 = 13.923;
constexpr double k0_0013 = 0.0013;
constexpr double kOne = 1.0;
constexpr double k1210 = 1210;
constexpr double k1415_7 = kSingleConstants[2].used;

// How each named value is noted as it is computed: a Silent calculation
// passes it on and compiles to the arithmetic alone; a recording one
// (recorded_sizing.cpp) tells the recorder first. `With` notes the steps
// that follow in another role.
struct Silent {
    Silent With(StepRole) const { return *this; }
    double operator()(std::string_view, std::string_view, std::string_view,
        std::initializer_list<double>, double value) const
    {
        return value;
    }
};

// The pressure drop, which every formula but the critical ones uses.
template <typename Note> double Drop(const SizingInputs &in, Note note)
{
    return note("ΔP", "P1 − P2", "{} − {}", { in.P1, in.P2 }, Sub(in.P1, in.P2));
}

// dP * (P1 + P2), which the subcritical gas and water-steam formulas share.
template <typename Note> double DropTimesSum(const SizingInputs &in, Note note)
{
    const double drop = Drop(in, note);
    const double sum = note("P1+P2", "P1 + P2", "{} + {}", { in.P1, in.P2 }, Add(in.P1, in.P2));
    return note("ΔP·(P1+P2)", "ΔP × (P1+P2)", "{} × {}", { drop, sum }, Mul(drop, sum));
}

// G * (273 + t), which both gas formulas share.
template <typename Note> double GTimesAbsolute(const SizingInputs &in, Note note)
{
    const double absolute = note("T", "273 + t", "273 + {}", { in.t }, Add(k273, in.t));
    return note("G·T", "G × T", "{} × {}", { in.G, absolute }, Mul(in.G, absolute));
}

// The regime test, with the pressure drop and P1 / 2 formed afresh. A drop of
// exactly half the upstream pressure counts as critical, so that every valid
// input falls into one of the two formulas.
template <typename Note> FlowRegime RegimeOf(const SizingInputs &in, Note note)
{
    const double drop = Drop(in, note);
    const double half = note("P1/2", "P1 / 2", "{} / 2", { in.P1 }, Div(in.P1, kTwo));
    return Less(drop, half) ? FlowRegime::Subcritical : FlowRegime::Critical;
}

// Cv or C, noted as the formula's result.
template <typename Note>
double Result(Note note, std::string_view symbol, std::string_view formula,
    std::string_view substituted, std::initializer_list<double> operands, double value)
{
    return note.With(StepRole::Result)(symbol, formula, substituted, operands, value);
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

template <typename Note> void ComputeLiquid(const SizingInputs &in, SizingResult &r, Note note)
{
    // (G / dP)^0.5
    const auto root = [&] {
        const double drop = Drop(in, note);
        const double ratio = note("G/ΔP", "G / ΔP", "{} / {}", { in.G, drop }, Div(in.G, drop));
        return note("(G/ΔP)^0.5", "(G/ΔP)^0.5", "{}^0.5", { ratio }, Pow(ratio, kHalf));
    };
    Produce(
        r,
        // Cv = (1.17 * Q) * root
        [&] {
            const double left
                = note("1.17Q", "1.17 × Q", "{} × {}", { k1_17, in.Q }, Mul(k1_17, in.Q));
            const double right = root();
            return Result(
                note, "Cv", "1.17Q × (G/ΔP)^0.5", "{} × {}", { left, right }, Mul(left, right));
        },
        // C = Q * root
        [&] {
            const double right = root();
            return Result(
                note, "C", "Q × (G/ΔP)^0.5", "{} × {}", { in.Q, right }, Mul(in.Q, right));
        });
}

template <typename Note>
void ComputeGasSubcritical(const SizingInputs &in, SizingResult &r, Note note)
{
    // ((G * (273 + t)) / (dP * (P1 + P2)))^0.5
    const auto root = [&] {
        const double numerator = GTimesAbsolute(in, note);
        const double denominator = DropTimesSum(in, note);
        const double ratio = note("G·T/(ΔP·(P1+P2))", "G·T / (ΔP·(P1+P2))", "{} / {}",
            { numerator, denominator }, Div(numerator, denominator));
        return note("(G·T/(ΔP·(P1+P2)))^0.5", "(G·T/(ΔP·(P1+P2)))^0.5", "{}^0.5", { ratio },
            Pow(ratio, kHalf));
    };
    Produce(
        r,
        // Cv = (Q / 287) * root
        [&] {
            const double left = note("Q/287", "Q / 287", "{} / 287", { in.Q }, Div(in.Q, k287));
            const double right = root();
            return Result(note, "Cv", "Q/287 × (G·T/(ΔP·(P1+P2)))^0.5", "{} × {}", { left, right },
                Mul(left, right));
        },
        // C = (Q / 335.79) * root
        [&] {
            const double left
                = note("Q/335.79", "Q / 335.79", "{} / {}", { in.Q, k335_79 }, Div(in.Q, k335_79));
            const double right = root();
            return Result(note, "C", "Q/335.79 × (G·T/(ΔP·(P1+P2)))^0.5", "{} × {}",
                { left, right }, Mul(left, right));
        });
}

template <typename Note> void ComputeGasCritical(const SizingInputs &in, SizingResult &r, Note note)
{
    // (G * (273 + t))^0.5
    const auto root = [&] {
        const double product = GTimesAbsolute(in, note);
        return note("(G·T)^0.5", "(G·T)^0.5", "{}^0.5", { product }, Pow(product, kHalf));
    };
    const auto scaled
        = [&] { return note("249P1", "249 × P1", "249 × {}", { in.P1 }, Mul(k249, in.P1)); };
    Produce(
        r,
        // Cv = (Q / (249 * P1)) * root
        [&] {
            const double divisor = scaled();
            const double left
                = note("Q/(249P1)", "Q / 249P1", "{} / {}", { in.Q, divisor }, Div(in.Q, divisor));
            const double right = root();
            return Result(
                note, "Cv", "Q/(249P1) × (G·T)^0.5", "{} × {}", { left, right }, Mul(left, right));
        },
        // C = (Q / ((249 * P1) * 1.17)) * root
        [&] {
            const double product = scaled();
            const double divisor = note(
                "249P1·1.17", "249P1 × 1.17", "{} × {}", { product, k1_17 }, Mul(product, k1_17));
            const double left = note("Q/(249P1·1.17)", "Q / (249P1·1.17)", "{} / {}",
                { in.Q, divisor }, Div(in.Q, divisor));
            const double right = root();
            return Result(note, "C", "Q/(249P1·1.17) × (G·T)^0.5", "{} × {}", { left, right },
                Mul(left, right));
        });
}

template <typename Note>
void ComputeWaterSteamSubcritical(const SizingInputs &in, double k, SizingResult &r, Note note)
{
    // 13.67 * (dP * (P1 + P2))^0.5
    const auto divisor = [&] {
        const double product = DropTimesSum(in, note);
        const double root = note(
            "(ΔP·(P1+P2))^0.5", "(ΔP·(P1+P2))^0.5", "{}^0.5", { product }, Pow(product, kHalf));
        return note("D", "13.67 × (ΔP·(P1+P2))^0.5", "13.67 × {}", { root }, Mul(k13_67, root));
    };
    const auto numerator = [&] {
        return note("Q·K", "Q × K", "{} × {}", { in.Q, k }, Mul(in.Q, k));
    };
    Produce(
        r,
        // Cv = (Q * K) / divisor
        [&] {
            const double top = numerator();
            const double bottom = divisor();
            return Result(note, "Cv", "Q·K / D", "{} / {}", { top, bottom }, Div(top, bottom));
        },
        // C = (Q * K) / (1.17 * divisor)
        [&] {
            const double top = numerator();
            const double d = divisor();
            const double bottom = note("1.17D", "1.17 × D", "{} × {}", { k1_17, d }, Mul(k1_17, d));
            return Result(note, "C", "Q·K / 1.17D", "{} / {}", { top, bottom }, Div(top, bottom));
        });
}

template <typename Note>
void ComputeWaterSteamCritical(const SizingInputs &in, double k, SizingResult &r, Note note)
{
    const auto numerator = [&] {
        return note("Q·K", "Q × K", "{} × {}", { in.Q, k }, Mul(in.Q, k));
    };
    Produce(
        r,
        // Cv = (Q * K) / (11.9 * P1)
        [&] {
            const double top = numerator();
            const double bottom
                = note("11.9P1", "11.9 × P1", "11.9 × {}", { in.P1 }, Mul(k11_9, in.P1));
            return Result(note, "Cv", "Q·K / 11.9P1", "{} / {}", { top, bottom }, Div(top, bottom));
        },
        // C = (Q * K) / (13.923 * P1)
        [&] {
            const double top = numerator();
            const double bottom
                = note("13.923P1", "13.923 × P1", "13.923 × {}", { in.P1 }, Mul(k13_923, in.P1));
            return Result(
                note, "C", "Q·K / 13.923P1", "{} / {}", { top, bottom }, Div(top, bottom));
        });
}

template <typename Note> void ComputeOtherSteam(const SizingInputs &in, SizingResult &r, Note note)
{
    // ((t + G) / dP)^0.5
    const auto root = [&] {
        const double sum = note("t+G", "t + G", "{} + {}", { in.t, in.G }, Add(in.t, in.G));
        const double drop = Drop(in, note);
        const double ratio
            = note("(t+G)/ΔP", "(t+G) / ΔP", "{} / {}", { sum, drop }, Div(sum, drop));
        return note("((t+G)/ΔP)^0.5", "((t+G)/ΔP)^0.5", "{}^0.5", { ratio }, Pow(ratio, kHalf));
    };
    Produce(
        r,
        // Cv = (Q / 1210) * root
        [&] {
            const double left = note("Q/1210", "Q / 1210", "{} / 1210", { in.Q }, Div(in.Q, k1210));
            const double right = root();
            return Result(note, "Cv", "Q/1210 × ((t+G)/ΔP)^0.5", "{} × {}", { left, right },
                Mul(left, right));
        },
        // C = (Q / 1415.7) * root
        [&] {
            const double left
                = note("Q/1415.7", "Q / 1415.7", "{} / {}", { in.Q, k1415_7 }, Div(in.Q, k1415_7));
            const double right = root();
            return Result(note, "C", "Q/1415.7 × ((t+G)/ΔP)^0.5", "{} × {}", { left, right },
                Mul(left, right));
        });
}

template <typename Note>
void Compute(MediumKind medium, const SizingInputs &in, SizingResult &result, Note note)
{
    switch (medium) {
    case MediumKind::Liquid:
        result.Case = FormulaCase { medium, std::nullopt };
        ComputeLiquid(in, result, note);
        return;
    case MediumKind::Gas: {
        const FlowRegime regime = RegimeOf(in, note.With(StepRole::RegimeTest));
        result.Case = FormulaCase { medium, regime };
        if (regime == FlowRegime::Subcritical)
            ComputeGasSubcritical(in, result, note);
        else
            ComputeGasCritical(in, result, note);
        return;
    }
    case MediumKind::WaterSteam: {
        const FlowRegime regime = RegimeOf(in, note.With(StepRole::RegimeTest));
        result.Case = FormulaCase { medium, regime };
        // K = t * 0.0013 + 1 in double, then held in single precision.
        const double scaled
            = note("0.0013t", "t × 0.0013", "{} × 0.0013", { in.t }, Mul(in.t, k0_0013));
        result.SuperheatFactor = ToSingle(Add(scaled, kOne));
        const double k
            = note("K", "0.0013t + 1（单精度）", "{} + 1", { scaled }, result.SuperheatFactor);
        if (regime == FlowRegime::Subcritical)
            ComputeWaterSteamSubcritical(in, k, result, note);
        else
            ComputeWaterSteamCritical(in, k, result, note);
        return;
    }
    case MediumKind::OtherSteam:
        result.Case = FormulaCase { medium, std::nullopt };
        ComputeOtherSteam(in, result, note);
        return;
    }
}

} // namespace quorvel::formulas
