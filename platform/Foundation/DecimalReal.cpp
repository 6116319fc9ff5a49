#include "Foundation/DecimalReal.h"

#include <clocale>
#include <cmath>
#include <cstdint>
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
// Below this magnitude every whole number is a double, and a whole double's shortest digits
// are its own (any other decimal reading back as it would need digits below the units).
constexpr double kExactWholeNumbers = 9007199254740992.0;  // 2^53

// The "C" locale for strtod_l: the text given to it always uses "." whatever the process's
// LC_NUMERIC says. Made once, never freed (it lives as long as the process).
locale_t cLocale() {
  static const locale_t locale = newlocale(LC_NUMERIC_MASK, "C", static_cast<locale_t>(0));
  return locale;
}

// A decimal of `count` significant digits d1 d2 ... (d1 not 0) worth d1.d2d3... × 10^exponent.
struct Decimal {
  char digits[kMaxSignificantDigits + 1] = {};
  int count = 0;
  int exponent = 0;
};

// `magnitude` (finite, positive) correctly rounded to `significant` digits. printf's digits are
// read past whatever decimal separator the locale puts between them.
Decimal rounded(double magnitude, int significant) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.*e", significant - 1, magnitude);
  Decimal decimal;
  const char* c = buffer;
  for (; *c != '\0' && *c != 'e'; ++c) {
    if (*c >= '0' && *c <= '9' && decimal.count < kMaxSignificantDigits) {
      decimal.digits[decimal.count++] = *c;
    }
  }
  if (*c == 'e') decimal.exponent = std::atoi(c + 1);
  return decimal;
}

void dropTrailingZeros(Decimal& decimal) {
  while (decimal.count > 1 && decimal.digits[decimal.count - 1] == '0') --decimal.count;
}

// The same number of digits, one unit in the last place up or down; a carry past the first
// digit moves the exponent ("9.9" + 1 → "1.0" × 10). Nothing when going below the first unit
// ("1" - 1).
std::optional<Decimal> stepped(Decimal decimal, int direction) {
  char* const digits = decimal.digits;
  int i = decimal.count;
  if (direction > 0) {
    while (i > 0 && digits[i - 1] == '9') digits[--i] = '0';
    if (i == 0) {
      digits[0] = '1';
      ++decimal.exponent;
    } else {
      ++digits[i - 1];
    }
    return decimal;
  }
  while (i > 0 && digits[i - 1] == '0') digits[--i] = '9';
  if (i == 0) return std::nullopt;
  --digits[i - 1];
  if (digits[0] == '0') {
    if (decimal.count == 1) return std::nullopt;
    for (int j = 1; j < decimal.count; ++j) digits[j - 1] = digits[j];
    digits[decimal.count - 1] = '9';
    --decimal.exponent;
  }
  return decimal;
}

bool readsBackAs(const Decimal& decimal, double magnitude) {
  // "<digits>e<exponent of the last digit>", in the C locale's form.
  char text[48];
  int length = 0;
  for (int i = 0; i < decimal.count; ++i) text[length++] = decimal.digits[i];
  length += std::snprintf(text + length, sizeof text - static_cast<std::size_t>(length), "e%d",
                          decimal.exponent - decimal.count + 1);
  return strtod_l(text, nullptr, cLocale()) == magnitude;
}

// `exact` (17 digits correctly rounded from `magnitude`) rounded to `significant` digits.
// Rounding twice gives the wrong digits only when the rest is exactly "5000…" (the first
// rounding may have met the midpoint from either side); then printf rounds `magnitude` itself.
Decimal roundedFrom(const Decimal& exact, int significant, double magnitude) {
  if (exact.count <= significant) return exact;
  bool restIsHalf = exact.digits[significant] == '5';
  for (int i = significant + 1; restIsHalf && i < exact.count; ++i) {
    restIsHalf = exact.digits[i] == '0';
  }
  if (restIsHalf) return rounded(magnitude, significant);
  Decimal decimal = exact;
  decimal.count = significant;
  if (exact.digits[significant] < '5') return decimal;
  return *stepped(decimal, 1);
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
    const std::optional<Decimal> neighbour = stepped(nearest, direction);
    if (neighbour && readsBackAs(*neighbour, magnitude)) return neighbour;
  }
  return std::nullopt;
}

// The shortest digits that read back as `magnitude` (finite, positive). Some length of digits
// reading back implies every longer one does (the shorter digits padded with a zero are such
// digits, and the nearest ones or their neighbour towards them lie between them and the value),
// so the length is found by bisection up to the length of printf's 17 digits without their
// trailing zeros, which read back.
Decimal shortestDigits(double magnitude) {
  if (magnitude < kExactWholeNumbers && std::floor(magnitude) == magnitude) {
    Decimal whole;
    char reversed[kMaxSignificantDigits];
    for (auto rest = static_cast<std::uint64_t>(magnitude); rest != 0; rest /= 10) {
      reversed[whole.count++] = static_cast<char>('0' + rest % 10);
    }
    for (int i = 0; i < whole.count; ++i) whole.digits[i] = reversed[whole.count - 1 - i];
    whole.exponent = whole.count - 1;
    dropTrailingZeros(whole);
    return whole;
  }
  Decimal best = rounded(magnitude, kMaxSignificantDigits);
  dropTrailingZeros(best);
  const Decimal exact = best;
  int shortest = 1;
  int longest = best.count;
  while (shortest < longest) {
    const int middle = (shortest + longest) / 2;
    if (std::optional<Decimal> found = readingBackWith(exact, middle, magnitude)) {
      best = *found;
      longest = middle;
    } else {
      shortest = middle + 1;
    }
  }
  dropTrailingZeros(best);
  return best;
}

void appendScientific(std::string& text, const Decimal& decimal) {
  text += decimal.digits[0];
  if (decimal.count > 1) {
    text += '.';
    text.append(decimal.digits + 1, static_cast<std::size_t>(decimal.count - 1));
  }
  char exponent[16];
  std::snprintf(exponent, sizeof exponent, "e%c%02d", decimal.exponent < 0 ? '-' : '+',
                std::abs(decimal.exponent));
  text += exponent;
}

void appendPlain(std::string& text, const Decimal& decimal, double magnitude) {
  if (decimal.exponent < 0) {
    text += "0.";
    text.append(static_cast<std::size_t>(-decimal.exponent - 1), '0');
    text.append(decimal.digits, static_cast<std::size_t>(decimal.count));
  } else if (decimal.count <= decimal.exponent + 1 && magnitude < kExactWholeNumbers) {
    text.append(decimal.digits, static_cast<std::size_t>(decimal.count));
    text.append(static_cast<std::size_t>(decimal.exponent + 1 - decimal.count), '0');
  } else if (decimal.count <= decimal.exponent + 1) {
    // A whole number is written with all its digits, not the shortest ones padded with zeros:
    // 2^66 is "73786976294838206464". Below 2^53 the two are the same.
    char buffer[400];
    std::snprintf(buffer, sizeof buffer, "%.0f", magnitude);
    text += buffer;
  } else {
    const auto whole = static_cast<std::size_t>(decimal.exponent + 1);
    text.append(decimal.digits, whole);
    text += '.';
    text.append(decimal.digits + whole, static_cast<std::size_t>(decimal.count) - whole);
  }
}

}  // namespace

std::string shortestDecimalText(double value) {
  if (std::isnan(value)) return "nan";
  if (std::isinf(value)) return value < 0 ? "-inf" : "inf";
  std::string text;
  if (std::signbit(value)) text += '-';
  if (value == 0) return text + "0";
  const double magnitude = std::fabs(value);
  const Decimal decimal = shortestDigits(magnitude);
  // Lengths without the sign: d[.ddd]e±XX against the plain form.
  const int exponentDigits = std::abs(decimal.exponent) >= 100 ? 3 : 2;
  const int scientificLength = decimal.count + (decimal.count > 1 ? 1 : 0) + 2 + exponentDigits;
  int plainLength = 0;
  if (decimal.exponent < 0) {
    plainLength = 1 - decimal.exponent + decimal.count;
  } else if (decimal.count <= decimal.exponent + 1) {
    plainLength = decimal.exponent + 1;
  } else {
    plainLength = decimal.count + 1;
  }
  if (plainLength <= scientificLength) {
    appendPlain(text, decimal, magnitude);
  } else {
    appendScientific(text, decimal);
  }
  return text;
}

double parseDecimalNumber(std::string_view number) {
  const std::string text(number);
  return strtod_l(text.c_str(), nullptr, cLocale());
}

}  // namespace Foundation
