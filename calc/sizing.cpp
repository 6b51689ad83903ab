#include "calc/sizing.h"

#include "calc/formulas.h"

namespace quorvel {

void ComputeFlowCoefficients(MediumKind medium, const SizingInputs &in, SizingResult &result,
    float &SuperheatFactor, StepRecorder *recorder)
{
    if (recorder)
        formulas::ComputeRecorded(medium, in, result, SuperheatFactor, *recorder);
    else
        formulas::Compute(medium, in, result, SuperheatFactor, formulas::Silent());
}

} // namespace quorvel
