#include "Foundation/DecimalReal.h"

#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <optional>
#if defined(__APPLE__)
#include <xlocale.h>
#else
#include <locale.h>
#endif

namespace Foundation {

namespace {

// A double needs at most this many significant digits to read back exactly.
constexpr int kMaxSignificantDigits = 17;

// The "C" locale for strtod_l: the text given to it always uses "." whatever the process's
// LC_NUMERIC says. Made once, never freed (it lives as long as the process).
locale_t cLocale() {
  static const locale_t locale = newlocale(LC_NUMERIC_MASK, "C", static_cast<locale_t>(0));
  return locale;
}

double readCLocale(const char* text) {
  return strtod_l(text, nullptr, cLocale());
}

// A decimal with `digits` (no leading zero unless the value is 0, no trailing zeros needed)
// worth d1.d2d3... × 10^exponent.
struct Decimal {
  std::string digits;
  int exponent = 0;
};

// `magnitude` (finite, not negative) correctly rounded to `significant` digits. printf's digits
// are read past whatever decimal separator the locale puts between them.
Decimal rounded(double magnitude, int significant) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.*e", significant - 1, magnitude);
  Decimal decimal;
  const char* c = buffer;
  for (; *c != '\0' && *c != 'e'; ++c) {
    if (*c >= '0' && *c <= '9') decimal.digits += *c;
  }
  if (*c == 'e') decimal.exponent = std::atoi(c + 1);
  return decimal;
}

// The same number of digits, one unit in the last place up or down; a carry past the first
// digit moves the exponent ("9.9" + 1 → "1.0" × 10). Empty digits when going below the first
// unit ("1" - 1).
Decimal stepped(Decimal decimal, int direction) {
  std::string& digits = decimal.digits;
  if (direction > 0) {
    std::size_t i = digits.size();
    while (i > 0 && digits[i - 1] == '9') digits[--i] = '0';
    if (i == 0) {
      digits.insert(digits.begin(), '1');
      digits.pop_back();
      ++decimal.exponent;
    } else {
      ++digits[i - 1];
    }
  } else {
    std::size_t i = digits.size();
    while (i > 0 && digits[i - 1] == '0') digits[--i] = '9';
    if (i == 0) return {};
    --digits[i - 1];
    if (digits.front() == '0') {
      if (digits.size() == 1) return {};
      digits.erase(digits.begin());
      digits += '9';
      --decimal.exponent;
    }
  }
  return decimal;
}

bool readsBackAs(const Decimal& decimal, double magnitude) {
  if (decimal.digits.empty()) return false;
  char text[64];
  std::snprintf(text, sizeof text, "%se%d", decimal.digits.c_str(),
                decimal.exponent - static_cast<int>(decimal.digits.size()) + 1);
  return readCLocale(text) == magnitude;
}

std::string scientificText(const Decimal& decimal) {
  std::string text(1, decimal.digits.front());
  if (decimal.digits.size() > 1) {
    text += '.';
    text.append(decimal.digits, 1);
  }
  text += decimal.exponent < 0 ? "e-" : "e+";
  const int exponent = std::abs(decimal.exponent);
  if (exponent < 10) text += '0';
  text += std::to_string(exponent);
  return text;
}

std::string plainText(const Decimal& decimal, double magnitude) {
  const int count = static_cast<int>(decimal.digits.size());
  if (decimal.exponent < 0) {
    return "0." + std::string(static_cast<std::size_t>(-decimal.exponent - 1), '0') +
           decimal.digits;
  }
  if (count <= decimal.exponent + 1) {
    // A whole number is written with all its digits, not the shortest ones padded with zeros:
    // 2^66 is "73786976294838206464". Below 2^53 the two are the same.
    char buffer[400];
    std::snprintf(buffer, sizeof buffer, "%.0f", magnitude);
    return buffer;
  }
  std::string text = decimal.digits;
  text.insert(static_cast<std::size_t>(decimal.exponent + 1), 1, '.');
  return text;
}

// `exact` (digits correctly rounded from `magnitude`) rounded to `significant` digits. Rounding
// twice gives the wrong digits only when the rest is exactly "5000…" (the first rounding may have
// met the midpoint from either side); then printf rounds `magnitude` itself.
Decimal roundedFrom(const Decimal& exact, int significant, double magnitude) {
  const auto keep = static_cast<std::size_t>(significant);
  if (exact.digits.size() <= keep) return exact;
  const std::string_view rest = std::string_view(exact.digits).substr(keep);
  if (rest.front() == '5' && rest.find_first_not_of('0', 1) == std::string_view::npos) {
    return rounded(magnitude, significant);
  }
  Decimal decimal{exact.digits.substr(0, keep), exact.exponent};
  return rest.front() >= '5' ? stepped(decimal, 1) : decimal;
}

// The digits of `significant` length nearest `magnitude` that read back as it, if any. The
// correctly rounded digits are tried first. When they miss, no others can, unless `magnitude` is
// a power of two: the interval that reads back as it reaches half as far below as above, so a
// neighbour one unit above may still fall inside.
std::optional<Decimal> readingBackWith(const Decimal& exact, int significant, double magnitude) {
  const Decimal nearest = roundedFrom(exact, significant, magnitude);
  if (readsBackAs(nearest, magnitude)) return nearest;
  int binaryExponent = 0;
  if (std::frexp(magnitude, &binaryExponent) != 0.5) return std::nullopt;
  for (const int direction : {1, -1}) {
    Decimal neighbour = stepped(nearest, direction);
    if (readsBackAs(neighbour, magnitude)) return neighbour;
  }
  return std::nullopt;
}

// The shortest digits that read back as `magnitude` (finite, positive). Some length of digits
// reading back implies every longer one does (the shorter digits padded with a zero are such
// digits, and the nearest ones or their neighbour towards them lie between them and the value), so
// the length is found by bisection between 1 and 17, where printf's digits always read back.
Decimal shortestDigits(double magnitude) {
  const Decimal exact = rounded(magnitude, kMaxSignificantDigits);
  Decimal best = exact;
  int shortest = 1;
  int longest = kMaxSignificantDigits;  // reads back
  while (shortest < longest) {
    const int middle = (shortest + longest) / 2;
    if (std::optional<Decimal> found = readingBackWith(exact, middle, magnitude)) {
      best = std::move(*found);
      longest = middle;
    } else {
      shortest = middle + 1;
    }
  }
  return best;
}

}  // namespace

std::string shortestDecimalText(double value) {
  if (std::isnan(value)) return "nan";
  if (std::isinf(value)) return value < 0 ? "-inf" : "inf";
  const std::string sign = std::signbit(value) ? "-" : "";
  if (value == 0) return sign + "0";
  Decimal decimal = shortestDigits(std::fabs(value));
  while (decimal.digits.size() > 1 && decimal.digits.back() == '0') decimal.digits.pop_back();
  std::string plain = plainText(decimal, std::fabs(value));
  std::string scientific = scientificText(decimal);
  return sign + (plain.size() <= scientific.size() ? plain : scientific);
}

double parseDecimalNumber(std::string_view number) {
  const std::string text(number);
  return readCLocale(text.c_str());
}

}  // namespace Foundation
