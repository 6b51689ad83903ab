// Prints Val of many random texts (as bits) and NumberToText of many random
// doubles (tests/random_texts.h), one line each, an error as its kind: the
// same output from two builds means the same conversions.
#include "runtime/error.h"
#include "runtime/text.h"

#include "tests/random_texts.h"

#include <cinttypes>
#include <cstdio>
#include <cstring>

int main()
{
    using namespace quorvel;
    std::mt19937_64 texts(20261209), numbers(91202);
    for (int i = 0; i < 200'000; ++i) {
        const std::string text = test::RandomText(texts, i);
        const double value = test::RandomDouble(numbers, i);
        try {
            const double read = Val(text);
            std::uint64_t bits;
            std::memcpy(&bits, &read, sizeof bits);
            std::printf("%016" PRIx64, bits);
        } catch (const RuntimeError &e) {
            std::printf("error %d", static_cast<int>(e.kind()));
        }
        try {
            std::printf(" %s\n", NumberToText(value).c_str());
        } catch (const RuntimeError &e) {
            std::printf(" error %d\n", static_cast<int>(e.kind()));
        }
    }
}
