#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "sim/JsonLinesPrinter.h"
#include "sim/Timeline.h"

namespace sim {
namespace {

TEST(TimelineCaptureTest, CapturedEventsAreHandedBackUnprintedAndCapturesNest) {
  std::ostringstream out;
  Timeline timeline(std::make_unique<JsonLinesPrinter>(out));
  std::vector<TimelineEvent> inner;
  std::vector<TimelineEvent> outer = timeline.capture([&] {
    timeline.record(1, "file");
    inner = timeline.capture([&] { timeline.record(1, "notify"); });
    timeline.record(1, "prefs");
  });
  EXPECT_EQ(out.str(), "");
  ASSERT_EQ(inner.size(), 1u);
  EXPECT_EQ(inner[0].name, "notify");
  ASSERT_EQ(outer.size(), 2u);
  EXPECT_EQ(outer[0].name, "file");
  EXPECT_EQ(outer[1].name, "prefs");
  EXPECT_EQ(timeline.eventCount(), 0u);
  timeline.record(2, "boot");  // recording goes to the printer again
  EXPECT_EQ(out.str(), "{\"t\":2.000,\"ev\":\"boot\"}\n");
  EXPECT_EQ(timeline.eventCount(), 1u);
}

}  // namespace
}  // namespace sim
