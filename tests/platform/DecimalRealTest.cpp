#include "Foundation/DecimalReal.h"
#include "Foundation/Value.h"

#include <gtest/gtest.h>

#include <bit>
#include <charconv>
#include <clocale>
#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <string>

using Foundation::parseDecimalNumber;
using Foundation::shortestDecimalText;

namespace {

// The host's std::to_chars, which the text must match wherever it exists.
std::string toChars(double value) {
  char buffer[400];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  return std::string(buffer, result.ptr);
}

struct Written {
  double value;
  const char* text;
};

TEST(DecimalRealTest, WritesTheShortestTextThatReadsBack) {
  const Written cases[] = {
      {0.0, "0"},
      {-0.0, "-0"},
      {0.1, "0.1"},
      {-2.5, "-2.5"},
      {100, "100"},
      {123456, "123456"},
      {0.001, "0.001"},
      // Plain and scientific of equal length: plain; one character shorter: scientific.
      {1e-4, "1e-04"},
      {1e-7, "1e-07"},
      {1e15, "1e+15"},
      {1e20, "1e+20"},
      {1e21, "1e+21"},
      {1e23, "1e+23"},
      {9007199254740993.0, "9007199254740992"},
      // A whole number above 2^53 written plain keeps all of its digits.
      {123456789012345683968.0, "123456789012345683968"},
      {0.30000001192092896, "0.30000001192092896"},
      {static_cast<double>(0.3f), "0.30000001192092896"},
      {5e-324, "5e-324"},
      {2.2250738585072014e-308, "2.2250738585072014e-308"},
      {std::numeric_limits<double>::max(), "1.7976931348623157e+308"},
      // A power of two whose nearest 16 digits miss it, while the next 16 digits up read back.
      {std::ldexp(1.0, -1017), "7.120236347223045e-307"},
      {std::numeric_limits<double>::infinity(), "inf"},
      {-std::numeric_limits<double>::infinity(), "-inf"},
      {std::numeric_limits<double>::quiet_NaN(), "nan"},
      {-std::numeric_limits<double>::quiet_NaN(), "nan"},
  };
  for (const Written& c : cases) {
    EXPECT_EQ(shortestDecimalText(c.value), c.text) << c.text;
  }
}

TEST(DecimalRealTest, MatchesToCharsOverRandomBitsAndPowersOfTwo) {
  std::mt19937_64 random(20261207);
  for (int i = 0; i < 20000; ++i) {
    const double value = std::bit_cast<double>(random());
    if (std::isnan(value)) continue;
    ASSERT_EQ(shortestDecimalText(value), toChars(value)) << std::hexfloat << value;
  }
  for (int exponent = -1074; exponent <= 1023; ++exponent) {
    const double power = std::ldexp(1.0, exponent);
    for (const double value :
         {std::nextafter(power, 0.0), power, std::nextafter(power, 2 * power)}) {
      ASSERT_EQ(shortestDecimalText(value), toChars(value)) << std::hexfloat << value;
    }
  }
}

struct Read {
  const char* text;
  double value;
};

TEST(DecimalRealTest, ReadsTheNearestDouble) {
  const double huge = HUGE_VAL;
  const Read cases[] = {
      {"0.1", 0.1},
      {"-0", -0.0},
      {".5", 0.5},
      {"5.", 5},
      {"0000.5e1", 5},
      {"123456789012345678901234567890", 1.2345678901234568e29},
      {"1.7976931348623157e308", std::numeric_limits<double>::max()},
      {"1.8e308", huge},
      {"-1e99999999999999", -huge},
      {"5e-324", 5e-324},
      {"2.4703282292062328e-324", 5e-324},  // just above half the least subnormal
      {"2.4703282292062327e-324", 0},
      {"-1e-400", -0.0},
      {"1e-999999999999", 0},
  };
  for (const Read& c : cases) {
    const double read = parseDecimalNumber(c.text);
    EXPECT_EQ(read, c.value) << c.text;
    EXPECT_EQ(std::signbit(read), std::signbit(c.value)) << c.text;
  }
}

// NSString doubleValue of a long fraction too small for a double, written without an exponent,
// is zero, not infinity.
TEST(DecimalRealTest, ALongTinyFractionReadsAsZero) {
  const std::string zeros(400, '0');
  EXPECT_EQ(Foundation::Value::string("0." + zeros + "1").doubleValue(), 0.0);
  const double negative = Foundation::Value::string("-0." + zeros + "1").doubleValue();
  EXPECT_EQ(negative, 0.0);
  EXPECT_TRUE(std::signbit(negative));
}

// A process whose locale writes "0,5" still writes and reads "0.5".
TEST(DecimalRealTest, IgnoresTheProcessDecimalSeparator) {
  const std::string previous = std::setlocale(LC_NUMERIC, nullptr);
  const char* commaLocale = nullptr;
  for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "fr_FR.utf8"}) {
    if (std::setlocale(LC_NUMERIC, name)) {
      commaLocale = name;
      break;
    }
  }
  if (!commaLocale) GTEST_SKIP() << "no locale with a decimal comma is installed";
  const std::string written = shortestDecimalText(1234.5);
  const double read = parseDecimalNumber("0.25");
  const std::string powerOfTwo = shortestDecimalText(std::ldexp(1.0, -1017));
  std::setlocale(LC_NUMERIC, previous.c_str());
  EXPECT_EQ(written, "1234.5");
  EXPECT_EQ(read, 0.25);
  EXPECT_EQ(powerOfTwo, "7.120236347223045e-307");
}

}  // namespace
