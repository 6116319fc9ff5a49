// A landscape report that brings no button, through the gyrowhirl-sim binary: each cause is
// named in both timeline forms, and reports the tweak did not decline name none. The reason
// words and their order of precedence are checked on their own below.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "sim/DeclineReason.h"
#include "sim/SimBinaryFixture.h"

namespace sim {
namespace {

struct DeclineCase {
  const char* name;
  const char* setup;   // before the first `at`
  const char* body;    // at 0 after boot; then upright at 0.5 and to landscape at 3
  const char* phrase;  // the human line after "no suggestion: ", or null for no decline
  const char* reason;  // the JSON reason, or null for no decline
};

constexpr const char* kBoot = "at 0 boot\n";
constexpr const char* kTurn = "at 0.5 turn portrait\nat 3 turn landscape\nend 4.5\n";

class DeclinedSuggestionTest : public SimBinaryTest {};

TEST_F(DeclinedSuggestionTest, EachCauseIsNamedInBothTimelines) {
  const DeclineCase cases[] = {
      {"switched off", "app com.example.reader\npref pToggleIsEnabled false\n",
       "at 0 front com.example.reader\nat 0 orientationlock on\n", "switched off", "disabled"},
      {"device locked", "app com.example.reader\n",
       "at 0 front com.example.reader\nat 0 orientationlock on\nat 0 devicelock on\n",
       "device locked", "device-locked"},
      {"home screen", "app com.example.reader\n", "at 0 orientationlock on\n", "no app in front",
       "no-front-app"},
      {"app lying", "app com.example.reader\n",
       "at 0 front com.example.reader 3\nat 0 orientationlock on\n", "app not upright",
       "app-not-upright"},
      {"portrait only", "app com.example.camera orientations=1\n",
       "at 0 front com.example.camera\nat 0 orientationlock on\n", "app supports portrait only",
       "portrait-only"},
      {"blacklisted",
       "app com.example.banking\npref pMultipleChoiceBlacklistedApps com.example.banking\n",
       "at 0 front com.example.banking\nat 0 orientationlock on\n", "app blacklisted",
       "blacklisted"},
      {"lock off", "app com.example.reader\n", "at 0 front com.example.reader\n",
       "orientation lock off (the app turns by itself)", "orientation-unlocked"},
      // Offered: no decline.
      {"offered", "app com.example.reader\n",
       "at 0 front com.example.reader\nat 0 orientationlock on\n", nullptr, nullptr},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string scenario =
        write("decline.scn", std::string(c.setup) + kBoot + c.body + kTurn);
    RunResult json = sim({"run", scenario, "--jsonl"});
    ASSERT_EQ(json.exitStatus, 0) << json.err;
    RunResult human = sim({"run", scenario, "--no-color"});
    ASSERT_EQ(human.exitStatus, 0) << human.err;

    const auto declines = events(json, "declined");
    std::vector<std::string> humanDeclines;
    for (const auto& line : human.lines) {
      if (line.find("no suggestion: ") != std::string::npos) humanDeclines.push_back(line);
    }
    if (!c.reason) {
      EXPECT_TRUE(declines.empty()) << json.out;
      EXPECT_TRUE(humanDeclines.empty()) << human.out;
      EXPECT_NE(human.out.find("0 declined"), std::string::npos) << human.out;
      continue;
    }
    // In the instant of the report, right after it (and after nothing else at that time).
    const auto reports = events(json, {"orientation", "declined", "button"});
    const std::vector<std::string> expected = {
        R"({"t":0.600,"ev":"orientation","value":1})",
        R"({"t":3.000,"ev":"orientation","value":2})",
        std::string(R"({"t":3.000,"ev":"declined","reason":")") + c.reason + "\"}"};
    EXPECT_EQ(reports, expected) << json.out;
    ASSERT_EQ(humanDeclines.size(), 1u) << human.out;
    EXPECT_TRUE(humanDeclines[0].ends_with(std::string("no suggestion: ") + c.phrase))
        << humanDeclines[0];
    EXPECT_NE(human.out.find("0 withdrawn, 1 declined"), std::string::npos) << human.out;
  }
}

TEST_F(DeclinedSuggestionTest, AReportWhileAButtonIsUpIsNoDecline) {
  // The button is up when the lock goes off; the reports that follow find it still there.
  const std::string scenario = write("up.scn",
                                     "app com.example.reader\n"
                                     "at 0 boot\n"
                                     "at 0 front com.example.reader\n"
                                     "at 0 orientationlock on\n"
                                     "at 0.5 turn portrait\n"
                                     "at 3 turn landscape\n"
                                     "at 3.2 orientationlock off\n"
                                     "at 3.4 turn portrait\n"
                                     "at 3.8 turn landscape\n"
                                     "end 4.5\n");
  RunResult r = sim({"run", scenario, "--jsonl"});
  ASSERT_EQ(r.exitStatus, 0) << r.err;
  const std::vector<std::string> expected = {
      R"({"t":0.600,"ev":"orientation","value":1})",
      R"({"t":3.000,"ev":"orientation","value":2})",
      R"({"t":3.000,"ev":"button","state":"shown","x":162.5,"y":467,"w":50,"h":50})",
      R"({"t":3.600,"ev":"orientation","value":1})",
      // The app turned with the phone, so the quit test withdraws the button: no decline.
      R"({"t":3.900,"ev":"orientation","value":2})",
      R"({"t":4.100,"ev":"button","state":"removed"})",
  };
  EXPECT_EQ(events(r, {"orientation", "button", "declined"}), expected) << r.out;
}

TEST(DeclineReasonTest, TheFirstTrueCauseIsNamedAndNonDeclinesNameNone) {
  using R = DeclineReason;
  const QuitRecord off{true, true, false};
  const QuitRecord locked{false, true, true};
  const QuitRecord home{false, false, true};
  const QuitRecord zeros{};
  struct Row {
    DeclineFacts facts;
    std::optional<R> expected;
  };
  const Row rows[] = {
      {{.buttonShown = true}, std::nullopt},
      {{.buttonAlreadyUp = true, .quit = off}, std::nullopt},
      {{.lockLiftedByTweak = true}, std::nullopt},
      // A quit line proves the tweak had not lifted the lock.
      {{.lockLiftedByTweak = true, .quit = zeros, .orientationLocked = true}, R::AppNotUpright},
      {{.quit = zeros, .orientationLocked = false}, R::OrientationUnlocked},
      {{.quit = off, .orientationLocked = false}, R::Disabled},
      {{.quit = locked}, R::DeviceLocked},
      {{.quit = home}, R::NoFrontApp},
      {{.quit = zeros, .portraitOnly = true, .orientationLocked = true}, R::AppNotUpright},
      {{.portraitOnly = true, .blacklisted = true}, R::PortraitOnly},
      {{.blacklisted = true}, R::Blacklisted},
      {{.orientationLocked = false}, R::OrientationUnlocked},
      {{.orientationLocked = true}, std::nullopt},
  };
  for (std::size_t i = 0; i < std::size(rows); ++i) {
    EXPECT_EQ(declineReason(rows[i].facts), rows[i].expected) << "row " << i;
  }
}

TEST(DeclineReasonTest, OnlyTheQuitTestsLineIsRead) {
  struct Row {
    const char* line;
    std::optional<QuitRecord> expected;
  };
  const Row rows[] = {
      {"<VX> VXTweakManager.cpp:135 -[VXTweakManager shouldQuit] quiting state: disabled 1, "
       "locked 0, topapp 1",
       QuitRecord{true, false, true}},
      {"<VX> VXTweakManager.cpp:135 -[VXTweakManager shouldQuit] quiting state: disabled 0, "
       "locked 1, topapp 0",
       QuitRecord{false, true, false}},
      {"<VX> VXTweakManager.cpp:76 -[VXTweakManager preferencesUpdated:] VXTweakManager prefs "
       "updated",
       std::nullopt},
      {"<VX> X.cpp:1 -[VXTweakManager shouldQuit] quiting state: disabled 2, locked 0, topapp 0",
       std::nullopt},
      {"<VX> X.cpp:1 -[VXTweakManager shouldQuit] quiting state: disabled 0, locked 0, topapp 0 "
       "and more",
       std::nullopt},
  };
  for (const auto& row : rows) EXPECT_EQ(parseQuitLogLine(row.line), row.expected) << row.line;
}

}  // namespace
}  // namespace sim
