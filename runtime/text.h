// Text to number and number to text, the two conversions between the boxes
// of the window and the calculation. Neither depends on the locale.
#pragma once

#include <string>
#include <string_view>

namespace quorvel {

// The number at the start of a UTF-8 text: leading blanks skipped, an
// optional sign, digits with at most one "." and an optional exponent
// (e or E, optional sign, digits; an exponent without digits is ignored).
// Whatever follows is ignored, and a text that does not begin with a number
// gives 0, so "12abc" is 12, "1,5" is 1 and "" is 0. Full-width digits,
// point, plus and minus and the ideographic space, as a Chinese input method
// types them, count like their ASCII forms. A number beyond the double range
// raises Overflow; one too small for it gives 0.
double Val(std::string_view text);

// Whether Val finds a number at the start of the text: a digit after the
// leading blanks and an optional sign, or after a point there.
bool StartsWithNumber(std::string_view text);

// Decimal text with at most 15 significant digits and no trailing zeros:
// plain for magnitudes from 1e-4 up to below 1e15, otherwise exponent form
// such as "1.5E+20" or "2.5E-05". Zero, negative zero included, is "0".
// Val reads the text back to the same value within 15 digits.
std::string NumberToText(double value);

} // namespace quorvel
