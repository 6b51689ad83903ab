#include "runtime/text.h"

#include "runtime/error.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace quorvel {

namespace {

// One character of the text as the ASCII character it stands for (0 for any
// other), and how many bytes it takes.
struct Unit {
    char ascii;
    std::size_t length;
};

Unit UnitAt(std::string_view s, std::size_t pos)
{
    if (pos >= s.size())
        return { 0, 0 };
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(s[pos + i]); };
    if (byte(0) < 0x80)
        return { static_cast<char>(byte(0)), 1 };
    if (pos + 3 <= s.size()) {
        // U+FF0B, U+FF0D, U+FF0E, U+FF10..U+FF19 are EF BC 8B / 8D / 8E / 90..99.
        if (byte(0) == 0xEF && byte(1) == 0xBC) {
            const unsigned char c = byte(2);
            if (c >= 0x90 && c <= 0x99)
                return { static_cast<char>('0' + (c - 0x90)), 3 };
            if (c == 0x8B)
                return { '+', 3 };
            if (c == 0x8D)
                return { '-', 3 };
            if (c == 0x8E)
                return { '.', 3 };
        }
        // U+3000 ideographic space.
        if (byte(0) == 0xE3 && byte(1) == 0x80 && byte(2) == 0x80)
            return { ' ', 3 };
    }
    return { 0, 1 };
}

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

constexpr long long kExponentLimit = 100'000'000;

// Up to 15 digits are an integer below 2^53, and powers of ten up to 1e22
// are exact doubles.
constexpr int kExactDigits = 15;
constexpr int kExactPowers = 22;
constexpr double kPowersOfTen[kExactPowers + 1] = { 1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8,
    1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22 };

// An unsigned 128-bit integer as two 64-bit halves, with what FifteenDigits
// needs of it.
struct Wide {
    std::uint64_t high = 0, low = 0;

    // a * b, in full.
    static Wide Product(std::uint64_t a, std::uint64_t b)
    {
        const std::uint64_t a0 = a & 0xFFFF'FFFF, a1 = a >> 32, b0 = b & 0xFFFF'FFFF, b1 = b >> 32;
        const std::uint64_t p00 = a0 * b0, p01 = a0 * b1, p10 = a1 * b0, p11 = a1 * b1;
        const std::uint64_t middle = (p00 >> 32) + (p01 & 0xFFFF'FFFF) + (p10 & 0xFFFF'FFFF);
        return { p11 + (p01 >> 32) + (p10 >> 32) + (middle >> 32),
            (middle << 32) | (p00 & 0xFFFF'FFFF) };
    }
    // This shifted right by 0 < n < 64.
    Wide ShiftedRight(int n) const { return { high >> n, (low >> n) | (high << (64 - n)) }; }
    // Bit n, for 0 <= n < 128.
    bool Bit(int n) const { return ((n < 64 ? low >> n : high >> (n - 64)) & 1) != 0; }
    // Whether any of the bits below n is set, for 0 < n < 128.
    bool AnyBelow(int n) const
    {
        return n < 64 ? (low & ((std::uint64_t(1) << n) - 1)) != 0
                      : low != 0 || (high & ((std::uint64_t(1) << (n - 64)) - 1)) != 0;
    }
};

// The fifteen significant digits of a double from 1e-5 up to below 1e15, as
// an integer, rounded once to the nearest with ties to even, and the decimal
// exponent of the first: exactly what printf's "%.14e" gives, found in
// integer arithmetic. False for other doubles. The value is m * 2^-s with
// m below 2^53 and s from 3 to 70, so m * 10^p for p up to 19 fits 128 bits
// and the digits are m * 10^p >> s, rounded by the bits shifted out.
bool FifteenDigits(double value, std::uint64_t &digits, int &exponent)
{
    if (!(value >= 1e-5 && value < 1e15))
        return false;
    int binaryExponent = 0;
    const double fraction = std::frexp(value, &binaryExponent); // value = fraction * 2^e
    const auto m = static_cast<std::uint64_t>(std::ldexp(fraction, 53));
    const int shift = 53 - binaryExponent;
    constexpr std::uint64_t kLow = 100'000'000'000'000, kHigh = 1'000'000'000'000'000;
    for (exponent = static_cast<int>(std::floor(std::log10(value)));;) {
        const int p = 14 - exponent;
        if (p < 0 || p > 19)
            return false;
        std::uint64_t power = 1;
        for (int i = 0; i < p; ++i)
            power *= 10;
        const Wide scaled = Wide::Product(m, power);
        // Below 2^117 >> 3: at most 2^114, so the high half may still be set.
        const Wide truncated
            = shift < 64 ? scaled.ShiftedRight(shift) : Wide { 0, scaled.high >> (shift - 64) };
        if (truncated.high == 0 && truncated.low < kLow) {
            --exponent;
            continue;
        }
        if (truncated.high != 0 || truncated.low >= kHigh) {
            ++exponent;
            continue;
        }
        // Above half, or exactly half and odd: round up.
        const bool half = scaled.Bit(shift - 1), aboveHalf = half && scaled.AnyBelow(shift - 1);
        digits = truncated.low;
        if (aboveHalf || (half && digits % 2 == 1))
            ++digits;
        if (digits == kHigh) {
            digits = kLow;
            ++exponent;
        }
        return true;
    }
}

} // namespace

double Val(std::string_view text)
{
    std::size_t pos = 0;
    auto peek = [&] { return UnitAt(text, pos); };
    while (IsBlank(peek().ascii))
        pos += peek().length;

    // The number, rewritten as plain ASCII digits and an exponent for
    // strtod: without a decimal point, which would be the locale's, and
    // without a "+" or full-width characters.
    std::string ascii;
    if (peek().ascii == '-' || peek().ascii == '+') {
        if (peek().ascii == '-')
            ascii += '-';
        pos += peek().length;
    }
    const bool negative = !ascii.empty();
    bool anyDigit = false, nonzero = false;
    long long fractionDigits = 0;
    // The digits from the first nonzero one, as long as they are exact in a double.
    std::uint64_t mantissa = 0;
    int significantDigits = 0;
    for (bool inFraction = false;;) {
        const Unit u = peek();
        if (IsDigit(u.ascii)) {
            anyDigit = true;
            nonzero = nonzero || u.ascii != '0';
            fractionDigits += inFraction;
            ascii += u.ascii;
            if (nonzero && ++significantDigits <= kExactDigits)
                mantissa = mantissa * 10 + static_cast<std::uint64_t>(u.ascii - '0');
        } else if (u.ascii == '.' && !inFraction) {
            inFraction = true;
        } else {
            break;
        }
        pos += u.length;
    }
    if (!anyDigit)
        return 0.0;

    // An exponent without digits is not part of the number. Beyond a
    // hundred million it counts as that: the number is out of range either way.
    long long exponent = 0;
    if (peek().ascii == 'e' || peek().ascii == 'E') {
        std::size_t expPos = pos + peek().length;
        const Unit sign = UnitAt(text, expPos);
        if (sign.ascii == '-' || sign.ascii == '+')
            expPos += sign.length;
        for (Unit u = UnitAt(text, expPos); IsDigit(u.ascii); u = UnitAt(text, expPos)) {
            exponent = std::min(exponent * 10 + (u.ascii - '0'), kExponentLimit);
            expPos += u.length;
        }
        if (sign.ascii == '-')
            exponent = -exponent;
    }
    // Digits exact in a double, times or divided by a power of ten that is
    // exact too, is one correctly rounded operation: the double that strtod
    // finds, without its cost.
    const long long scale = exponent - fractionDigits;
    if (significantDigits <= kExactDigits && scale >= -kExactPowers && scale <= kExactPowers) {
        const double power = kPowersOfTen[scale < 0 ? -scale : scale];
        const double magnitude = scale < 0 ? static_cast<double>(mantissa) / power
                                           : static_cast<double>(mantissa) * power;
        return negative ? -magnitude : magnitude;
    }
    ascii += 'e';
    ascii += std::to_string(scale);

    const double value = std::strtod(ascii.c_str(), nullptr);
    if (std::isinf(value))
        throw RuntimeError(ErrorKind::Overflow);
    // A nonzero number too small for a double is 0, not -0.
    if (value == 0.0 && nonzero)
        return 0.0;
    return value;
}

bool StartsWithNumber(std::string_view text)
{
    std::size_t pos = 0;
    Unit u = UnitAt(text, pos);
    while (IsBlank(u.ascii))
        u = UnitAt(text, pos += u.length);
    if (u.ascii == '-' || u.ascii == '+')
        u = UnitAt(text, pos += u.length);
    if (u.ascii == '.')
        u = UnitAt(text, pos += u.length);
    return IsDigit(u.ascii);
}

std::string NumberToText(double value)
{
    if (std::isnan(value))
        throw RuntimeError(ErrorKind::InvalidArgument);
    if (std::isinf(value))
        throw RuntimeError(ErrorKind::Overflow);
    if (value == 0.0)
        return "0";

    const bool negative = std::signbit(value);
    std::uint64_t rounded = 0;
    int exponent = 0;
    if (!FifteenDigits(std::fabs(value), rounded, exponent)) {
        // Elsewhere through the C library, rounded once just the same:
        // "-d.dddddddddddddde+XX", where the point is the locale's.
        char buf[40];
        std::snprintf(buf, sizeof buf, "%.14e", value);
        rounded = 0, exponent = 0;
        const std::string_view sci(buf);
        const std::size_t ePos = sci.find('e');
        for (char c : sci.substr(0, ePos))
            if (IsDigit(c))
                rounded = rounded * 10 + static_cast<std::uint64_t>(c - '0');
        for (char c : sci.substr(ePos + 2))
            exponent = exponent * 10 + (c - '0');
        if (sci[ePos + 1] == '-')
            exponent = -exponent;
    }
    std::string digits = std::to_string(rounded);
    while (digits.size() > 1 && digits.back() == '0')
        digits.pop_back();

    std::string out = negative ? "-" : "";
    if (exponent >= -4 && exponent < 15) {
        if (exponent < 0) {
            out += "0.";
            out.append(static_cast<std::size_t>(-exponent - 1), '0');
            out += digits;
        } else {
            const auto intLength = static_cast<std::size_t>(exponent) + 1;
            if (digits.size() <= intLength) {
                out += digits;
                out.append(intLength - digits.size(), '0');
            } else {
                out += digits.substr(0, intLength);
                out += '.';
                out += digits.substr(intLength);
            }
        }
        return out;
    }
    out += digits.front();
    if (digits.size() > 1) {
        out += '.';
        out += digits.substr(1);
    }
    out += exponent < 0 ? "E-" : "E+";
    const int absExp = std::abs(exponent);
    if (absExp < 10)
        out += '0';
    out += std::to_string(absExp);
    return out;
}

} // namespace quorvel
