// Floating-point picture sizes turned into whole pixels, also far beyond int's range.
#include "sim/pictures/PixelCount.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace sim {
namespace {

TEST(PixelCountTest, TruncatesWithinRangeAndClampsTheRest) {
  constexpr double kInfinity = std::numeric_limits<double>::infinity();
  const struct {
    double value;
    int pixels;
  } cases[] = {
      {0.0, 0},
      {0.999, 0},
      {750.5, 750},
      {32766.9, 32766},
      {32767.0, kMaxPixelCount},
      {1e300, kMaxPixelCount},
      {kInfinity, kMaxPixelCount},
      {-0.5, 0},
      {-1e300, 0},
      {-kInfinity, 0},
      {std::nan(""), 0},
  };
  for (const auto& c : cases) EXPECT_EQ(pixelCount(c.value), c.pixels) << c.value;
}

}  // namespace
}  // namespace sim
