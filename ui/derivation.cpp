#include "ui/derivation.h"

#include "calc/steam.h"
#include "runtime/arith.h"
#include "runtime/text.h"

#include <algorithm>
#include <initializer_list>

namespace quorvel {

namespace {

using enum Quantity;
using enum Derivation;
using enum MediumKind;

constexpr std::size_t kP1 = InputIndex(&SizingInputs::P1), kP2 = InputIndex(&SizingInputs::P2),
                      kG = InputIndex(&SizingInputs::G), kQ = InputIndex(&SizingInputs::Q),
                      kT = InputIndex(&SizingInputs::t);

constexpr Operand Column(
    std::string_view symbol, std::size_t input, Quantity quantity, std::string_view unit = {})
{
    return { symbol, input, quantity, false, unit };
}
constexpr Operand Input(std::string_view symbol, std::size_t input)
{
    return { symbol, input, Pressure, true, {} };
}

// By medium, then by input, each input's rules in the order they are
// preferred; first the pressures, whose rules every medium shares.
// clang-format off
constexpr Rule kRules[] = {
    { {}, kP1, Read, { Column("P1", kP1, Pressure) }, 1, {}, "{}" },
    { {}, kP2, Read, { Column("P2", kP2, Pressure) }, 1, {}, "{}" },
    { {}, kP2, DropToP2, { Input("P1", kP1), Column("ΔP", kP2, PressureDrop, "kgf/cm2") },
        2, "P1 − ΔP", "{} − {}" },

    { Liquid, kG, Read, { Column("G", kG, Gravity) }, 1, {}, "{}" },
    { Liquid, kG, DensityToG, { Column("ρ", kG, Density, "kg/m3") }, 1, "ρ / 1000", "{}" },
    { Liquid, kQ, Read, { Column("Q", kQ, Flow) }, 1, {}, "{}" },
    { Liquid, kQ, MassToQ, { Column("W", kQ, MassFlow, "kg/h"), Column("ρ", kG, Density, "kg/m3") },
        2, "W / ρ", "{} ÷ {}" },
    { Liquid, kQ, MassAndGToQ, { Column("W", kQ, MassFlow, "kg/h"), Input("G", kG) },
        2, "W / (1000 × G)", "{} ÷ (1000 × {})" },

    { Gas, kG, Read, { Column("G", kG, Gravity) }, 1, {}, "{}" },
    { Gas, kG, MolecularWeightToG, { Column("M", kG, MolecularWeight, "kg/kmol") },
        1, "M / 28.96", "{}" },
    { Gas, kG, StdDensityToG, { Column("ρN", kG, StdDensity, "kg/Nm3") }, 1, "ρN / 1.293", "{}" },
    { Gas, kG, InletDensityToG, { Column("ρ1", kG, Density, "kg/m3"),
        Column("P1", kP1, Pressure, kKpaAbsolute), Column("t", kT, Temperature, "℃") },
        3, "ρ1 × (101.325 / P1) × ((273.15 + t) / 273.15) / 1.293", "{}、{}、{}" },
    { Gas, kQ, Read, { Column("Q", kQ, Flow) }, 1, {}, "{}" },
    { Gas, kQ, MassAndMToQn, { Column("W", kQ, MassFlow, "kg/h"),
        Column("M", kG, MolecularWeight, "kg/kmol") }, 2, "W × 22.414 / M", "{} × 22.414 ÷ {}" },
    { Gas, kQ, MassAndStdDensityToQn, { Column("W", kQ, MassFlow, "kg/h"),
        Column("ρN", kG, StdDensity, "kg/Nm3") }, 2, "W / ρN", "{} ÷ {}" },
    { Gas, kQ, MassAndGToQn, { Column("W", kQ, MassFlow, "kg/h"), Input("G", kG) },
        2, "W / (1.293 × G)", "{} ÷ (1.293 × {})" },
    { Gas, kT, Read, { Column("t", kT, Temperature) }, 1, {}, "{}" },

    { WaterSteam, kQ, Read, { Column("Q", kQ, Flow) }, 1, {}, "{}" },
    { WaterSteam, kQ, Read, { Column("Q", kQ, MassFlow) }, 1, {}, "{}" },
    { WaterSteam, kT, Read, { Column("t", kT, Superheat) }, 1, {}, "{}" },
    { WaterSteam, kT, TemperatureToSuperheat, { Column("t", kT, Temperature, "℃"),
        Column("P1", kP1, Pressure, kKpaAbsolute) }, 2, "t − ts(P1)", "{} − ts({})" },

    { OtherSteam, kG, Read, { Column("G", kG, SpecificVolume) }, 1, {}, "{}" },
    { OtherSteam, kG, DensityToVolume, { Column("ρ2", kG, Density, "kg/m3") }, 1, "1000 / ρ2", "{}" },
    { OtherSteam, kQ, Read, { Column("Q", kQ, Flow) }, 1, {}, "{}" },
    { OtherSteam, kQ, Read, { Column("Q", kQ, MassFlow) }, 1, {}, "{}" },
    { OtherSteam, kT, Read, { Column("t", kT, SpecificVolume) }, 1, {}, "{}" },
    { OtherSteam, kT, DensityToVolume, { Column("ρ1", kT, Density, "kg/m3") }, 1, "1000 / ρ1", "{}" },
};
// clang-format on

// t − ts(P1), P1 in kPa absolute: the superheat, 0 just below saturation.
double SuperheatAt(double t, double p1, StepNote note, bool &saturated)
{
    const double p = note("p", "P1 / 1000", "{} / 1000", { p1 }, Div(p1, 1000));
    if (Less(p, kSaturationLowestMpa) || Greater(p, kSaturationHighestMpa))
        throw DerivationRefused("P1 = " + NumberToText(p)
            + " MPa 不在饱和温度公式的范围内（0.000611213 至 22.064 MPa）");
    const double kelvin
        = note("Ts", "IAPWS-IF97 饱和温度 Ts(p)", "Ts({})", { p }, SaturationTemperature(p));
    const double ts = note("ts", "Ts − 273.15", "{} − 273.15", { kelvin }, Sub(kelvin, 273.15));
    const double superheat = note("Δt", "t − ts", "{} − {}", { t, ts }, Sub(t, ts));
    if (!Less(superheat, 0))
        return superheat;
    if (Less(superheat, -kSaturatedWithinKelvin))
        throw DerivationRefused("温度 t = " + NumberToText(t)
            + " ℃ 低于 P1 下的饱和温度 ts = " + NumberToText(ts) + " ℃，不是过热蒸汽");
    saturated = true;
    return note("Δt", "Δt", "0（t 在 ts 以下 1 ℃ 以内，按饱和蒸汽）", {}, 0);
}

} // namespace

std::span<const Rule> RulesFor(MediumKind medium, std::size_t input)
{
    const auto of = [&](const Rule &rule) {
        return rule.input == input && (!rule.medium || rule.medium == medium);
    };
    const Rule *first = std::find_if(std::begin(kRules), std::end(kRules), of);
    const Rule *last = std::find_if_not(first, std::end(kRules), of);
    return { first, last };
}

double Derive(const Rule &rule, std::span<const double> x, StepRecorder *recorder, bool &saturated)
{
    const StepNote note { recorder };
    const std::string_view symbol = kInputs[rule.input].symbol;
    switch (rule.derivation) {
    case Read:
        return x[0];
    case DropToP2:
        return note(symbol, rule.formula, "{} − {}", { x[0], x[1] }, Sub(x[0], x[1]));
    case DensityToG:
        return note(symbol, rule.formula, "{} / 1000", { x[0] }, Div(x[0], 1000));
    case MassToQ:
        return note(symbol, rule.formula, "{} / {}", { x[0], x[1] }, Div(x[0], x[1]));
    case MassAndGToQ: {
        const double density = note("ρ", "1000 × G", "1000 × {}", { x[1] }, Mul(1000, x[1]));
        return note(symbol, "W / ρ", "{} / {}", { x[0], density }, Div(x[0], density));
    }
    case MolecularWeightToG:
        return note(symbol, rule.formula, "{} / 28.96", { x[0] }, Div(x[0], 28.96));
    case StdDensityToG:
        return note(symbol, rule.formula, "{} / 1.293", { x[0] }, Div(x[0], 1.293));
    case InletDensityToG: {
        const double density = x[0], p1 = x[1], t = x[2];
        const double standard = Mul(density, Div(101.325, p1));
        const double heated = Mul(standard, Div(Add(273.15, t), 273.15));
        return note(symbol, rule.formula, "{} × (101.325 / {}) × ((273.15 + {}) / 273.15) / 1.293",
            { density, p1, t }, Div(heated, 1.293));
    }
    case MassAndMToQn:
        return note(
            symbol, rule.formula, "{} × 22.414 / {}", { x[0], x[1] }, Div(Mul(x[0], 22.414), x[1]));
    case MassAndStdDensityToQn:
        return note(symbol, rule.formula, "{} / {}", { x[0], x[1] }, Div(x[0], x[1]));
    case MassAndGToQn:
        return note(
            symbol, rule.formula, "{} / (1.293 × {})", { x[0], x[1] }, Div(x[0], Mul(1.293, x[1])));
    case TemperatureToSuperheat:
        return SuperheatAt(x[0], x[1], note, saturated);
    case DensityToVolume:
        return note(symbol, rule.formula, "1000 / {}", { x[0] }, Div(1000, x[0]));
    }
    return x[0];
}

} // namespace quorvel
