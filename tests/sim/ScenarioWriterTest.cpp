// A written scenario must play exactly what the parsed one does: every example, written back
// and run, gives its golden timeline; and the words the writer quotes read back as themselves.
#include "sim/ScenarioWriter.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "sim/ScenarioParser.h"
#include "sim/SimBinaryFixture.h"

namespace sim {
namespace {

TEST_F(SimBinaryTest, EveryExampleWrittenBackPlaysItsGoldenTimeline) {
  int examples = 0;
  for (const auto& entry : std::filesystem::directory_iterator(GW_SOURCE_DIR "/examples")) {
    if (entry.path().extension() != ".scn") continue;
    ++examples;
    const std::string name = entry.path().stem().string();
    ScenarioParser::Result parsed = ScenarioParser::parseFile(entry.path().string());
    ASSERT_TRUE(parsed.ok()) << parsed.error;
    const std::string text = ScenarioWriter::write(*parsed.scenario);
    ScenarioParser::Result again = ScenarioParser::parse(text, name);
    ASSERT_TRUE(again.ok()) << again.error << "\n" << text;
    EXPECT_EQ(ScenarioWriter::write(*again.scenario), text) << name;
    RunResult r = sim({"run", write(name + ".scn", text), "--jsonl"});
    EXPECT_EQ(r.exitStatus, 0) << name << ": " << r.err;
    EXPECT_EQ(r.out, slurp(GW_SOURCE_DIR "/tests/sim/golden/" + name + ".jsonl")) << name;
  }
  EXPECT_GE(examples, 3);
}

TEST(ScenarioWriterTest, WordsAndValuesReadBackAsThemselves) {
  const struct {
    const char* key;
    Foundation::Value value;
  } cases[] = {
      {"pColorPickerFABBgColor", Foundation::Value::string("#FF9500:1")},
      {"pColorPickerX", Foundation::Value::string("")},
      {"pColorPickerX", Foundation::Value::string("a \"quoted\" \\ back\tslash")},
      {"pColorPickerX", Foundation::Value::string("\"")},
      {"pMultipleChoiceBlacklistedApps", Foundation::Value::array({})},
      {"pMultipleChoiceBlacklistedApps",
       Foundation::Value::array(
           {Foundation::Value::string("a.b"), Foundation::Value::string("#c d")})},
      {"pSliderDisappearInterval", Foundation::Value::real(0.1 + 0.2)},
      {"pSegmentedButtonSize", Foundation::Value::integer(-3)},
      {"pToggleIsEnabled", Foundation::Value::boolean(false)},
      {"p Toggle #odd key", Foundation::Value::boolean(true)},
  };
  for (const auto& c : cases) {
    Scenario scenario;
    scenario.prefs.set(c.key, c.value);
    scenario.actions.push_back({1.25, 0, SettingsSetAction{c.key, c.value}});
    scenario.actions.push_back({1e6, 0, SettingsPressAction{"  Restore  Defaults "}});
    const std::string text = ScenarioWriter::write(scenario);
    ScenarioParser::Result parsed = ScenarioParser::parse(text, "written.scn");
    ASSERT_TRUE(parsed.ok()) << parsed.error << "\n" << text;
    EXPECT_EQ(parsed.scenario->prefs.valueForKey(c.key), c.value) << text;
    ASSERT_EQ(parsed.scenario->actions.size(), 2u);
    const auto* set = std::get_if<SettingsSetAction>(&parsed.scenario->actions[0].action);
    ASSERT_NE(set, nullptr);
    EXPECT_EQ(set->value, c.value) << text;
    EXPECT_EQ(parsed.scenario->actions[0].time, 1.25);
    EXPECT_EQ(parsed.scenario->actions[1].time, 1e6);
    const auto* press = std::get_if<SettingsPressAction>(&parsed.scenario->actions[1].action);
    ASSERT_NE(press, nullptr);
    EXPECT_EQ(press->label, "  Restore  Defaults ");
  }
}

}  // namespace
}  // namespace sim
