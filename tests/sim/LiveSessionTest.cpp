// A device played live gives the timeline a scenario run gives: the scenario's own actions
// played as a live clock passes them, in steps of any size, and a person's actions at the
// moments they came, saved as a scenario that `gyrowhirl-sim run` plays to the same events.
#include "sim/serve/LiveSession.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "sim/ScenarioParser.h"
#include "sim/ScenarioWriter.h"
#include "sim/SimBinaryFixture.h"

namespace sim {
namespace {

std::string joined(const LiveSession::Lines& lines) {
  std::string text;
  for (const std::string& line : lines.text) text += line + "\n";
  return text;
}

TEST_F(SimBinaryTest, TheShowcasePlayedLiveInSmallStepsGivesItsGoldenTimeline) {
  ScenarioParser::Result parsed = ScenarioParser::parseFile(GW_SOURCE_DIR "/examples/showcase.scn");
  ASSERT_TRUE(parsed.ok()) << parsed.error;
  const double end = parsed.scenario->effectiveEndTime();
  std::string error;
  std::unique_ptr<LiveSession> session = LiveSession::start(*parsed.scenario, error);
  ASSERT_TRUE(session) << error;
  for (double t = 0; t < end; t += 0.037) session->advanceTo(t);
  session->advanceTo(end);
  EXPECT_EQ(joined(session->jsonLines(0)), slurp(GW_SOURCE_DIR "/tests/sim/golden/showcase.jsonl"));
}

TEST_F(SimBinaryTest, ASavedSessionRunsToTheSessionsTimeline) {
  ScenarioParser::Result parsed = ScenarioParser::parse(
      "app com.example.reader\n"
      "app com.example.banking\n"
      "pref pSliderDisappearInterval 2.5\n"
      "at 0 boot\n"
      "at 0 front com.example.reader\n"
      "at 0 orientationlock on\n"
      "at 0 turn portrait\n"
      "at 1.25 turn landscape\n",
      "live.scn");
  ASSERT_TRUE(parsed.ok()) << parsed.error;
  std::string error;
  std::unique_ptr<LiveSession> session = LiveSession::start(*parsed.scenario, error);
  ASSERT_TRUE(session) << error;
  // A person's actions, at times that are no multiple of the device's own tasks.
  const struct {
    double time;
    const char* line;
  } actions[] = {
      {1.6543, "tap"},
      {3.0001, "turn portrait"},
      {5.3337, "turn landscape"},
      {5.777, "drag 40 -200 steps=3"},
      {9.1, "settings open"},
      {9.2, "settings set pSegmentedButtonSize 3"},
      {9.3, "settings set pColorPickerFABBgColor \"#FF9500:1\""},
      {9.4, "settings pick com.example.banking"},
      {9.5, "settings press \"Restore Defaults\""},
      {9.6, "alert Yes"},
      {10.02, "settings close"},
      {10.5, "prefs write pToggleIsEnabled false"},
      {11, "respring"},
      {11.5, "front com.example.banking 3"},
      {12, "devicelock on"},
  };
  for (const auto& a : actions) {
    session->advanceTo(a.time);
    std::optional<Action> action = session->parseAction(a.line, error);
    ASSERT_TRUE(action) << a.line << ": " << error;
    session->perform(*action);
  }
  session->advanceTo(15.4321);
  EXPECT_DOUBLE_EQ(session->now(), 15.432);

  RunResult json = sim({"run", write("saved.scn", session->savedScenario()), "--jsonl"});
  ASSERT_EQ(json.exitStatus, 0) << json.err << "\n" << session->savedScenario();
  EXPECT_EQ(json.out, joined(session->jsonLines(0)));
  EXPECT_NE(json.out.find("\"state\":\"moved\""), std::string::npos);
  EXPECT_NE(json.out.find("\"ev\":\"alert\""), std::string::npos);
  // The human form too, up to the run's summary.
  RunResult human = sim({"run", write("saved.scn", session->savedScenario()), "--no-color"});
  const std::string lines = joined(session->humanLines(0));
  EXPECT_EQ(human.out.substr(0, lines.size()), lines);
}

TEST(LiveSessionTest, ActionsAreReadAsScenarioLinesAgainstTheSessionsApps) {
  ScenarioParser::Result parsed =
      ScenarioParser::parse("app com.example.reader\nat 0 boot\n", "live.scn");
  ASSERT_TRUE(parsed.ok());
  std::string error;
  std::unique_ptr<LiveSession> session = LiveSession::start(*parsed.scenario, error);
  ASSERT_TRUE(session) << error;
  const struct {
    const char* line;
    const char* error;  // "" when accepted
  } cases[] = {
      {"front com.example.reader 3", ""},
      {"attitude 1.5 0 # a comment", ""},
      {"front com.example.other", "front: app 'com.example.other' is not installed"},
      {"attitude 90 0", "attitude: roll 90 is out of range"},
      {"at 3 tap", "unknown action 'at'"},
      {"tap\nat 5 respring", "one action, on one line"},
      {"", "expected 'at TIME ACTION'"},
      {"end 5", "unknown action 'end'"},
  };
  for (const auto& c : cases) {
    error.clear();
    std::optional<Action> action = session->parseAction(c.line, error);
    EXPECT_EQ(action.has_value(), std::string(c.error).empty()) << c.line;
    EXPECT_EQ(error.substr(0, std::string(c.error).size()), c.error) << c.line;
  }
}

// The page offers each row of the real pane with the control the pane shows and the values
// that control may send; every value it sends is one a `settings set` line takes.
TEST(LiveSessionTest, TheOpenPanesRowsDescribeTheirControlsAndTheValuesTheySend) {
  ScenarioParser::Result parsed = ScenarioParser::parse(
      "app com.example.reader\napp com.example.banking\nat 0 boot\nat 0 settings open\n"
      "at 0 settings pick com.example.banking\nat 0 settings set pSliderDisappearInterval 4.5\n",
      "live.scn");
  ASSERT_TRUE(parsed.ok()) << parsed.error;
  std::string error;
  std::unique_ptr<LiveSession> session = LiveSession::start(*parsed.scenario, error);
  ASSERT_TRUE(session) << error;
  session->advanceTo(0.5);
  const LiveSession::State state = session->state();
  ASSERT_TRUE(state.settingsOpen);
  std::map<std::string, SettingsControl> byKey;
  for (const SettingsControl& row : state.settingsRows) byKey[row.key] = row;

  const SettingsControl& slider = byKey["pSliderDisappearInterval"];
  EXPECT_EQ(slider.kind, SettingsControl::Kind::Slider);
  EXPECT_EQ(slider.min, 1);
  EXPECT_EQ(slider.max, 10);
  EXPECT_EQ(slider.value, "4.5");
  const SettingsControl& size = byKey["pSegmentedButtonSize"];
  EXPECT_EQ(size.kind, SettingsControl::Kind::Segments);
  EXPECT_EQ(size.choices, (std::vector<std::string>{"Small", "Medium", "Large"}));
  EXPECT_EQ(size.values, (std::vector<std::string>{"0", "2", "3"}));
  EXPECT_EQ(size.selected, 0);
  EXPECT_EQ(byKey["pColorPickerFABBgColor"].kind, SettingsControl::Kind::Colour);
  EXPECT_EQ(byKey["pToggleIsEnabled"].kind, SettingsControl::Kind::Switch);
  const SettingsControl& apps = byKey["pMultipleChoiceBlacklistedApps"];
  EXPECT_EQ(apps.kind, SettingsControl::Kind::Apps);
  EXPECT_EQ(apps.chosen, (std::vector<std::string>{"com.example.banking"}));
  EXPECT_EQ(byKey["Restore Defaults"].kind, SettingsControl::Kind::Button);

  // What each control sends is taken by `settings set` for its key.
  for (const SettingsControl& row : state.settingsRows) {
    std::vector<std::string> sent = row.values;
    if (row.kind != SettingsControl::Kind::Button && row.kind != SettingsControl::Kind::Group) {
      sent.push_back(row.value);
    }
    for (const std::string& value : sent) {
      if (row.kind == SettingsControl::Kind::Label) continue;
      std::optional<Action> action = session->parseAction(
          "settings set " + ScenarioWriter::word(row.key) + " " + ScenarioWriter::word(value),
          error);
      EXPECT_TRUE(action) << row.key << " " << value << ": " << error;
    }
  }
}

}  // namespace
}  // namespace sim
