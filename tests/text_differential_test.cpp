// Val and NumberToText against the conversions they replaced
// (tests/text_reference.cpp), on many random texts and numbers: the same
// bits, the same texts, the same errors.
#include "runtime/error.h"
#include "runtime/text.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <random>
#include <string>
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

// Texts made of what a number is made of, full-width forms and junk
// included, and plain numbers with long mantissas and far exponents.
TEST(TextDifferential, ValReadsEveryTextAsBefore)
{
    static const std::string_view pieces[] = { "0", "1", "2", "5", "7", "9", "0", "00", ".", "e",
        "E", "-", "+", " ", "\t", "１", "０", "．", "－", "＋", "\u3000", ",", "x", "1e308",
        "e-320", "999999999999999999", "4.9406564584124654e-324", "2.2250738585072011e-308" };
    std::mt19937_64 random(20261209);
    for (int i = 0; i < 200'000; ++i) {
        std::string text;
        if (i % 2 == 0) {
            for (auto n = random() % 12; n > 0; --n)
                text += pieces[random() % std::size(pieces)];
        } else {
            text = random() % 2 ? "-" : "";
            for (auto n = 1 + random() % 40; n > 0; --n)
                text += char('0' + random() % 10);
            if (random() % 2)
                text.insert(1 + random() % text.size(), ".");
            text += "e" + std::to_string(int(random() % 800) - 400);
        }
        ASSERT_EQ(Outcome([&] { return Val(text); }), Outcome([&] { return reference::Val(text); }))
            << text;
    }
}

// Any bit pattern, integers whose sixteenth digit is a tie at fifteen, the
// neighbours of the powers of ten, and any double between 2^-20 and 2^53.
TEST(TextDifferential, NumberToTextWritesEveryNumberAsBefore)
{
    std::mt19937_64 random(91202);
    for (int i = 0; i < 200'000; ++i) {
        double value = std::bit_cast<double>(random());
        if (i % 4 == 1)
            value = double((random() % 900'000'000'000'000) * 10 + 5);
        else if (i % 4 == 2)
            value = std::nextafter(
                std::pow(10.0, int(random() % 600) - 300), random() % 2 ? 0.0 : HUGE_VAL);
        ASSERT_EQ(Outcome([&] { return NumberToText(value); }), Outcome([&] {
            return reference::NumberToText(value);
        })) << std::hexfloat
            << value;
    }
}

} // namespace quorvel::test
