#include "calc/sizing.h"

#include "calc/formulas.h"

namespace quorvel {

void ComputeFlowCoefficients(
    MediumKind medium, const SizingInputs &in, SizingResult &result, StepRecorder *recorder)
{
    if (recorder)
        formulas::ComputeRecorded(medium, in, result, *recorder);
    else
        formulas::Compute(medium, in, result, formulas::Silent());
}

} // namespace quorvel
