// Random texts and numbers for the conversions' differential tests: texts
// made of what a number is made of, full-width forms and junk included, and
// plain numbers with long mantissas and far exponents; doubles of any bit
// pattern, integers whose sixteenth digit is a tie at fifteen, neighbours
// of the powers of ten, and any double between 2^-20 and 2^53. The engine's
// raw output only, so every platform draws the same.
#pragma once

#include <cmath>
#include <cstdint>
#include <cstring>
#include <random>
#include <string>
#include <string_view>

namespace quorvel::test {

inline std::string RandomText(std::mt19937_64 &random, int i)
{
    static constexpr std::string_view pieces[] = { "0", "1", "2", "5", "7", "9", "0", "00", ".",
        "e", "E", "-", "+", " ", "\t", "１", "０", "．", "－", "＋", "\u3000", ",", "x", "1e308",
        "e-320", "999999999999999999", "4.9406564584124654e-324", "2.2250738585072011e-308" };
    std::string text;
    if (i % 2 == 0) {
        for (auto n = random() % 12; n > 0; --n)
            text += pieces[random() % std::size(pieces)];
        return text;
    }
    text = random() % 2 ? "-" : "";
    for (auto n = 1 + random() % 40; n > 0; --n)
        text += char('0' + random() % 10);
    if (random() % 2)
        text.insert(1 + random() % text.size(), ".");
    return text + "e" + std::to_string(int(random() % 800) - 400);
}

inline double RandomDouble(std::mt19937_64 &random, int i)
{
    // One draw a statement: the order in which a call's arguments are
    // evaluated differs between compilers.
    const std::uint64_t first = random(), second = random();
    switch (i % 4) {
    case 1:
        return double((first % 900'000'000'000'000) * 10 + 5);
    case 2:
        return std::nextafter(std::pow(10.0, int(first % 600) - 300), second % 2 ? 0.0 : HUGE_VAL);
    case 3:
        return std::ldexp(double(first >> 11), int(second % 74) - 73);
    default: {
        double value;
        std::memcpy(&value, &first, sizeof value);
        return value;
    }
    }
}

} // namespace quorvel::test
