// The whole system on the simulated phone, through the gyrowhirl-sim binary: the example
// scenarios of the suggestion flow, checked event by event, and the ways in and out of the
// preferences (outside writers, the drag-end save, a respring, a file no writer may replace, a
// link out of the device root).
//
// Expected values come from the rules, not from a run: ticks at k × 0.30000001192092896 s
// after boot; the first preferences broadcast 2 s after the library loads; the button 75
// points before any broadcast (scale type 2) and 50 after one without "ButtonSize"; the
// default origin (W × 0.5 − s / 2, H − 4 s); withdrawal 3.0 s after the suggestion before any
// broadcast, 2.0 s after one without "DisappearInterval", then the 0.2 s fade.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "sim/SimBinaryFixture.h"
#include "support/UnreadablePreferencesFile.h"

namespace sim {
namespace {

constexpr const char* kPrefsFile =
    R"("path":"/var/mobile/Library/Preferences/com.zel.gyrowhirlprefs.plist")";

std::string fileEvent(const char* time, const char* op) {
  return std::string(R"({"t":)") + time + R"(,"ev":"file","op":")" + op + "\"," + kPrefsFile + "}";
}

struct ExampleCase {
  const char* file;
  // Every line of these events, in order; the other events are not compared.
  std::vector<std::string> compared;
  std::vector<std::string> expected;
};

class SuggestionFlowTest : public SimBinaryTest {
 protected:
  RunResult runExample(const std::string& name, std::vector<std::string> extra = {}) {
    std::vector<std::string> arguments = {"run", std::string(GW_SOURCE_DIR) + "/examples/" + name,
                                          "--jsonl"};
    arguments.insert(arguments.end(), extra.begin(), extra.end());
    return sim(arguments);
  }
};

TEST_F(SuggestionFlowTest, ExampleScenariosGiveTheRulesEvents) {
  const std::vector<ExampleCase> cases = {
      {"accept-and-return.scn",
       {"orientation", "prefs", "button", "haptic", "touch", "lock"},
       {
           R"({"t":0.000,"ev":"lock","on":true,"by":"user"})",
           R"({"t":0.600,"ev":"orientation","value":1})",
           R"({"t":2.000,"ev":"prefs","entries":{"ButtonSize":2,"FeedbackStyle":2}})",
           // The report first, then what the manager does about it, in the same instant.
           R"({"t":3.000,"ev":"orientation","value":2})",
           R"({"t":3.000,"ev":"button","state":"shown","x":150,"y":367,"w":75,"h":75})",
           R"({"t":3.000,"ev":"haptic","style":1})",
           R"({"t":3.500,"ev":"touch","x":187.5,"y":404.5,"to":"button"})",
           R"({"t":3.500,"ev":"lock","on":false,"by":"tweak"})",
           R"({"t":3.700,"ev":"button","state":"removed"})",
           R"({"t":5.100,"ev":"orientation","value":1})",
           R"({"t":5.100,"ev":"lock","on":true,"by":"tweak"})",
       }},
      {"untapped-withdrawn.scn",
       {"prefs", "button", "lock"},
       {
           R"({"t":0.000,"ev":"lock","on":true,"by":"user"})",
           // Before any broadcast: 75 points, withdrawn 3.0 s later.
           R"({"t":0.600,"ev":"button","state":"shown","x":150,"y":367,"w":75,"h":75})",
           R"({"t":2.000,"ev":"prefs","entries":{}})",
           R"({"t":3.800,"ev":"button","state":"removed"})",
           // After a broadcast without the entries: 50 points, 2.0 s.
           R"({"t":5.100,"ev":"button","state":"shown","x":162.5,"y":467,"w":50,"h":50})",
           R"({"t":7.300,"ev":"button","state":"removed"})",
           // A Slider interval of 1.2 is 1.2000000476837158 s.
           R"({"t":8.500,"ev":"prefs","entries":{"DisappearInterval":1.2000000476837158}})",
           R"({"t":9.000,"ev":"button","state":"shown","x":162.5,"y":467,"w":50,"h":50})",
           R"({"t":10.400,"ev":"button","state":"removed"})",
       }},
      {"portrait-only-phone.scn",
       {"orientation", "button"},
       {
           R"({"t":3.000,"ev":"orientation","value":2})",
           R"({"t":4.200,"ev":"orientation","value":1})",
           R"({"t":5.100,"ev":"orientation","value":2})",
           R"({"t":5.100,"ev":"button","state":"shown","x":162.5,"y":467,"w":50,"h":50})",
       }},
      {"portrait-only-pad.scn",
       {"orientation", "button", "haptic"},
       {
           R"({"t":3.000,"ev":"orientation","value":2})",
           R"({"t":3.000,"ev":"button","state":"shown","x":359,"y":824,"w":50,"h":50})",
           R"({"t":3.000,"ev":"haptic","style":0})",
       }},
      {"blacklisted-app.scn",
       {"prefs", "button", "haptic"},
       {
           R"({"t":2.000,"ev":"prefs","entries":{"BlacklistedApps":["com.example.banking"]}})",
           R"({"t":5.100,"ev":"button","state":"shown","x":162.5,"y":467,"w":50,"h":50})",
           R"({"t":5.100,"ev":"haptic","style":0})",
       }},
      {"device-locked.scn",
       {"button", "haptic", "lock"},
       {
           R"({"t":0.000,"ev":"lock","on":true,"by":"user"})",
           R"({"t":5.100,"ev":"button","state":"shown","x":162.5,"y":467,"w":50,"h":50})",
           R"({"t":5.100,"ev":"haptic","style":0})",
       }},
      {"disabled.scn",
       {"prefs", "file", "notify", "button"},
       {
           R"({"t":2.000,"ev":"prefs","entries":{"IsEnabled":false}})",
           fileEvent("4.500", "write"),
           R"({"t":4.500,"ev":"notify","name":"com.zel.gyrowhirl.settingschanged"})",
           R"({"t":4.500,"ev":"prefs","entries":{"IsEnabled":true}})",
           R"({"t":5.100,"ev":"button","state":"shown","x":162.5,"y":467,"w":50,"h":50})",
       }},
      {"drag-and-respring.scn",
       {"boot", "prefs", "file", "button", "touch"},
       {
           R"({"t":0.000,"ev":"boot"})",
           R"({"t":2.000,"ev":"prefs","entries":{}})",
           R"({"t":3.000,"ev":"button","state":"shown","x":162.5,"y":467,"w":50,"h":50})",
           R"({"t":3.500,"ev":"touch","x":187.5,"y":492,"to":"button"})",
           R"({"t":3.500,"ev":"button","state":"moved","x":162.5,"y":467,"w":50,"h":50})",
           R"({"t":3.550,"ev":"button","state":"moved","x":137.425,"y":416.82500000000005,"w":50,"h":50})",
           R"({"t":3.600,"ev":"button","state":"moved","x":112.35000000000002,"y":366.65000000000003,"w":50,"h":50})",
           R"({"t":3.650,"ev":"button","state":"moved","x":87.27500000000003,"y":316.475,"w":50,"h":50})",
           R"({"t":3.700,"ev":"button","state":"moved","x":62.20000000000003,"y":266.3,"w":50,"h":50})",
           // Where the drag left the button, then the save that the drag end caused.
           R"({"t":3.750,"ev":"button","state":"moved","x":62.20000000000003,"y":266.3,"w":50,"h":50})",
           fileEvent("3.750", "write"),
           // The drag end started a full new interval.
           R"({"t":5.950,"ev":"button","state":"removed"})",
           R"({"t":7.000,"ev":"boot"})",
           R"({"t":9.000,"ev":"prefs","entries":{"Origin":[62.20000076293945,266.29998779296875]}})",
           R"({"t":10.000,"ev":"button","state":"shown","x":62.20000076293945,"y":266.29998779296875,"w":50,"h":50})",
       }},
      {"prefs-change-early.scn",
       {"prefs", "file", "notify", "button"},
       {
           fileEvent("1.000", "write"),
           R"({"t":1.000,"ev":"notify","name":"com.zel.gyrowhirl.settingschanged"})",
           R"({"t":1.000,"ev":"prefs","entries":{"ButtonSize":1}})",
           // The first read's broadcast, delayed 2 s, carries the older entries and wins.
           R"({"t":2.000,"ev":"prefs","entries":{"ButtonSize":3}})",
           R"({"t":3.000,"ev":"button","state":"shown","x":137.5,"y":267,"w":100,"h":100})",
       }},
  };
  for (const auto& c : cases) {
    RunResult r = runExample(c.file);
    ASSERT_EQ(r.exitStatus, 0) << c.file << ": " << r.err;
    EXPECT_EQ(events(r, c.compared), c.expected) << c.file << "\n" << r.out;
  }
}

TEST_F(SuggestionFlowTest, QuitTestLogsTheReasonForNoSuggestion) {
  const struct {
    const char* file;
    const char* quitLine;
  } cases[] = {
      {"device-locked.scn", "quiting state: disabled 0, locked 1, topapp 0"},
      {"disabled.scn", "quiting state: disabled 1, locked 0, topapp 0"},
  };
  for (const auto& c : cases) {
    RunResult r = runExample(c.file, {"--log"});
    ASSERT_EQ(r.exitStatus, 0) << r.err;
    bool atTheTurn = false;
    for (const auto& line : events(r, "log")) {
      if (line.starts_with(R"({"t":3.000,)") && line.find(c.quitLine) != std::string::npos) {
        atTheTurn = true;
      }
    }
    EXPECT_TRUE(atTheTurn) << c.file << "\n" << r.out;
  }
}

TEST_F(SuggestionFlowTest, EachRespringLoadsTheLibraryAgainAndReadsThePreferencesAgain) {
  std::string scenario = write("respring.scn",
                               "pref pSegmentedButtonSize 3\n"
                               "at 0 boot\n"
                               "at 2.5 respring\n"
                               "at 3 respring\n"
                               "end 5.5\n");
  RunResult r = sim({"run", scenario, "--jsonl", "--log"});
  ASSERT_EQ(r.exitStatus, 0) << r.err;
  std::vector<std::string> starts;
  for (const auto& line : r.lines) {
    for (const char* marker : {"\"ev\":\"boot\"", "VXPrefsLoader initialized",
                               "initializing rotation tweak", "VXTweakManager initialized"}) {
      if (line.find(marker) != std::string::npos) starts.push_back(line.substr(0, 11) + marker);
    }
  }
  // Initialisers, then the hook after launch completion, in every home-screen process.
  const std::vector<std::string> expected = {
      R"({"t":0.000,"ev":"boot")",
      R"({"t":0.000,VXPrefsLoader initialized)",
      R"({"t":0.000,initializing rotation tweak)",
      R"({"t":0.000,VXTweakManager initialized)",
      R"({"t":2.500,"ev":"boot")",
      R"({"t":2.500,VXPrefsLoader initialized)",
      R"({"t":2.500,initializing rotation tweak)",
      R"({"t":2.500,VXTweakManager initialized)",
      R"({"t":3.000,"ev":"boot")",
      R"({"t":3.000,VXPrefsLoader initialized)",
      R"({"t":3.000,initializing rotation tweak)",
      R"({"t":3.000,VXTweakManager initialized)",
  };
  EXPECT_EQ(starts, expected) << r.out;
  // The first broadcast of a process dies with it: only the last process's, 2 s after it.
  const std::vector<std::string> prefs = {R"({"t":2.000,"ev":"prefs","entries":{"ButtonSize":3}})",
                                          R"({"t":5.000,"ev":"prefs","entries":{"ButtonSize":3}})"};
  EXPECT_EQ(events(r, "prefs"), prefs);
}

TEST_F(SuggestionFlowTest, OutsideWritersDeleteAndRewriteThePreferencesFile) {
  std::string scenario =
      write("writers.scn",
            "pref pToggleIsEnabled false\n"
            "at 0 boot\n"
            "at 3 prefs delete\n"
            "at 4 prefs delete      # nothing left to delete: posted all the same\n"
            "at 5 prefs write pColorPickerFABBgColor \"#FF8000:0.5\"\n"
            "at 5 prefs write pOtherOrigin 10,20\n"
            "end 5\n");
  RunResult r = sim({"run", scenario, "--jsonl"});
  ASSERT_EQ(r.exitStatus, 0) << r.err;
  const std::string notify = R"("ev":"notify","name":"com.zel.gyrowhirl.settingschanged"})";
  const std::vector<std::string> expected = {
      R"({"t":2.000,"ev":"prefs","entries":{"IsEnabled":false}})",
      fileEvent("3.000", "delete"),
      R"({"t":3.000,)" + notify,
      R"({"t":3.000,"ev":"prefs","entries":{}})",
      R"({"t":4.000,)" + notify,
      R"({"t":4.000,"ev":"prefs","entries":{}})",
      // Each notification is answered with a full read before the next action of the same
      // instant: every due task of the device runs first.
      fileEvent("5.000", "write"),
      R"({"t":5.000,)" + notify,
      R"({"t":5.000,"ev":"prefs","entries":{"FABBgColor":[1,0.5019607843137255,0,0.5]}})",
      fileEvent("5.000", "write"),
      R"({"t":5.000,)" + notify,
      R"({"t":5.000,"ev":"prefs","entries":{"FABBgColor":[1,0.5019607843137255,0,0.5],"Origin":[10,20]}})",
  };
  EXPECT_EQ(events(r, {"prefs", "file", "notify"}), expected) << r.out;
}

TEST_F(SuggestionFlowTest, TheTweakDoesNotExistBeforeTheHomeScreenBoots) {
  std::string scenario = write("noboot.scn",
                               "app com.example.reader\n"
                               "at 0 front com.example.reader\n"
                               "at 0 orientationlock on\n"
                               "at 1 turn landscape\n"
                               "at 2 prefs write pSegmentedButtonSize 2\n"
                               "end 4\n");
  RunResult r = sim({"run", scenario, "--jsonl", "--log"});
  ASSERT_EQ(r.exitStatus, 0) << r.err;
  // No process reads the file or reports anything: only the writer's own traces remain.
  EXPECT_TRUE(events(r, {"boot", "orientation", "prefs", "button", "log"}).empty()) << r.out;
  EXPECT_EQ(events(r, {"file", "notify"}).size(), 2u) << r.out;
}

// The scenario's outside writer changes one entry and writes the file back: a file it cannot
// read stays as it is, and nothing is posted.
TEST_F(SuggestionFlowTest, APrefsWriteLeavesAFileItCannotReadAlone) {
  const std::string scenario = write("unreadable.scn",
                                     "at 0 boot\n"
                                     "at 3 prefs write pSegmentedButtonSize 2\n"
                                     "end 4\n");
  for (const auto& kind : test_support::kUnreadableKinds) {
    SCOPED_TRACE(kind.name);
    const std::filesystem::path root = folder_.path() / "root";
    std::filesystem::remove_all(root);
    const std::filesystem::path file =
        root / "var/mobile/Library/Preferences/com.zel.gyrowhirlprefs.plist";
    std::filesystem::create_directories(file.parent_path());
    if (!kind.make(file)) continue;
    const auto before = test_support::FileIdentity::of(file);

    RunResult r = sim({"run", scenario, "--jsonl", "--device-root", root.string()});
    ASSERT_EQ(r.exitStatus, 0) << r.err;
    EXPECT_EQ(test_support::FileIdentity::of(file), before);
    EXPECT_TRUE(events(r, {"file", "notify"}).empty()) << r.out;
  }
}

// The image folder of the device is a link to a folder outside the root: taking the folder
// away ("lockimage missing") never removes what the link points to.
TEST_F(SuggestionFlowTest, AMissingLockImageNeverRemovesAFolderOutsideTheRoot) {
  const std::filesystem::path outside = folder_.path() / "outside";
  std::filesystem::create_directories(outside);
  const std::string kept = write("outside/keep.png", "not the device's");
  const std::filesystem::path root = folder_.path() / "root";
  std::filesystem::create_directories(root / "var/mobile/Library/Preferences");
  std::filesystem::create_symlink(outside, root / "var/mobile/Library/Preferences/GyrowhirlPrefs");
  const std::string scenario = write("missing.scn", "lockimage missing\nat 0 boot\nend 1\n");

  RunResult r = sim({"run", scenario, "--jsonl", "--device-root", root.string()});
  ASSERT_EQ(r.exitStatus, 0) << r.err;
  EXPECT_EQ(slurp(kept), "not the device's");
}

}  // namespace
}  // namespace sim
