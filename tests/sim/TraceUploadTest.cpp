// A motion trace opened from the page: read whole from its text within the upload's bounds,
// refused with the reader's message when malformed, and merged with the set-up scenario's
// actions in the order `replay` applies them.
#include "sim/serve/TraceUpload.h"

#include <gtest/gtest.h>

#include <string>
#include <variant>

#include "sim/ScenarioWriter.h"
#include "sim/SimulationRunner.h"

namespace sim {
namespace {

TEST(TraceUploadTest, ReadsAGoodTraceAndRefusesABadOrOversizedOneWithAMessage) {
  const struct {
    std::string text;
    std::size_t samples;
    std::string error;  // the start of the message; empty when read
  } cases[] = {
      {"# made by hand\nt,roll,pitch\n0,0,1.4\n0.5,1.5,0\n", 2, ""},
      {"t,roll,pitch\n0,0,1.4\n0.5,x,0\n", 0, "upload.csv:3: column 'roll'"},
      {"t,roll,pitch\n1,0,0\n0.5,0,0\n", 0, "upload.csv:3: time 0.5 is not after"},
      {"time,roll\n0,0\n", 0, "upload.csv:1: the header lacks the column 't'"},
      {"", 0, "upload.csv:1: empty file"},
      {"at 0 boot\nat 1 turn landscape\n", 0, "upload.csv:1: the header lacks"},
      {"t,roll,pitch\n" + std::string(kMaxUploadedTraceBytes, '\n'), 0,
       "upload.csv: the trace is too large"},
  };
  for (const auto& c : cases) {
    std::string error;
    auto samples = readUploadedTrace(c.text, "upload.csv", error);
    EXPECT_EQ(samples.has_value(), c.error.empty()) << c.text.substr(0, 40) << ": " << error;
    if (samples) {
      EXPECT_EQ(samples->size(), c.samples);
    }
    EXPECT_EQ(error.substr(0, c.error.size()), c.error) << c.text.substr(0, 40);
  }
}

TEST(TraceUploadTest, RefusesMoreSamplesThanALiveSessionKeeps) {
  auto trace = [](std::size_t count) {
    std::string text = "t,roll,pitch\n";
    for (std::size_t i = 0; i < count; ++i) text += std::to_string(i) + ",0,0\n";
    return text;
  };
  std::string error;
  EXPECT_TRUE(readUploadedTrace(trace(kMaxUploadedTraceSamples), "a.csv", error)) << error;
  EXPECT_FALSE(readUploadedTrace(trace(kMaxUploadedTraceSamples + 1), "a.csv", error));
  EXPECT_NE(error.find("too many samples"), std::string::npos) << error;
}

TEST(TraceUploadTest, SamplesBecomeAttitudesMergedWithTheActionsAsReplayOrdersThem) {
  const std::vector<TraceSample> samples = {{0, 0, 1.4}, {1, 1.5, 0}, {2.5, 0, 0}};
  // Without actions of its own, the set-up plays what `replay` plays without a scenario.
  Scenario bare;
  bare.endTime = 4;
  const Scenario played = scenarioPlayingTrace(bare, samples);
  EXPECT_FALSE(played.endTime);
  EXPECT_TRUE(played.hasApp(SimulationRunner::kDefaultReplayAppBundleId));
  std::vector<std::string> lines;
  for (const TimedAction& timed : played.actions) {
    lines.push_back(std::to_string(timed.time).substr(0, 3) + " " +
                    ScenarioWriter::actionText(timed.action));
  }
  EXPECT_EQ(lines, (std::vector<std::string>{
                       "0.0 attitude 0 1.4", "0.0 boot", "0.0 front com.example.app 1",
                       "0.0 orientationlock on", "1.0 attitude 1.5 0", "2.5 attitude 0 0"}));

  // Its own actions are kept, a sample going before an action at the same time.
  Scenario own;
  own.actions = {TimedAction{0, 0, BootAction{}}, TimedAction{1, 0, TapAction{}},
                 TimedAction{9, 0, RespringAction{}}};
  const Scenario mixed = scenarioPlayingTrace(own, samples);
  ASSERT_EQ(mixed.actions.size(), 6u);
  EXPECT_TRUE(std::holds_alternative<AttitudeAction>(mixed.actions[0].action));
  EXPECT_TRUE(std::holds_alternative<BootAction>(mixed.actions[1].action));
  EXPECT_TRUE(std::holds_alternative<AttitudeAction>(mixed.actions[2].action));
  EXPECT_TRUE(std::holds_alternative<TapAction>(mixed.actions[3].action));
  EXPECT_TRUE(std::holds_alternative<RespringAction>(mixed.actions[5].action));
  EXPECT_FALSE(mixed.hasApp(SimulationRunner::kDefaultReplayAppBundleId));
}

}  // namespace
}  // namespace sim
