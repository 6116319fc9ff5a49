// Runs the built gyrowhirl-sim the way people and other checks do, and reads its JSON Lines.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "Foundation/PropertyList.h"
#include "VXCommon/VXMotionHelper.h"
#include "VXCommon/VXOrientationClassifier.h"
#include "sim/SimBinaryFixture.h"
#include "sim/TextUtilities.h"
#include "sim/TraceReader.h"
#include "support/MotionRecordings.h"

namespace sim {
namespace {

TEST_F(SimBinaryTest, TurningTheDeviceReportsEachChangeOnceAndTheUsersLockChanges) {
  std::string scenario = write("turn.scn",
                               "app com.example.reader\n"
                               "at 0 boot\n"
                               "at 0 front com.example.reader\n"
                               "at 0 orientationlock on\n"
                               "at 1 turn portrait\n"
                               "at 1.5 attitude 0.1 1.3   # still portrait: no report\n"
                               "at 2 turn landscape\n"
                               "at 3 turn flat           # neither: no report\n"
                               "at 3.5 turn portrait\n"
                               "at 4 orientationlock off\n"
                               "end 4.5\n");
  RunResult r = sim({"run", scenario, "--jsonl"});
  ASSERT_EQ(r.exitStatus, 0) << r.err;
  EXPECT_EQ(r.err, "");
  // Ticks fall at k × 0.30000001192092896 s after boot; a change shows at the next tick. The
  // landscape report offers a suggestion; the portrait report withdraws it.
  const std::vector<std::string> expected = {
      R"({"t":0.000,"ev":"boot"})",
      R"({"t":0.000,"ev":"lock","on":true,"by":"user"})",
      R"({"t":1.200,"ev":"orientation","value":1})",
      R"({"t":2.000,"ev":"prefs","entries":{}})",
      R"({"t":2.100,"ev":"orientation","value":2})",
      R"({"t":2.100,"ev":"button","state":"shown","x":162.5,"y":467,"w":50,"h":50})",
      R"({"t":2.100,"ev":"haptic","style":0})",
      R"({"t":3.600,"ev":"orientation","value":1})",
      R"({"t":3.800,"ev":"button","state":"removed"})",
      R"({"t":4.000,"ev":"lock","on":false,"by":"user"})",
  };
  EXPECT_EQ(r.lines, expected);
}

TEST_F(SimBinaryTest, WithoutDeviceMotionNothingIsEverReported) {
  std::string scenario = write("still.scn",
                               "motion no\n"
                               "gyro no\n"
                               "at 0 boot\n"
                               "at 1 turn landscape\n"
                               "at 2 turn portrait\n");
  RunResult r = sim({"run", scenario, "--jsonl", "--log"});
  ASSERT_EQ(r.exitStatus, 0) << r.err;
  EXPECT_TRUE(events(r, "orientation").empty()) << r.out;
  // The manager's helper says it started, and nothing about sensors it does not have; the
  // simulator's own shadow helper says nothing at all.
  int helperStarts = 0;
  for (const auto& line : events(r, "log")) {
    EXPECT_EQ(line.find("is available"), std::string::npos) << line;
    if (line.find("VXMotionHelper initialized") != std::string::npos) ++helperStarts;
  }
  EXPECT_EQ(helperStarts, 1) << r.out;
}

TEST_F(SimBinaryTest, RespringStartsAFreshHelperThatReportsAgain) {
  std::string scenario = write("respring.scn",
                               "at 0 boot\n"
                               "at 0 turn landscape\n"
                               "at 1 respring\n"
                               "end 2\n");
  RunResult r = sim({"run", scenario, "--jsonl"});
  ASSERT_EQ(r.exitStatus, 0) << r.err;
  const std::vector<std::string> expected = {
      R"({"t":0.000,"ev":"boot"})",
      R"({"t":0.300,"ev":"orientation","value":2})",
      R"({"t":0.300,"ev":"declined","reason":"no-front-app"})",
      R"({"t":1.000,"ev":"boot"})",
      R"({"t":1.300,"ev":"orientation","value":2})",
      R"({"t":1.300,"ev":"declined","reason":"no-front-app"})",
  };
  EXPECT_EQ(r.lines, expected);
}

TEST_F(SimBinaryTest, HumanReadableByDefault) {
  std::string scenario = write("h.scn", "at 0 boot\nat 0 turn portrait\nend 1\n");
  RunResult r = sim({"run", scenario});
  ASSERT_EQ(r.exitStatus, 0) << r.err;
  // One line per event in plain words, after a header; a summary closes the run.
  ASSERT_GE(r.lines.size(), 3u) << r.out;
  EXPECT_TRUE(r.lines[0].ends_with("event")) << r.lines[0];
  auto has = [&r](const std::string& text) { return r.out.find(text) != std::string::npos; };
  EXPECT_TRUE(has("     0.000  off   home screen                       home screen started"))
      << r.out;
  EXPECT_TRUE(
      has("     0.300  off   home screen                       motion helper reports "
          "portrait"))
      << r.out;
  EXPECT_TRUE(has("\nsummary: ")) << r.out;
}

TEST_F(SimBinaryTest, AKeptDeviceRootHoldsThePreferencesFileAndTheLockImage) {
  std::string root = (folder_.path() / "device").string();
  std::string scenario = write("prefs.scn",
                               "pref pToggleIsEnabled false\n"
                               "pref pOtherOrigin 10.5,20\n"
                               "at 0 boot\n"
                               "at 1 prefs write pSegmentedButtonSize 2\n"
                               "end 1\n");
  RunResult r = sim({"run", scenario, "--device-root", root, "--jsonl"});
  ASSERT_EQ(r.exitStatus, 0) << r.err;
  const std::string prefsPath = "/var/mobile/Library/Preferences/com.zel.gyrowhirlprefs.plist";
  const std::vector<std::string> expected = {
      R"({"t":0.000,"ev":"boot"})",
      R"({"t":1.000,"ev":"file","op":"write","path":")" + prefsPath + "\"}",
      R"({"t":1.000,"ev":"notify","name":"com.zel.gyrowhirl.settingschanged"})",
      R"({"t":1.000,"ev":"prefs","entries":{"IsEnabled":false,"Origin":[10.5,20],"ButtonSize":2}})",
  };
  EXPECT_EQ(r.lines, expected);

  std::string bytes = slurp(root + prefsPath);
  auto dict = Foundation::PropertyList::parseDictionary(
      std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
  ASSERT_TRUE(dict.has_value());
  EXPECT_EQ(dict->keys(),
            (std::vector<std::string>{"pToggleIsEnabled", "pOtherOrigin", "pSegmentedButtonSize"}));
  EXPECT_EQ(dict->valueForKey("pToggleIsEnabled"), Foundation::Value::boolean(false));
  EXPECT_EQ(dict->valueForKey("pSegmentedButtonSize"), Foundation::Value::integer(2));
  const auto* origin = dict->valueForKey("pOtherOrigin").dictionaryValue();
  ASSERT_NE(origin, nullptr);
  EXPECT_EQ(origin->valueForKey("x").doubleValue(), 10.5);

  std::string png = slurp(root + "/var/mobile/Library/Preferences/GyrowhirlPrefs/lock.png");
  EXPECT_EQ(png.substr(0, 8), "\x89PNG\r\n\x1a\n");

  // The same device again, told to have no image folder: it is gone afterwards.
  std::string missing = write("missing.scn", "lockimage missing\nat 0 prefs delete\nend 0\n");
  r = sim({"run", missing, "--device-root", root, "--jsonl"});
  ASSERT_EQ(r.exitStatus, 0) << r.err;
  EXPECT_FALSE(std::filesystem::exists(root + "/var/mobile/Library/Preferences/GyrowhirlPrefs"));
  EXPECT_FALSE(std::filesystem::exists(root + prefsPath));
  EXPECT_EQ(events(r, "file").size(), 1u) << r.out;
}

TEST_F(SimBinaryTest, BadInputRunsNothingAndNamesFileAndLine) {
  std::string bad = write("bad.scn", "at 0 boot\nat 1 turn sideways\n");
  RunResult r = sim({"run", bad, "--jsonl"});
  EXPECT_EQ(r.exitStatus, 2);
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.err, bad + ":2: expected 'turn portrait|landscape|flat'\n");

  std::string trace = write("bad.csv", "t,roll,pitch\n0,0,0\n0.5,0,0\n0.4,0,0\n");
  r = sim({"replay", trace, "--jsonl"});
  EXPECT_EQ(r.exitStatus, 2);
  EXPECT_EQ(r.out, "");  // the whole trace is checked before the run starts
  EXPECT_EQ(r.err, trace +
                       ":4: time 0.4 is not after the previous sample's time 0.5 (times must "
                       "increase)\n");

  // A sparse trace whose last time the run could not reach in reasonable time.
  std::string far = write("far.csv", "t,roll,pitch\n0,0,0\n1,0,0\n1e7,0,0\n");
  r = sim({"replay", far, "--jsonl"});
  EXPECT_EQ(r.exitStatus, 2);
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.err, far +
                       ":4: time 1e+07 is beyond the longest run: times up to 1000000 s (about "
                       "11.6 days) expected\n");
}

TEST_F(SimBinaryTest, UsageErrorsAndHelp) {
  struct Case {
    std::vector<std::string> arguments;
    int exitStatus;
    const char* errStart;
  };
  const Case cases[] = {
      {{"--help"}, 0, ""},
      {{"run"}, 2, "gyrowhirl-sim: run needs a scenario file\n"},
      {{"run", "a.scn", "b.scn"}, 2, "gyrowhirl-sim: run takes one scenario file\n"},
      {{"replay"}, 2, "gyrowhirl-sim: replay needs a trace file (CSV)\n"},
      {{"fly"}, 2, "gyrowhirl-sim: unknown command 'fly'\n"},
      {{"rnu", "a.scn"}, 2, "gyrowhirl-sim: unknown command 'rnu'; did you mean 'run'?\n"},
      {{"run", "a.scn", "--fast"}, 2, "gyrowhirl-sim: unknown option '--fast'\n"},
      {{"run", "a.scn", "--device-root"}, 2, "gyrowhirl-sim: --device-root needs a folder\n"},
      {{"run", "/nonexistent/a.scn"},
       2,
       "/nonexistent/a.scn: cannot read: No such file or directory\n"},
  };
  for (const auto& c : cases) {
    RunResult r = sim(c.arguments);
    EXPECT_EQ(r.exitStatus, c.exitStatus) << c.arguments[0];
    EXPECT_EQ(r.err.substr(0, std::string(c.errStart).size()), c.errStart);
  }
  RunResult help = sim({"--help"});
  EXPECT_NE(help.out.find("gyrowhirl-sim run SCENARIO"), std::string::npos);
  RunResult version = sim({"--version"});
  EXPECT_EQ(version.exitStatus, 0);
  EXPECT_TRUE(version.out.starts_with("gyrowhirl-sim ")) << version.out;
}

TEST_F(SimBinaryTest, TouchesWithNoButtonOnScreenPassThroughAndDoNothingElse) {
  std::string scenario = write("touch.scn",
                               "screen 400 800\n"
                               "at 0 boot\n"
                               "at 1 tap\n"
                               "at 1 touch 10 20.5\n"
                               "at 2 drag 50 0 steps=2\n"
                               "end 3\n");
  RunResult r = sim({"run", scenario, "--jsonl"});
  ASSERT_EQ(r.exitStatus, 0) << r.err;
  const std::vector<std::string> expected = {
      R"({"t":0.000,"ev":"boot"})",
      R"({"t":1.000,"ev":"touch","x":200,"y":400,"to":"passthrough"})",
      R"({"t":1.000,"ev":"touch","x":10,"y":20.5,"to":"passthrough"})",
      R"({"t":2.000,"ev":"prefs","entries":{}})",
      R"({"t":2.000,"ev":"touch","x":200,"y":400,"to":"passthrough"})",
  };
  EXPECT_EQ(r.lines, expected);
}

TEST_F(SimBinaryTest, ATouchBesideTheButtonPassesThroughTheOverlayToTheApp) {
  std::string scenario = write("beside.scn",
                               "pref pSegmentedButtonSize 2\n"
                               "app com.example.reader\n"
                               "at 0 boot\n"
                               "at 0 front com.example.reader\n"
                               "at 0 orientationlock on\n"
                               "at 0.5 turn portrait\n"
                               "at 3 turn landscape\n"
                               "at 3.5 touch 20 20\n"
                               "at 3.6 touch 187.5 404.5\n"
                               "end 4\n");
  RunResult r = sim({"run", scenario, "--jsonl"});
  ASSERT_EQ(r.exitStatus, 0) << r.err;
  // The overlay is up over the whole screen, yet only the button takes a touch.
  const std::vector<std::string> expected = {
      R"({"t":3.000,"ev":"button","state":"shown","x":150,"y":367,"w":75,"h":75})",
      R"({"t":3.500,"ev":"touch","x":20,"y":20,"to":"passthrough"})",
      R"({"t":3.600,"ev":"touch","x":187.5,"y":404.5,"to":"button"})",
      R"({"t":3.600,"ev":"lock","on":false,"by":"tweak"})",
  };
  EXPECT_EQ(events(r, {"touch", "lock", "button"}).size(), 6u) << r.out;
  auto lines = events(r, {"touch", "lock", "button"});
  lines.erase(lines.begin());  // the user's lock
  lines.pop_back();            // the button fading out after the tap
  EXPECT_EQ(lines, expected) << r.out;

  RunResult human = sim({"run", scenario, "--no-color"});
  EXPECT_NE(human.out.find("touch at (20, 20) passes through to the app"), std::string::npos)
      << human.out;
}

TEST_F(SimBinaryTest, EveryExampleScenarioRunsToItsEnd) {
  int examples = 0;
  for (const auto& entry : std::filesystem::directory_iterator(GW_SOURCE_DIR "/examples")) {
    if (entry.path().extension() != ".scn") continue;
    ++examples;
    RunResult r = sim({"run", entry.path().string(), "--jsonl", "--log"});
    EXPECT_EQ(r.exitStatus, 0) << entry.path() << ": " << r.err;
    ASSERT_FALSE(r.lines.empty()) << entry.path();
    EXPECT_EQ(r.lines[0], R"({"t":0.000,"ev":"boot"})") << entry.path();
    for (const auto& line : r.lines) {
      EXPECT_TRUE(line.starts_with("{\"t\":") && line.ends_with("}")) << line;
    }
  }
  EXPECT_GE(examples, 3);
}

// The reports the motion helper's rules give for a trace: at every tick (k × the sampling
// interval after boot at 0, up to the last sample) the latest sample taken before the tick is
// classified, and a change of class is reported.
std::vector<std::string> expectedReports(const std::string& tracePath) {
  std::vector<TraceSample> samples;
  TraceReader reader(tracePath);
  TraceSample sample;
  while (reader.next(sample) == TraceReader::Status::Sample) samples.push_back(sample);
  std::vector<std::string> reports;
  std::uint64_t state = 0;
  double roll = 0;
  double pitch = 0;
  std::size_t next = 0;
  const double end = samples.back().time;
  for (std::uint64_t k = 1;; ++k) {
    const double tick = static_cast<double>(k) * VXMotionHelper::kSamplingIntervalSeconds;
    if (tick > end) break;
    while (next < samples.size() && samples[next].time < tick) {
      roll = samples[next].roll;
      pitch = samples[next].pitch;
      ++next;
    }
    std::uint64_t cls = VXOrientationClassifier::classify(roll, pitch);
    if (cls != VXOrientationClassifier::kNone && cls != state) {
      state = cls;
      reports.push_back("{\"t\":" + formatFixed(tick, 3) +
                        ",\"ev\":\"orientation\",\"value\":" + std::to_string(cls) + "}");
    }
  }
  return reports;
}

TEST_F(SimBinaryTest, ReplayingEachRealTraceGivesExactlyTheRulesReportsAtEachTick) {
  GW_NEED_MOTION_RECORDINGS(recordings);
  for (const char* name :
       {"tyrex_ar_guillaume_iphone4s_dist.csv", "tyrex_ar_guillaume_iphone5_dist.csv",
        "tyrex_texting_thibaud_iphone5_nodist.csv", "tyrex_phoning_thibaud_iphone5_nodist.csv",
        "tyrex_swinging_jakob_iphone4s_nodist.csv",
        "tyrex_frontpocket_thibaud_iphone5_nodist.csv"}) {
    const std::string trace = (recordings / name).string();
    RunResult r = sim({"replay", trace, "--jsonl"});
    ASSERT_EQ(r.exitStatus, 0) << name << ": " << r.err;
    ASSERT_GE(r.lines.size(), 2u);
    EXPECT_EQ(r.lines[0], R"({"t":0.000,"ev":"boot"})");
    EXPECT_EQ(r.lines[1], R"({"t":0.000,"ev":"lock","on":true,"by":"user"})");
    EXPECT_EQ(events(r, "orientation"), expectedReports(trace)) << name;
  }
}

TEST_F(SimBinaryTest, ReplayWithAScenarioMergesItsActionsAndEndsAtItsEnd) {
  const std::string trace = write("short.csv",
                                  "t,roll,pitch\n"
                                  "0,0,1.4\n"
                                  "1,1.5,0\n"
                                  "2,0,1.4\n");
  std::string scenario = write("merge.scn",
                               "app com.example.reader\n"
                               "at 0 boot\n"
                               "at 0.5 front com.example.reader\n"
                               "at 1.5 orientationlock on\n"
                               "end 1.8\n");
  RunResult r = sim({"replay", trace, scenario, "--jsonl"});
  ASSERT_EQ(r.exitStatus, 0) << r.err;
  const std::vector<std::string> expected = {
      R"({"t":0.000,"ev":"boot"})",
      R"({"t":0.300,"ev":"orientation","value":1})",
      R"({"t":1.200,"ev":"orientation","value":2})",
      R"({"t":1.200,"ev":"declined","reason":"orientation-unlocked"})",
      R"({"t":1.500,"ev":"lock","on":true,"by":"user"})",
  };
  EXPECT_EQ(r.lines, expected);  // the sample at 2 s lies after the end
}

}  // namespace
}  // namespace sim
