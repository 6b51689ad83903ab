#include "calc/formulas.h"

// How the recording calculation notes each step: it tells the recorder.
namespace quorvel::formulas {
namespace {

class Recording {
public:
    explicit Recording(StepRecorder &recorder, StepRole role = StepRole::Working)
        : recorder_(recorder)
        , role_(role)
    {
    }
    Recording With(StepRole role) const { return Recording(recorder_, role); }
    double operator()(std::string_view symbol, std::string_view formula,
        std::string_view substituted, std::initializer_list<double> operands, double value) const
    {
        Step step { role_, symbol, formula, substituted, {}, operands.size(), value };
        std::copy(operands.begin(), operands.end(), step.operands.begin());
        recorder_.Record(step);
        return value;
    }

private:
    StepRecorder &recorder_;
    StepRole role_;
};

} // namespace
} // namespace quorvel::formulas

namespace quorvel {

void ComputeFlowCoefficients(
    MediumKind medium, const SizingInputs &in, SizingResult &result, StepRecorder &recorder)
{
    formulas::Compute(medium, in, result, formulas::Recording(recorder));
}

} // namespace quorvel
