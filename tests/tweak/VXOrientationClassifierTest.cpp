#include "VXCommon/VXOrientationClassifier.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

namespace {

constexpr std::uint64_t kNone = VXOrientationClassifier::kNone;
constexpr std::uint64_t kPortrait = VXOrientationClassifier::kPortrait;
constexpr std::uint64_t kLandscape = VXOrientationClassifier::kLandscape;

double below(double x) {
  return std::nextafter(x, -std::numeric_limits<double>::infinity());
}
double above(double x) {
  return std::nextafter(x, std::numeric_limits<double>::infinity());
}

struct Case {
  const char* what;
  double roll;
  double pitch;
  std::uint64_t expected;
};

// Every boundary of the table, each tested on both sides and, where the rule is symmetric,
// with both signs.
const std::vector<Case> kCases = {
    {"no sample yet / flat", 0.0, 0.0, kNone},
    {"upright portrait", 0.0, 1.57, kPortrait},
    {"on its right edge", 1.57, 0.0, kLandscape},
    {"on its left edge", -1.57, 0.0, kLandscape},
    {"tilted between the two", 1.0, 1.0, kNone},
    {"tilted between the two, negative", -1.0, -1.0, kNone},

    // |roll| > 0.7, strictly.
    {"roll exactly 0.7", 0.7, 0.0, kNone},
    {"roll exactly -0.7", -0.7, 0.0, kNone},
    {"roll just above 0.7", above(0.7), 0.0, kLandscape},
    {"roll just below -0.7", below(-0.7), 0.0, kLandscape},
    // |roll| < 1.6, strictly.
    {"roll exactly 1.6", 1.6, 0.0, kNone},
    {"roll exactly -1.6", -1.6, 0.0, kNone},
    {"roll just below 1.6", below(1.6), 0.0, kLandscape},
    {"roll just above -1.6", above(-1.6), 0.0, kLandscape},
    // round(pitch) == 0 means -0.5 < pitch < 0.5 (half rounds away from zero).
    {"landscape, pitch just below 0.5", 1.0, below(0.5), kLandscape},
    {"landscape, pitch just above -0.5", 1.0, above(-0.5), kLandscape},
    {"landscape roll, pitch exactly 0.5", 1.0, 0.5, kNone},
    {"landscape roll, pitch exactly -0.5", 1.0, -0.5, kNone},

    // Portrait: round(pitch) != 0, i.e. |pitch| >= 0.5.
    {"roll 0, pitch exactly 0.5", 0.0, 0.5, kPortrait},
    {"roll 0, pitch exactly -0.5", 0.0, -0.5, kPortrait},
    {"roll 0, pitch just below 0.5", 0.0, below(0.5), kNone},
    {"roll 0, pitch just above -0.5", 0.0, above(-0.5), kNone},
    // Portrait: |round(roll)| != 1, i.e. |roll| < 0.5 or |roll| >= 1.5.
    {"roll just below 0.5", below(0.5), 1.0, kPortrait},
    {"roll just above -0.5", above(-0.5), 1.0, kPortrait},
    {"roll exactly 0.5", 0.5, 1.0, kNone},
    {"roll exactly -0.5", -0.5, 1.0, kNone},
    {"roll exactly 1.5", 1.5, 1.0, kPortrait},
    {"roll exactly -1.5", -1.5, 1.0, kPortrait},
    {"roll just below 1.5", below(1.5), 1.0, kNone},
    {"roll just above -1.5", above(-1.5), 1.0, kNone},
    {"upside down, roll near pi", 3.1, 1.2, kPortrait},
    {"roll past 1.6 with a raised pitch", 1.7, 0.7, kPortrait},

    // A sample that is no number is no reading.
    {"roll NaN", std::numeric_limits<double>::quiet_NaN(), 1.0, kNone},
    {"pitch NaN", 0.0, std::numeric_limits<double>::quiet_NaN(), kNone},
    {"pitch infinite", 0.0, std::numeric_limits<double>::infinity(), kNone},
    {"roll infinite", -std::numeric_limits<double>::infinity(), 1.0, kNone},
};

TEST(VXOrientationClassifierTest, ClassifiesEveryBoundaryOfTheTable) {
  for (const Case& c : kCases) {
    EXPECT_EQ(VXOrientationClassifier::classify(c.roll, c.pitch), c.expected)
        << c.what << " (roll " << c.roll << ", pitch " << c.pitch << ")";
  }
}

// The two classes exclude each other through pitch, so no grid point may be both; and the
// class must agree with the range form of the rule everywhere on a fine grid.
TEST(VXOrientationClassifierTest, AgreesWithTheRangeFormOnAGrid) {
  for (int r = -400; r <= 400; ++r) {
    for (int p = -200; p <= 200; ++p) {
      const double roll = r * 0.005;
      const double pitch = p * 0.005;
      const double ar = std::fabs(roll);
      const double ap = std::fabs(pitch);
      std::uint64_t expected = kNone;
      if (ar > 0.7 && ar < 1.6 && ap < 0.5) expected = kLandscape;
      if ((ar < 0.5 || ar >= 1.5) && ap >= 0.5) expected = kPortrait;
      ASSERT_EQ(VXOrientationClassifier::classify(roll, pitch), expected)
          << "roll " << roll << ", pitch " << pitch;
    }
  }
}

}  // namespace
