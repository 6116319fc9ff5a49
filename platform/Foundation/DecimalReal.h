// Reals as decimal text, the same on every platform and in every locale: the forms a number
// object describes itself with and NSString reads. Written with the C library's correctly rounded
// printf and strtod (some C++ libraries lack floating-point std::to_chars / std::from_chars), and
// never with the process's decimal separator.
#pragma once

#include <string>
#include <string_view>

namespace Foundation {

// The shortest text that reads back as exactly `value`, in the form std::to_chars(first, last,
// value) gives: plain ("100", "0.3", "-0") or scientific with a signed exponent of at least two
// digits ("1e+21", "5e-324"), whichever is shorter, plain on a tie; among equally short texts the
// one nearest `value`. Not-a-number is "nan" whatever its sign; infinities are "inf" / "-inf".
std::string shortestDecimalText(double value);

// The double nearest to `number`, a decimal number as the pattern -?D*(.D*)?([eE][+-]?D+)? with
// at least one mantissa digit (ASCII only, no leading "+", no white space). A magnitude too large
// for a double gives ±HUGE_VAL, one too small to be told from zero gives ±0.
double parseDecimalNumber(std::string_view number);

}  // namespace Foundation
