// The sizing calculation: from the medium and five numbers to the two flow
// coefficients of a control valve, Cv and the metric C (in every case C is
// Cv / 1.17 within the rounding of the stored constants).
//
// Every formula is evaluated in its written order, one checked operation at
// a time (runtime/arith.h), so a division by zero, an overflow or a negative
// radicand raises a RuntimeError out of the call instead of producing an
// infinity or a NaN. The caller's record keeps whatever was stored before.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string_view>

namespace quorvel {

enum class MediumKind { Liquid, Gas, WaterSteam, OtherSteam };

// Decided for Gas and WaterSteam only: Subcritical when the pressure drop is
// below half the upstream pressure, Critical from half of it upwards.
enum class FlowRegime { Subcritical, Critical };

// What G and t stand for depends on the medium: specific gravity and
// temperature for liquid and gas, superheat temperature (G unused) for water
// steam, outlet and inlet specific volume for other steam.
struct SizingInputs {
    double P1 = 0.0;
    double P2 = 0.0;
    double G = 0.0;
    double Q = 0.0;
    double t = 0.0;
};

// Which of the six formulas was computed.
struct FormulaCase {
    MediumKind Medium = MediumKind::Liquid;
    std::optional<FlowRegime> Regime; // only for Gas and WaterSteam
    bool operator==(const FormulaCase &) const = default;
};

struct SizingResult {
    double Cv = 0.0;
    bool CvProduced = false;
    double C = 0.0;
    bool CProduced = false;
    std::optional<FormulaCase> Case; // set once the case is decided
    // K = t * 0.0013 + 1, held in single precision; computed by the two
    // water-steam cases before their first use of it, 0 otherwise.
    float SuperheatFactor = 0.0f;
};

// The constants that the formulas hold in single precision, as they are
// written and as the arithmetic uses them (1.17 enters as
// 1.16999995708465576171875, not 1.17).
struct SingleConstant {
    std::string_view written;
    double used;
};
inline constexpr SingleConstant kSingleConstants[] = {
    { "1.17", static_cast<double>(1.17f) },
    { "335.79", static_cast<double>(335.79f) },
    { "1415.7", static_cast<double>(1415.7f) },
};

// What a step stands for in the calculation: the two values of the flow
// regime's test, a step of the chosen formula, or Cv or C itself.
enum class StepRole { RegimeTest, Working, Result };

// One named value of a calculation, as it was computed: `symbol` =
// `formula` = `substituted` with the operands put in for its "{}", in order
// = `value`. Texts are UTF-8 and live as long as the program.
struct Step {
    StepRole role = StepRole::Working;
    std::string_view symbol; // "ΔP"
    std::string_view formula; // "P1 − P2"
    std::string_view substituted; // "{} − {}"
    std::array<double, 3> operands {};
    std::size_t operandCount = 0;
    double value = 0.0;
};

// Told each step in the order the calculation evaluates them, before the
// next operation; a step whose operation fails is not told. A record of the
// calculation is made from these, never from a second copy of the formulas.
class StepRecorder {
public:
    virtual void Record(const Step &step) = 0;

protected:
    ~StepRecorder() = default;
};

// Fills `result` (which should be fresh) for the given medium; nothing else
// is changed.
void ComputeFlowCoefficients(MediumKind medium, const SizingInputs &inputs, SizingResult &result);
// The same, telling `recorder` every named value as well; the arithmetic is
// the same. Compiled apart (recorded_sizing.cpp), so that a program that
// never records carries none of it.
void ComputeFlowCoefficients(
    MediumKind medium, const SizingInputs &inputs, SizingResult &result, StepRecorder &recorder);

} // namespace quorvel
