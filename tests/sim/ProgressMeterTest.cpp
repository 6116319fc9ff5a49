// The progress line of long runs: device time as a person reads it, and a meter that never
// writes to the terminal before it has shown itself.
#include <gtest/gtest.h>

#include <sstream>

#include "sim/ProgressMeter.h"

namespace sim {
namespace {

TEST(ProgressMeterTest, DeviceTimeAndShareAsAPersonReadsThem) {
  struct Case {
    double seconds;
    double end;
    const char* line;
  };
  const Case cases[] = {
      {0, 120, "replaying 0.0 s of 2 min 00 s (0%)"},
      {42.05, 129.58, "replaying 42.0 s of 2 min 09 s (32%)"},
      {3725, 10800, "replaying 1 h 02 min of 3 h 00 min (34%)"},
      {10800, 10800, "replaying 3 h 00 min of 3 h 00 min (100%)"},
      // Past the end (a scenario's actions after the last sample) stays at 100%.
      {200, 100, "replaying 3 min 20 s of 1 min 40 s (100%)"},
      // A run that ends at 0 has no share to tell.
      {0, 0, "replaying 0.0 s of 0.0 s"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ProgressMeter::line("replaying", c.seconds, c.end), c.line);
  }
}

TEST(ProgressMeterTest, AShortRunNeverTouchesTheTerminal) {
  std::ostringstream terminal;
  {
    ProgressMeter meter(terminal, "running", 10);
    for (int i = 0; i < 100; ++i) meter.update(i * 0.1);
    meter.clear();
  }
  EXPECT_EQ(terminal.str(), "");
}

}  // namespace
}  // namespace sim
