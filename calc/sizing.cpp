#include "calc/sizing.h"

#include "calc/formulas.h"

namespace quorvel {

void ComputeFlowCoefficients(MediumKind medium, const SizingInputs &in, SizingResult &result)
{
    formulas::Compute(medium, in, result, formulas::Silent());
}

} // namespace quorvel
