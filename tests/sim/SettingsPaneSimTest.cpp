// The settings pane through the gyrowhirl-sim binary: the page after each change, the values
// reaching the tweak's next button, the picked blacklist honoured by the tweak, restoring the
// defaults with the respring that boots the home screen with the tweak again, and the actions
// the device cannot take at that moment.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "sim/SimBinaryFixture.h"

namespace sim {
namespace {

// The "row" names of a `page` line, in order.
std::vector<std::string> rowNames(const std::string& pageLine) {
  std::vector<std::string> names;
  const std::string marker = "\"row\":\"";
  for (std::size_t at = pageLine.find(marker); at != std::string::npos;
       at = pageLine.find(marker, at)) {
    at += marker.size();
    const std::size_t end = pageLine.find('"', at);
    names.push_back(pageLine.substr(at, end - at));
    at = end;
  }
  return names;
}

double timeOf(const std::string& line) {
  return std::stod(line.substr(line.find("\"t\":") + 4));
}

bool has(const std::string& line, const std::string& part) {
  return line.find(part) != std::string::npos;
}

constexpr const char* kApps =
    "app com.example.reader\n"
    "app com.example.banking\n"
    "at 0 boot\n"
    "at 0 front com.example.reader\n"
    "at 0 orientationlock on\n";

class SettingsPaneSimTest : public SimBinaryTest {
 protected:
  // `setup`: statements that must come before the first `at`.
  RunResult runScenario(const std::string& body, const std::string& setup = "") {
    RunResult r = sim({"run", write("pane.scn", setup + kApps + body), "--jsonl"});
    EXPECT_EQ(r.exitStatus, 0) << r.err;
    return r;
  }
};

TEST_F(SettingsPaneSimTest, TheEnableSwitchHidesItsGroupAndBringsItBack) {
  RunResult r = runScenario(
      "at 1 settings open\n"
      "at 1.5 settings set pToggleIsEnabled false\n"
      "at 2 settings set pToggleIsEnabled true\n"
      "end 2.5\n");
  const auto pages = events(r, "page");
  ASSERT_EQ(pages.size(), 3u) << r.out;
  const std::vector<std::string> full = rowNames(pages[0]);
  // Everything the switch governs, the group headers within it included.
  const std::set<std::string> governed = {"Suggestion",
                                          "pSliderDisappearInterval",
                                          "Button",
                                          "pSegmentedButtonSize",
                                          "pColorPickerFABBgColor",
                                          "pToggleShouldAnimateFAB",
                                          "pSegmentedFeedbackStyle",
                                          "Blacklist",
                                          "pMultipleChoiceBlacklistedApps"};
  std::vector<std::string> withoutGroup;
  std::copy_if(full.begin(), full.end(), std::back_inserter(withoutGroup),
               [&](const std::string& row) { return !governed.count(row); });
  ASSERT_LT(withoutGroup.size(), full.size()) << pages[0];
  EXPECT_TRUE(has(pages[0], R"({"row":"pToggleIsEnabled","value":true})")) << pages[0];
  EXPECT_EQ(rowNames(pages[1]), withoutGroup);
  EXPECT_TRUE(has(pages[1], R"({"row":"pToggleIsEnabled","value":false})")) << pages[1];
  EXPECT_TRUE(has(pages[1], R"("row":"Restore Defaults")"));
  EXPECT_EQ(pages[2], R"({"t":2.000,"ev":"page")" + pages[0].substr(pages[0].find(",\"rows\"")));
}

TEST_F(SettingsPaneSimTest, SizeAndColourChosenInThePaneReachTheNextButton) {
  RunResult r = runScenario(
      "at 1 settings open\n"
      "at 2.5 settings set pSegmentedButtonSize 3\n"
      "at 3 settings set pColorPickerFABBgColor \"#FF3B30:1.0\"\n"
      "at 4 turn landscape\n"
      "end 4.5\n");
  const auto prefs = events(r, "prefs");
  ASSERT_FALSE(prefs.empty()) << r.out;
  EXPECT_TRUE(has(prefs.back(), R"("ButtonSize":3)")) << prefs.back();
  EXPECT_TRUE(has(prefs.back(), R"("FABBgColor":[1,0.23137254901960785,0.18823529411764706,1])"))
      << prefs.back();
  const auto buttons = events(r, "button");
  ASSERT_EQ(buttons.size(), 1u) << r.out;
  // Size 3 is 100 points, at the default place for that size.
  EXPECT_TRUE(has(buttons[0], R"("state":"shown","x":137.5,"y":267,"w":100,"h":100})"))
      << buttons[0];
  // Each change is written, then announced.
  const auto writes = events(r, {"file", "notify"});
  ASSERT_EQ(writes.size(), 4u) << r.out;
  EXPECT_TRUE(has(writes[0], "\"ev\":\"file\""));
  EXPECT_TRUE(has(writes[1], "\"ev\":\"notify\""));
}

TEST_F(SettingsPaneSimTest, AnAppPickedForTheBlacklistGetsNoSuggestion) {
  RunResult r = runScenario(
      "at 2.5 settings open\n"
      "at 2.5 settings pick com.example.banking\n"
      "at 2.5 front com.example.banking\n"
      "at 3 turn landscape\n"
      "at 4 turn portrait\n"
      "at 4.5 front com.example.reader\n"
      "at 5 turn landscape\n"
      "end 5.5\n");
  const auto prefs = events(r, "prefs");
  ASSERT_FALSE(prefs.empty()) << r.out;
  EXPECT_TRUE(has(prefs.back(), R"("BlacklistedApps":["com.example.banking"])")) << prefs.back();
  // The banking app's landscape report comes and goes without a button.
  const auto reports = events(r, "orientation");
  EXPECT_TRUE(std::any_of(reports.begin(), reports.end(), [](const std::string& line) {
    return has(line, "\"value\":2") && timeOf(line) >= 3 && timeOf(line) < 4;
  })) << r.out;
  const auto buttons = events(r, "button");
  ASSERT_FALSE(buttons.empty()) << r.out;
  EXPECT_GT(timeOf(buttons.front()), 5.0) << buttons.front();
  // The page shows the picked app in the picker's row.
  const auto pages = events(r, "page");
  ASSERT_FALSE(pages.empty());
  EXPECT_TRUE(has(pages.back(), R"("row":"pMultipleChoiceBlacklistedApps")")) << pages.back();
}

TEST_F(SettingsPaneSimTest, RestoringDefaultsRespringsIntoAHomeScreenWithTheTweak) {
  RunResult r = runScenario(
      "at 1 settings open\n"
      "at 2.5 settings press Restore Defaults\n"
      "at 3 alert Yes\n"
      "at 3.5 alert Respring\n"
      "at 6 turn landscape\n"
      "end 7\n",
      "pref pSegmentedButtonSize 3\n");
  const auto alerts = events(r, "alert");
  ASSERT_EQ(alerts.size(), 2u) << r.out;
  EXPECT_TRUE(has(alerts[0], R"("actions":["Yes","No"])")) << alerts[0];
  EXPECT_TRUE(has(alerts[1], R"("actions":["Respring"])")) << alerts[1];

  const auto spawns = events(r, "spawn");
  ASSERT_EQ(spawns.size(), 1u) << r.out;
  EXPECT_TRUE(has(spawns[0], R"("path":"/usr/bin/killall")")) << spawns[0];
  EXPECT_TRUE(has(spawns[0], R"("argv":["killall","backboardd"])")) << spawns[0];
  EXPECT_EQ(timeOf(spawns[0]), 3.5);

  const auto boots = events(r, {"boot", "respring"});
  const std::vector<std::string> expectedBoots = {
      R"({"t":0.000,"ev":"boot"})", R"({"t":3.500,"ev":"respring"})", R"({"t":3.500,"ev":"boot"})"};
  EXPECT_EQ(boots, expectedBoots) << r.out;
  // The new home-screen process runs the tweak: it reads the (now absent) preferences and
  // suggests the rotation with a default-sized button.
  const auto buttons = events(r, "button");
  ASSERT_EQ(buttons.size(), 1u) << r.out;
  EXPECT_GT(timeOf(buttons[0]), 6.0);
  EXPECT_TRUE(has(buttons[0], R"("w":50,"h":50})")) << buttons[0];
}

TEST_F(SettingsPaneSimTest, TheRespringEndsTheSettingsAppUntilItIsOpenedAgain) {
  RunResult r = runScenario(
      "at 1 settings open\n"
      "at 2.5 settings press Restore Defaults\n"
      "at 3 alert Yes\n"
      "at 3.5 alert Respring\n"
      "at 4 settings set pSegmentedButtonSize 3\n"
      "at 4.5 settings close\n"
      "at 5 settings open\n"
      "at 5.5 settings set pSegmentedButtonSize 3\n"
      "end 6\n");
  const std::vector<std::string> refusals = {
      R"({"t":4.000,"ev":"refused","action":"settings set","reason":"the settings pane is not open"})",
      R"({"t":4.500,"ev":"refused","action":"settings close","reason":"the settings pane is not open"})",
  };
  EXPECT_EQ(events(r, "refused"), refusals) << r.out;
  // Opened again, the pane works: its page, and the change reaches the file.
  const auto pages = events(r, "page");
  ASSERT_FALSE(pages.empty());
  EXPECT_EQ(timeOf(pages.back()), 5.5) << r.out;
  EXPECT_EQ(timeOf(events(r, "file").back()), 5.5) << r.out;

  // The person sees the pane close with the respring.
  RunResult human =
      sim({"run",
           write("pane.scn", std::string(kApps) + "at 1 settings open\n"
                                                  "at 2.5 settings press Restore Defaults\n"
                                                  "at 3 alert Yes\n"
                                                  "at 3.5 alert Respring\n"
                                                  "end 4\n"),
           "--no-color"});
  EXPECT_NE(human.out.find("the Settings app closes"), std::string::npos) << human.out;
}

TEST_F(SettingsPaneSimTest, AnsweringNoKeepsTheSettings) {
  RunResult r = runScenario(
      "at 1 settings open\n"
      "at 2.5 settings press Restore Defaults\n"
      "at 3 alert No\n"
      "end 3.5\n",
      "pref pSegmentedButtonSize 3\n");
  EXPECT_EQ(events(r, "alert").size(), 1u) << r.out;
  EXPECT_TRUE(events(r, {"file", "notify", "spawn", "respring"}).empty()) << r.out;
}

TEST_F(SettingsPaneSimTest, ActionsTheDeviceCannotTakeAreRecordedAndChangeNothing) {
  struct Case {
    const char* body;
    const char* refusal;
  };
  const Case cases[] = {
      {"at 1 alert OK\n",
       R"({"t":1.000,"ev":"refused","action":"alert","reason":"the settings pane is not open"})"},
      {"at 1 settings open\nat 1 alert OK\n",
       R"({"t":1.000,"ev":"refused","action":"alert","reason":"no alert is on screen"})"},
      {"at 1 settings set pSegmentedButtonSize 2\n",
       R"({"t":1.000,"ev":"refused","action":"settings set","reason":"the settings pane is not open"})"},
      {"at 1 settings open\nat 1 settings close\nat 1 settings close\n",
       R"({"t":1.000,"ev":"refused","action":"settings close","reason":"the settings pane is not open"})"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.body);
    RunResult r = runScenario(std::string(c.body) + "end 1.5\n");
    EXPECT_EQ(events(r, "refused"), std::vector<std::string>{c.refusal}) << r.out;
    EXPECT_TRUE(events(r, {"file", "notify", "alert"}).empty()) << r.out;
  }
  // An unknown button is refused too, with the pane's reason.
  RunResult r = runScenario("at 1 settings open\nat 1 settings press Nowhere\nend 1.5\n");
  const auto refusals = events(r, "refused");
  ASSERT_EQ(refusals.size(), 1u) << r.out;
  EXPECT_TRUE(has(refusals[0], R"("action":"settings press")")) << refusals[0];
}

TEST_F(SettingsPaneSimTest, TheWalkthroughExampleRunsThePaneEndToEnd) {
  RunResult r =
      sim({"run", std::string(GW_SOURCE_DIR) + "/examples/settings-walkthrough.scn", "--jsonl"});
  ASSERT_EQ(r.exitStatus, 0) << r.err;
  EXPECT_TRUE(events(r, "refused").empty()) << r.out;
  EXPECT_EQ(events(r, "spawn").size(), 1u) << r.out;
  const auto buttons = events(r, "button");
  std::vector<std::string> shown;
  for (const auto& line : buttons) {
    if (has(line, "\"shown\"")) shown.push_back(line);
  }
  // The big button before the blacklist, none for the banking app, a default one after the
  // respring.
  ASSERT_EQ(shown.size(), 2u) << r.out;
  EXPECT_TRUE(has(shown[0], R"("w":100,"h":100})")) << shown[0];
  EXPECT_GE(timeOf(shown[1]), 15.0);
}

}  // namespace
}  // namespace sim
