// The core draws nothing: a run whose caller hands in no artwork stops at the set-up with a
// reason instead of booting a device that lacks its lock image or banner.
#include <gtest/gtest.h>

#include <memory>
#include <sstream>

#include "sim/JsonLinesPrinter.h"
#include "sim/ScenarioParser.h"
#include "sim/SimulationRunner.h"
#include "sim/Timeline.h"
#include "sim/pictures/DeviceArtworkPainter.h"

namespace sim {
namespace {

TEST(DeviceArtworkTest, WithoutArtworkTheSetUpFailsAndWithThePaintedOneTheRunIsDone) {
  ScenarioParser::Result parsed = ScenarioParser::parse("at 0 boot\nend 1\n", "a.scn");
  ASSERT_TRUE(parsed.ok()) << parsed.error;

  std::ostringstream bare;
  Timeline bareTimeline(std::make_unique<JsonLinesPrinter>(bare));
  SimulationRunner withoutArtwork({}, bareTimeline);
  const SimulationRunner::Outcome failed = withoutArtwork.run(*parsed.scenario);
  EXPECT_EQ(failed.status, SimulationRunner::Status::Failed);
  EXPECT_NE(failed.message.find("lock image"), std::string::npos) << failed.message;

  std::ostringstream painted;
  Timeline paintedTimeline(std::make_unique<JsonLinesPrinter>(painted));
  SimulationOptions options;
  options.artwork = DeviceArtworkPainter::artwork();
  SimulationRunner withArtwork(options, paintedTimeline);
  const SimulationRunner::Outcome done = withArtwork.run(*parsed.scenario);
  EXPECT_EQ(done.status, SimulationRunner::Status::Done) << done.message;
  EXPECT_NE(painted.str().find(R"("ev":"boot")"), std::string::npos) << painted.str();
}

}  // namespace
}  // namespace sim
