// How a valve list's row gives an input that is not read straight from its
// cell: a rule takes one or more cells of the row (each in the unit the rule
// names) and the inputs read before it, and makes the input with its
// constants. Each rule is written once, as the formulas are
// (calc/formulas.h): computed in the checked arithmetic, silently for the
// list's answer or telling a StepRecorder each step with its numbers for the
// book, so that the two never disagree.
#pragma once

#include "calc/sizing.h"
#include "ui/media.h"
#include "ui/steps.h"

#include <array>
#include <cstddef>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>

namespace quorvel {

enum class Derivation {
    Read, // the cell itself, in the window's unit
    DropToP2, // P2 = P1 − ΔP
    DensityToG, // G = ρ / 1000
    MassToQ, // Q = W / ρ
    MassAndGToQ, // ρ = 1000 × G, Q = W / ρ
    MolecularWeightToG, // G = M / 28.96
    StdDensityToG, // G = ρN / 1.293
    InletDensityToG, // G = ρ1 × (101.325 / P1) × ((273.15 + t) / 273.15) / 1.293
    MassAndMToQn, // Qn = W × 22.414 / M
    MassAndStdDensityToQn, // Qn = W / ρN
    MassAndGToQn, // Qn = W / (1.293 × G)
    TemperatureToSuperheat, // Δt = t − ts(P1)
    DensityToVolume, // v = 1000 / ρ
};

// What a rule takes: a column that one of an input's header names give, in
// a unit, or an input read before it (as the calculation takes it).
// The unit of an absolute pressure that a rule takes in kPa.
inline constexpr std::string_view kKpaAbsolute = "kPa abs";

struct Operand {
    std::string_view symbol;
    std::size_t input; // in the order of kInputs
    Quantity quantity;
    bool fromInput = false;
    std::string_view unit = {}; // a column's value is converted to this first
};

struct Rule {
    std::optional<MediumKind> medium; // none: the rule of every medium
    std::size_t input;
    Derivation derivation;
    std::array<Operand, 3> operands;
    std::size_t count;
    std::string_view formula; // as an engineer writes it: "W / ρ"; "" for Read
    std::string_view columns; // how the list's message joins the columns: "{} ÷ {}"

    std::span<const Operand> Operands() const { return { operands.data(), count }; }
};

// Every medium's rules for each input, in the order they are preferred: the
// first whose columns a header has gives the input.
std::span<const Rule> RulesFor(MediumKind medium, std::size_t input);

// A row the rule cannot serve, with the reason: a temperature below the
// saturation temperature, a pressure beyond the saturation line's range.
class DerivationRefused : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A water-steam temperature this far below the saturation temperature at
// P1 still counts as saturated steam, its superheat 0.
inline constexpr double kSaturatedWithinKelvin = 1;

// The input from the operands' values (in the rule's units, in its order);
// tells `recorder`, when given, each step. Raises RuntimeError where the
// arithmetic fails and DerivationRefused where the rule cannot serve. A
// superheat within kSaturatedWithinKelvin below saturation is 0, and
// `saturated` is set.
double Derive(
    const Rule &rule, std::span<const double> operands, StepRecorder *recorder, bool &saturated);

} // namespace quorvel
