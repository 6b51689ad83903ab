// Val and NumberToText against the conversions they replaced
// (tests/text_reference.cpp), on many random texts and numbers
// (tests/random_texts.h): the same bits, the same texts, the same errors.
#include "runtime/error.h"
#include "runtime/text.h"

#include "tests/random_texts.h"

#include <gtest/gtest.h>

#include <variant>

namespace quorvel::reference {
double Val(std::string_view text);
std::string NumberToText(double value);
} // namespace quorvel::reference

namespace quorvel::test {

// A value's bits, or the error it raised.
template <typename F> std::variant<std::uint64_t, std::string, ErrorKind> Outcome(F &&f)
{
    try {
        const auto value = f();
        if constexpr (std::is_same_v<decltype(value), const double>)
            return std::bit_cast<std::uint64_t>(value);
        else
            return value;
    } catch (const RuntimeError &e) {
        return e.kind();
    }
}

TEST(TextDifferential, ValReadsEveryTextAsBefore)
{
    std::mt19937_64 random(20261209);
    for (int i = 0; i < 200'000; ++i) {
        const std::string text = RandomText(random, i);
        ASSERT_EQ(Outcome([&] { return Val(text); }), Outcome([&] { return reference::Val(text); }))
            << text;
    }
}

TEST(TextDifferential, NumberToTextWritesEveryNumberAsBefore)
{
    std::mt19937_64 random(91202);
    for (int i = 0; i < 200'000; ++i) {
        const double value = RandomDouble(random, i);
        ASSERT_EQ(Outcome([&] { return NumberToText(value); }), Outcome([&] {
            return reference::NumberToText(value);
        })) << std::hexfloat
            << value;
    }
}

} // namespace quorvel::test
