// Val and NumberToText as they were built on std::from_chars and
// std::to_chars, which every platform but the browser's has: the yardstick
// that the portable conversions must match bit for bit.
#include "runtime/error.h"

#include <string>
#include <string_view>

#include <charconv>
#include <cmath>
#include <cstdlib>

namespace quorvel::reference {

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

} // namespace

double Val(std::string_view text);
std::string NumberToText(double value);

double Val(std::string_view text)
{
    std::size_t pos = 0;
    auto peek = [&] { return UnitAt(text, pos); };
    while (IsBlank(peek().ascii))
        pos += peek().length;

    // The number, rewritten in plain ASCII for std::from_chars (which takes
    // no "+" sign and no full-width characters).
    std::string ascii;
    if (peek().ascii == '-' || peek().ascii == '+') {
        if (peek().ascii == '-')
            ascii += '-';
        pos += peek().length;
    }

    // Decimal magnitude of the leading significant digit, for telling an
    // overflow from an underflow when from_chars finds the number out of range.
    long significantIntDigits = 0;
    long zerosBeforeFirstFractionDigit = 0;
    bool nonzeroSeen = false;
    bool anyDigit = false;
    for (bool inFraction = false;;) {
        const Unit u = peek();
        if (IsDigit(u.ascii)) {
            anyDigit = true;
            if (u.ascii != '0')
                nonzeroSeen = true;
            if (!inFraction && nonzeroSeen)
                ++significantIntDigits;
            if (inFraction && !nonzeroSeen)
                ++zerosBeforeFirstFractionDigit;
        } else if (u.ascii == '.' && !inFraction) {
            inFraction = true;
        } else {
            break;
        }
        ascii += u.ascii;
        pos += u.length;
    }
    if (!anyDigit)
        return 0.0;

    long exponent = 0;
    if (peek().ascii == 'e' || peek().ascii == 'E') {
        std::size_t expPos = pos + peek().length;
        std::string expText = "e";
        const Unit sign = UnitAt(text, expPos);
        if (sign.ascii == '-' || sign.ascii == '+') {
            expText += sign.ascii;
            expPos += sign.length;
        }
        bool expDigits = false;
        for (Unit u = UnitAt(text, expPos); IsDigit(u.ascii); u = UnitAt(text, expPos)) {
            expDigits = true;
            expText += u.ascii;
            expPos += u.length;
            if (exponent < 1'000'000)
                exponent = exponent * 10 + (u.ascii - '0');
        }
        if (expDigits) {
            ascii += expText;
            if (sign.ascii == '-')
                exponent = -exponent;
        }
    }

    double value = 0.0;
    const auto [end, ec] = std::from_chars(ascii.data(), ascii.data() + ascii.size(), value);
    if (ec == std::errc::result_out_of_range) {
        const long magnitude = significantIntDigits > 0
            ? significantIntDigits - 1 + exponent
            : exponent - zerosBeforeFirstFractionDigit - 1;
        if (magnitude >= 0)
            throw RuntimeError(ErrorKind::Overflow);
        return 0.0;
    }
    if (ec != std::errc() || !std::isfinite(value))
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

    // Fifteen significant digits, rounded once: "-d.dddddddddddddde+XX".
    char buf[40];
    const auto [end, ec]
        = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific, 14);
    (void)ec;
    const std::string_view sci(buf, static_cast<std::size_t>(end - buf));
    const bool negative = sci.front() == '-';
    const std::size_t ePos = sci.find('e');
    std::string digits;
    for (char c : sci.substr(negative ? 1 : 0, ePos - (negative ? 1 : 0)))
        if (c != '.')
            digits += c;
    while (digits.size() > 1 && digits.back() == '0')
        digits.pop_back();
    int exponent = 0;
    const char *expText = sci.data() + ePos + 1;
    if (*expText == '+')
        ++expText;
    std::from_chars(expText, end, exponent);

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

} // namespace quorvel::reference
