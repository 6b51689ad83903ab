// The calculation on five doubles taken bit for bit from the input, so
// subnormals, huge values, negative zero, infinities and NaN patterns all
// reach it, for each medium. Either finite coefficients with C = Cv / 1.17,
// or a run-time error; never a NaN or an infinity.
#include "calc/sizing.h"
#include "runtime/error.h"

#include <cfenv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size < 1)
        return 0;
    const auto medium = static_cast<quorvel::MediumKind>(data[0] % 4);
    double fields[5] = {};
    std::memcpy(fields, data + 1, std::min(size - 1, sizeof fields));
    const quorvel::SizingInputs in { fields[0], fields[1], fields[2], fields[3], fields[4] };

    quorvel::SizingResult r;
    bool failed = false;
    std::feclearexcept(FE_ALL_EXCEPT);
    try {
        quorvel::ComputeFlowCoefficients(medium, in, r);
    } catch (const quorvel::RuntimeError &) {
        failed = true;
    }
    const bool underflowed = std::fetestexcept(FE_UNDERFLOW);
    if ((r.CvProduced && !std::isfinite(r.Cv)) || (r.CProduced && !std::isfinite(r.C)))
        std::abort();
    if (failed)
        return r.CProduced ? (std::abort(), 0) : 0;
    if (!r.CvProduced || !r.CProduced)
        std::abort();
    // Steps that fell into the subnormal range keep fewer digits.
    if (std::isnormal(r.Cv) && std::isnormal(r.C) && !underflowed
        && std::fabs(r.C - r.Cv / 1.17) > std::fabs(r.C) * 1e-6)
        std::abort();
    return 0;
}
