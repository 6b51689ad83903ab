// Checked arithmetic, Val and number to text.
#include "runtime/arith.h"
#include "runtime/error.h"
#include "runtime/text.h"

#include "tests/case_name.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <limits>
#include <optional>
#include <random>
#include <string>

namespace quorvel::test {

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// Runs f and returns the kind it raised, or nullopt.
template <typename F> std::optional<ErrorKind> KindRaisedBy(F &&f)
{
    try {
        f();
    } catch (const RuntimeError &e) {
        return e.kind();
    }
    return std::nullopt;
}

struct ArithCase {
    const char *name;
    double (*op)(double, double);
    double a, b;
    std::optional<ErrorKind> error; // nullopt: the result is `expected`
    double expected;
};

class Arith : public testing::TestWithParam<ArithCase> { };

TEST_P(Arith, ResultOrError)
{
    const ArithCase &c = GetParam();
    double got = 0;
    EXPECT_EQ(KindRaisedBy([&] { got = c.op(c.a, c.b); }), c.error);
    if (!c.error) {
        EXPECT_EQ(got, c.expected);
    }
}

INSTANTIATE_TEST_SUITE_P(Runtime, Arith,
    testing::Values(ArithCase { "add", Add, 0.1, 0.2, {}, 0.1 + 0.2 },
        ArithCase { "add_overflow", Add, DBL_MAX, DBL_MAX, ErrorKind::Overflow, 0 },
        ArithCase { "sub_overflow", Sub, DBL_MAX, -DBL_MAX, ErrorKind::Overflow, 0 },
        ArithCase { "mul_overflow", Mul, 1e200, 1e200, ErrorKind::Overflow, 0 },
        ArithCase { "mul_underflow_is_zero", Mul, 1e-200, 1e-200, {}, 0.0 },
        ArithCase { "div", Div, 1.0, 3.0, {}, 1.0 / 3.0 },
        ArithCase { "div_by_zero", Div, 1.0, 0.0, ErrorKind::DivisionByZero, 0 },
        ArithCase { "div_zero_by_zero", Div, 0.0, 0.0, ErrorKind::DivisionByZero, 0 },
        ArithCase { "div_by_negative_zero", Div, 5.0, -0.0, ErrorKind::DivisionByZero, 0 },
        ArithCase { "div_overflow", Div, 1e300, 1e-300, ErrorKind::Overflow, 0 },
        ArithCase { "pow_half", Pow, 2.25, 0.5, {}, 1.5 },
        ArithCase { "pow_zero_half", Pow, 0.0, 0.5, {}, 0.0 },
        // The correctly rounded root, checked with 60-digit decimals; pow()
        // gives 0x1.5946fd2f8b164p+43.
        ArithCase { "pow_half_correctly_rounded", Pow, 0x1.d1b06a1995492p+86, 0.5, {},
            0x1.5946fd2f8b165p+43 },
        ArithCase { "pow_negative_half", Pow, -4.0, 0.5, ErrorKind::InvalidArgument, 0 },
        ArithCase { "pow_negative_integer", Pow, -2.0, 3.0, {}, -8.0 },
        ArithCase { "pow_zero_negative", Pow, 0.0, -1.0, ErrorKind::DivisionByZero, 0 },
        ArithCase { "nan_operand", Add, kNaN, 1.0, ErrorKind::InvalidArgument, 0 },
        ArithCase { "infinite_operand", Mul, kInf, 0.0, ErrorKind::Overflow, 0 },
        ArithCase { "infinite_divisor", Div, 1.0, kInf, ErrorKind::Overflow, 0 }),
    CaseName());

TEST(Runtime, ComparisonsAreStrictAndRefuseNaN)
{
    EXPECT_TRUE(Less(1.0, 2.0));
    EXPECT_FALSE(Less(2.0, 2.0));
    EXPECT_TRUE(Greater(3.0, 2.0));
    EXPECT_FALSE(Greater(2.0, 2.0));
    EXPECT_EQ(KindRaisedBy([] { Less(kNaN, 1.0); }), ErrorKind::InvalidArgument);
}

TEST(Runtime, ToSingleRoundsToNearestAndOverflowsPastTheSingleRange)
{
    EXPECT_EQ(ToSingle(1.13), 1.12999999523162841796875f);
    EXPECT_EQ(ToSingle(-1.17), -1.16999995708465576171875f);
    // Below the halfway point to 2^128 still rounds to FLT_MAX.
    EXPECT_EQ(ToSingle(0x1.fffffefffffffp127), FLT_MAX);
    EXPECT_EQ(ToSingle(-0x1.fffffefffffffp127), -FLT_MAX);
    EXPECT_EQ(KindRaisedBy([] { ToSingle(0x1.ffffffp127); }), ErrorKind::Overflow);
    EXPECT_EQ(KindRaisedBy([] { ToSingle(-1e39); }), ErrorKind::Overflow);
}

struct ValCase {
    const char *name;
    const char *text;
    double expected;
    std::optional<ErrorKind> error = std::nullopt;
};

class ValConversion : public testing::TestWithParam<ValCase> { };

TEST_P(ValConversion, LeadingNumber)
{
    const ValCase &c = GetParam();
    double got = -12345;
    EXPECT_EQ(KindRaisedBy([&] { got = Val(c.text); }), c.error);
    if (!c.error) {
        EXPECT_EQ(got, c.expected) << c.text;
    }
}

INSTANTIATE_TEST_SUITE_P(Runtime, ValConversion,
    testing::Values(ValCase { "empty", "", 0 }, ValCase { "letters", "abc", 0 },
        ValCase { "integer", "12", 12 }, ValCase { "trailing_letters", "12abc", 12 },
        ValCase { "decimal_comma_ends", "1,5", 1 }, ValCase { "leading_point", ".5", 0.5 },
        ValCase { "exponent", "1e1", 10 }, ValCase { "exponent_upper", "2.5E-3", 2.5e-3 },
        ValCase { "negative", "-2", -2 }, ValCase { "plus", "+3.5", 3.5 },
        ValCase { "negative_point", "-.25", -0.25 }, ValCase { "exponent_without_digits", "7e", 7 },
        ValCase { "exponent_sign_without_digits", "7e+x", 7 },
        ValCase { "second_point_ends", "1.5.3", 1.5 },
        ValCase { "blanks_skipped", " \t\r\n 42", 42 },
        ValCase { "blank_after_sign_ends", "- 4", 0 }, ValCase { "point_alone", ".", 0 },
        ValCase { "sign_alone", "-", 0 }, ValCase { "inf_is_not_a_number", "inf", 0 },
        ValCase { "nan_is_not_a_number", "nan", 0 }, ValCase { "hex_prefix", "0x10", 0 },
        ValCase { "fullwidth_digits", "１０", 10 },
        ValCase { "fullwidth_sign_point", "－２．５", -2.5 },
        ValCase { "fullwidth_plus", "＋３", 3 }, ValCase { "ideographic_space", "\u30007", 7 },
        ValCase { "mixed_widths", "1２.５e1", 125 }, ValCase { "chinese_text_ends", "12公斤", 12 },
        ValCase { "invalid_utf8",
            "\xff"
            "1",
            0 },
        ValCase { "truncated_fullwidth", "\xef\xbc", 0 },
        ValCase { "largest", "1.7976931348623157e308", DBL_MAX },
        ValCase { "beyond_double_range", "1e309", 0, ErrorKind::Overflow },
        ValCase { "beyond_range_negative", "-2e308", 0, ErrorKind::Overflow },
        ValCase { "many_digits_beyond_range", "0.001e312", 0, ErrorKind::Overflow },
        ValCase { "huge_exponent", "1e99999999999999999999", 0, ErrorKind::Overflow },
        ValCase { "below_double_range", "1e-400", 0 },
        ValCase { "below_range_many_digits", "123e-500", 0 },
        ValCase { "small_fraction_in_range", "0.00001e-300", 1e-305 },
        ValCase { "subnormal", "4e-320", 4e-320 }),
    CaseName());

struct TextCase {
    const char *name;
    double value;
    const char *text;
};

class NumberText : public testing::TestWithParam<TextCase> { };

TEST_P(NumberText, Formats)
{
    EXPECT_EQ(NumberToText(GetParam().value), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(Runtime, NumberText,
    testing::Values(TextCase { "zero", 0.0, "0" }, TextCase { "negative_zero", -0.0, "0" },
        TextCase { "integer", 10.0, "10" },
        TextCase { "liquid_cv", 11.6999995708465576171875, "11.6999995708466" },
        TextCase { "negative", -3.25, "-3.25" }, TextCase { "fraction", 123456.789, "123456.789" },
        TextCase { "smallest_plain", 1e-4, "0.0001" },
        TextCase { "small_plain", 0.00012345, "0.00012345" },
        TextCase { "rounds_up_to_plain", 0.0000999999999999999912, "0.0001" },
        TextCase { "largest_plain", 999999999999999.0, "999999999999999" },
        TextCase { "rounds_up_to_exponent", 999999999999999.9, "1E+15" },
        TextCase { "exponent_large", 1.5e20, "1.5E+20" },
        TextCase { "exponent_small", 2.5e-5, "2.5E-05" },
        TextCase { "exponent_three_digits", -1e-300, "-1E-300" },
        TextCase { "subnormal", 1e-310, "9.99999999999997E-311" },
        TextCase { "double_max", DBL_MAX, "1.79769313486232E+308" },
        TextCase { "fifteen_digits", 1.0 / 3.0, "0.333333333333333" },
        TextCase { "tens_padded", 1.2e14, "120000000000000" }),
    CaseName());

TEST(Runtime, NumberTextRefusesNonFinite)
{
    EXPECT_EQ(KindRaisedBy([] { NumberToText(kNaN); }), ErrorKind::InvalidArgument);
    EXPECT_EQ(KindRaisedBy([] { NumberToText(-kInf); }), ErrorKind::Overflow);
}

// An engineer copies a result into a datasheet and types it back in: the
// value must survive to 15 significant digits, over the whole double range.
TEST(Runtime, TextReadBackWithValKeepsFifteenDigits)
{
    std::mt19937_64 rng(20261208);
    std::uniform_real_distribution<double> mantissa(1.0, 10.0);
    std::uniform_int_distribution<int> exponent(-307, 307);
    for (int i = 0; i < 20000; ++i) {
        const double x = (i % 2 ? -1 : 1) * mantissa(rng) * std::pow(10.0, exponent(rng));
        const std::string text = NumberToText(x);
        const double back = Val(text);
        ASSERT_LE(std::fabs(back - x), std::fabs(x) * 5.2e-15) << x << " -> " << text;
        ASSERT_EQ(NumberToText(back), text) << x;
    }
}

} // namespace quorvel::test
