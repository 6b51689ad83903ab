#include "calc/formulas.h"

namespace quorvel::formulas {

namespace {

class Recording {
public:
    explicit Recording(StepRecorder &recorder)
        : recorder_(recorder)
    {
    }
    double operator()(std::string_view symbol, std::string_view formula,
        std::string_view substituted, std::initializer_list<double> operands, double value) const
    {
        Step step { symbol, formula, substituted, {}, operands.size(), value };
        std::copy(operands.begin(), operands.end(), step.operands.begin());
        recorder_.Record(step);
        return value;
    }

private:
    StepRecorder &recorder_;
};

} // namespace

void ComputeRecorded(MediumKind medium, const SizingInputs &in, SizingResult &result,
    float &SuperheatFactor, StepRecorder &recorder)
{
    Compute(medium, in, result, SuperheatFactor, Recording(recorder));
}

} // namespace quorvel::formulas
