// Val on arbitrary bytes, UTF-8 or not: a finite number or an Overflow
// error, and the number's text reads back to the same text.
#include "runtime/error.h"
#include "runtime/text.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char *>(data), size);
    double value = 0;
    try {
        value = quorvel::Val(text);
    } catch (const quorvel::RuntimeError &e) {
        if (e.kind() != quorvel::ErrorKind::Overflow)
            std::abort();
        return 0;
    }
    if (!std::isfinite(value))
        std::abort();
    const std::string shown = quorvel::NumberToText(value);
    if (quorvel::NumberToText(quorvel::Val(shown)) != shown)
        std::abort();
    return 0;
}
