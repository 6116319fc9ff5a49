#include "sim/TraceSynthesizer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <sstream>
#include <string>
#include <variant>
#include <vector>

#include "VXCommon/VXOrientationClassifier.h"
#include "sim/ScenarioParser.h"
#include "sim/SimBinaryFixture.h"
#include "sim/TextUtilities.h"

namespace sim {
namespace {

const std::filesystem::path kTraces = GW_SOURCE_DIR "/examples/traces";

// The committed traces and the scenarios they are made from (NAME.csv from NAME.scn).
std::vector<std::filesystem::path> committedScenarios() {
  std::vector<std::filesystem::path> scenarios;
  for (const auto& entry : std::filesystem::directory_iterator(kTraces)) {
    if (entry.path().extension() == ".scn") scenarios.push_back(entry.path());
  }
  std::sort(scenarios.begin(), scenarios.end());
  return scenarios;
}

std::string synthesize(const Scenario& scenario, const TraceSynthesizer::Options& options) {
  std::ostringstream out;
  std::string error;
  EXPECT_TRUE(TraceSynthesizer::write(scenario, options, out, error)) << error;
  return out.str();
}

Scenario parsed(const std::string& text) {
  ScenarioParser::Result result = ScenarioParser::parse(text, "motion.scn");
  EXPECT_TRUE(result.ok()) << result.error;
  return result.ok() ? *result.scenario : Scenario{};
}

TEST(TraceSynthesizerTest, CommittedTracesAreWhatTheGeneratorMakesOfTheirScenarios) {
  const auto scenarios = committedScenarios();
  ASSERT_GE(scenarios.size(), 2u);
  for (const auto& path : scenarios) {
    SCOPED_TRACE(path.filename().string());
    ScenarioParser::Result result = ScenarioParser::parseFile(path.string());
    ASSERT_TRUE(result.ok()) << result.error;
    TraceSynthesizer::Options options;  // the defaults: seed 1, 50 Hz
    options.madeFrom = "examples/traces/" + path.filename().string();
    std::filesystem::path trace = path;
    trace.replace_extension(".csv");
    EXPECT_EQ(synthesize(*result.scenario, options), slurp(trace))
        << "remake it: ./build/gyrowhirl-trace " << options.madeFrom << " -o " << trace;
  }
}

TEST(TraceSynthesizerTest, HoldsNearTheAttitudeWithTremorAndNoiseInConsistentColumns) {
  TraceSynthesizer::Options options;
  options.rateHz = 100;
  const std::string text = synthesize(parsed("at 0 attitude 0.3 1.0\nend 10\n"), options);
  std::istringstream lines(text);
  std::string line;
  std::getline(lines, line);
  EXPECT_TRUE(line.starts_with("# synthetic: not a recording.")) << line;
  std::getline(lines, line);
  EXPECT_EQ(line, "t,qw,qx,qy,qz,roll,pitch,gravity_x,gravity_y,gravity_z");

  int rows = 0;
  double previousRoll = 0, largestStep = 0;
  while (std::getline(lines, line)) {
    const auto fields = splitString(line, ',');
    ASSERT_EQ(fields.size(), 10u) << line;
    double v[10];
    for (int i = 0; i < 10; ++i) v[i] = parseReal(fields[i]).value();
    const double roll = v[5], pitch = v[6];
    EXPECT_NEAR(v[0], rows * 0.01, 1e-9);
    EXPECT_NEAR(roll, 0.3, 0.06) << line;
    EXPECT_NEAR(pitch, 1.0, 0.06) << line;
    // The quaternion is a rotation, and its gravity is the one roll and pitch give.
    EXPECT_NEAR(v[1] * v[1] + v[2] * v[2] + v[3] * v[3] + v[4] * v[4], 1, 5e-4) << line;
    EXPECT_NEAR(v[7], std::sin(roll) * std::cos(pitch), 2e-4) << line;
    EXPECT_NEAR(v[8], -std::sin(pitch), 2e-4) << line;
    EXPECT_NEAR(v[9], -std::cos(roll) * std::cos(pitch), 2e-4) << line;
    if (rows > 0) largestStep = std::max(largestStep, std::abs(roll - previousRoll));
    previousRoll = roll;
    ++rows;
  }
  EXPECT_EQ(rows, 1001);
  EXPECT_GT(largestStep, 0.003) << "no tremor or noise";
}

TEST(TraceSynthesizerTest, RefusesAScenarioWithoutAttitudeAndABadRate) {
  std::ostringstream out;
  std::string error;
  EXPECT_FALSE(TraceSynthesizer::write(parsed("at 0 boot\n"), {}, out, error));
  EXPECT_NE(error.find("'attitude' or 'turn'"), std::string::npos) << error;
  TraceSynthesizer::Options options;
  options.rateHz = 0;
  EXPECT_FALSE(TraceSynthesizer::write(parsed("at 0 turn flat\n"), options, out, error));
  EXPECT_EQ(out.str(), "");
}

// Each committed trace replayed by the simulator gives a report of the class each statement
// of its scenario aims at, within a turn and a sampling interval of the statement, and no
// other report.
TEST_F(SimBinaryTest, ASyntheticTraceReplaysWithTheReportsItsScenarioScripts) {
  for (const auto& path : committedScenarios()) {
    SCOPED_TRACE(path.filename().string());
    ScenarioParser::Result result = ScenarioParser::parseFile(path.string());
    ASSERT_TRUE(result.ok()) << result.error;
    struct Expected {
      double time;
      std::uint64_t value;
    };
    std::vector<Expected> expected;
    std::uint64_t last = VXOrientationClassifier::kNone;
    for (const TimedAction& timed : result.scenario->actions) {
      const auto* attitude = std::get_if<AttitudeAction>(&timed.action);
      if (attitude == nullptr) continue;
      const std::uint64_t value =
          VXOrientationClassifier::classify(attitude->roll, attitude->pitch);
      if (value == VXOrientationClassifier::kNone || value == last) continue;
      expected.push_back({timed.time, value});
      last = value;
    }
    std::filesystem::path trace = path;
    trace.replace_extension(".csv");
    RunResult r = sim({"replay", trace.string(), "--jsonl"});
    ASSERT_EQ(r.exitStatus, 0) << r.err;
    const auto reports = events(r, "orientation");
    ASSERT_EQ(reports.size(), expected.size()) << r.out;
    for (std::size_t i = 0; i < reports.size(); ++i) {
      const double time = parseReal(reports[i].substr(5, reports[i].find(',') - 5)).value();
      EXPECT_GE(time, expected[i].time) << reports[i];
      EXPECT_LE(time, expected[i].time + TraceSynthesizer::kTurnSeconds + 0.31) << reports[i];
      EXPECT_NE(reports[i].find("\"value\":" + std::to_string(expected[i].value)),
                std::string::npos)
          << reports[i];
    }
  }
}

}  // namespace
}  // namespace sim
