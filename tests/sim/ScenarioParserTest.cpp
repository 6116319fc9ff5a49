#include "sim/ScenarioParser.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <variant>

#include "support/ReadableTestName.h"

namespace sim {
namespace {

using Foundation::Value;
using namespace std::string_view_literals;

Scenario parseOk(const std::string& text) {
  ScenarioParser::Result result = ScenarioParser::parse(text, "s.scn");
  EXPECT_TRUE(result.ok()) << result.error;
  return result.ok() ? *result.scenario : Scenario{};
}

TEST(ScenarioParserTest, ReadsSetupAndEveryActionInOrder) {
  Scenario s = parseOk(
      "# a whole scenario\n"
      "screen 414 896   # an 8 Plus would be 414 736\n"
      "idiom pad\n"
      "gyro no\n"
      "motion no\n"
      "app com.a.one\n"
      "app com.a.two orientations=1\n"
      "pref pToggleIsEnabled true\n"
      "pref pColorPickerFABBgColor \"#FF0000:0.5\"\n"
      "lockimage corrupt\n"
      "\n"
      "at 0 boot\n"
      "at 0 front com.a.one\n"
      "at 0.5 front com.a.two 3\n"
      "at 1 home\n"
      "at 1 devicelock on\n"
      "at 1 orientationlock off\n"
      "at 2 attitude -1.5 0.25\n"
      "at 2 turn landscape\n"
      "at 2.5 respring\n"
      "at 3 tap\n"
      "at 3 touch 10 20.5\n"
      "at 3 drag 30 -40 steps=2 cancel\n"
      "at 4 prefs write pSliderDisappearInterval 4.5\n"
      "at 4 prefs delete\n"
      "at 5 settings open\n"
      "at 5 settings set pSegmentedButtonSize 2\n"
      "at 5 settings press Restore   Defaults\n"
      "at 5 settings pick com.a.one com.a.two\n"
      "at 5 settings pick\n"
      "at 5 alert \"Yes, respring\"\n"
      "at 6 settings close\r\n"
      "end 9\n");
  EXPECT_EQ(s.screenWidthPoints, 414);
  EXPECT_EQ(s.screenHeightPoints, 896);
  EXPECT_EQ(s.idiom, Idiom::Pad);
  EXPECT_FALSE(s.gyroAvailable);
  EXPECT_FALSE(s.deviceMotionAvailable);
  ASSERT_EQ(s.apps.size(), 2u);
  EXPECT_EQ(s.apps[1].bundleId, "com.a.two");
  EXPECT_EQ(s.apps[1].orientationCount, 1);
  EXPECT_EQ(s.apps[0].orientationCount, 4);
  EXPECT_TRUE(s.hasPrefs);
  EXPECT_EQ(s.prefs.valueForKey("pToggleIsEnabled"), Value::boolean(true));
  EXPECT_EQ(s.prefs.valueForKey("pColorPickerFABBgColor"), Value::string("#FF0000:0.5"));
  EXPECT_EQ(s.lockImage, LockImage::Corrupt);
  ASSERT_EQ(s.actions.size(), 21u);
  EXPECT_EQ(s.actions[0].line, 12);
  EXPECT_TRUE(std::holds_alternative<BootAction>(s.actions[0].action));
  EXPECT_EQ(std::get<FrontAction>(s.actions[1].action).orientation, 1);
  EXPECT_EQ(std::get<FrontAction>(s.actions[2].action).orientation, 3);
  EXPECT_EQ(s.actions[2].time, 0.5);
  EXPECT_TRUE(std::get<DeviceLockAction>(s.actions[4].action).on);
  EXPECT_FALSE(std::get<OrientationLockAction>(s.actions[5].action).on);
  EXPECT_EQ(std::get<AttitudeAction>(s.actions[6].action).roll, -1.5);
  EXPECT_EQ(std::get<AttitudeAction>(s.actions[7].action).roll, 1.5);  // turn landscape
  EXPECT_EQ(std::get<TouchAction>(s.actions[10].action).y, 20.5);
  const auto& drag = std::get<DragAction>(s.actions[11].action);
  EXPECT_EQ(drag.dx, 30);
  EXPECT_EQ(drag.dy, -40);
  EXPECT_EQ(drag.steps, 2);
  EXPECT_TRUE(drag.cancel);
  EXPECT_EQ(std::get<PrefsWriteAction>(s.actions[12].action).value, Value::real(4.5));
  EXPECT_TRUE(std::holds_alternative<PrefsDeleteAction>(s.actions[13].action));
  EXPECT_EQ(std::get<SettingsSetAction>(s.actions[15].action).value, Value::integer(2));
  EXPECT_EQ(std::get<SettingsPressAction>(s.actions[16].action).label, "Restore Defaults");
  EXPECT_EQ(std::get<SettingsPickAction>(s.actions[17].action).bundleIds.size(), 2u);
  EXPECT_TRUE(std::get<SettingsPickAction>(s.actions[18].action).bundleIds.empty());
  EXPECT_EQ(std::get<AlertAction>(s.actions[19].action).actionTitle, "Yes, respring");
  EXPECT_TRUE(std::holds_alternative<SettingsCloseAction>(s.actions[20].action));
  EXPECT_EQ(s.effectiveEndTime(), 9);
}

TEST(ScenarioParserTest, DefaultsWithoutSetupAndEndFiveSecondsAfterTheLastAction) {
  Scenario empty = parseOk("");
  EXPECT_EQ(empty.screenWidthPoints, 375);
  EXPECT_EQ(empty.screenHeightPoints, 667);
  EXPECT_EQ(empty.idiom, Idiom::Phone);
  EXPECT_TRUE(empty.gyroAvailable);
  EXPECT_TRUE(empty.deviceMotionAvailable);
  EXPECT_FALSE(empty.hasPrefs);
  EXPECT_EQ(empty.lockImage, LockImage::Ok);
  EXPECT_EQ(empty.effectiveEndTime(), 5);
  EXPECT_EQ(parseOk("at 0 boot\nat 2.5 turn flat\n").effectiveEndTime(), 7.5);
  EXPECT_EQ(parseOk("end 1\nat 1 boot\n").effectiveEndTime(), 1);  // end may come first
}

TEST(ScenarioParserTest, ByteOrderMarkAndTurnShorthands) {
  Scenario s = parseOk(
      "\xEF\xBB\xBF"
      "at 0 turn portrait\nat 0 turn flat\n");
  const auto& portrait = std::get<AttitudeAction>(s.actions[0].action);
  EXPECT_EQ(portrait.roll, 0);
  EXPECT_EQ(portrait.pitch, 1.4);
  const auto& flat = std::get<AttitudeAction>(s.actions[1].action);
  EXPECT_EQ(flat.roll, 0);
  EXPECT_EQ(flat.pitch, 0);
}

struct BadScenario {
  std::string_view text;
  const char* error;
};

class ScenarioParserErrorTest : public testing::TestWithParam<BadScenario> {};

TEST_P(ScenarioParserErrorTest, ReportsFileLineAndWhatIsWrong) {
  ScenarioParser::Result result = ScenarioParser::parse(GetParam().text, "bad.scn");
  EXPECT_FALSE(result.ok());
  EXPECT_EQ(result.error, GetParam().error);
}

const BadScenario kBadScenarios[] = {
    {"jump 3", "bad.scn:1: unknown statement 'jump'"},
    {"at 0 boot\nscreen 1 2",
     "bad.scn:2: 'screen' is a setup statement: it must come before the first 'at' (line 1)"},
    {"idiom phone\nidiom pad", "bad.scn:2: 'idiom' given twice (first on line 1)"},
    {"screen 375", "bad.scn:1: expected 'screen WIDTH HEIGHT'"},
    {"screen 375 -1", "bad.scn:1: screen: '-1' is not a positive number of points"},
    {"screen wide 667", "bad.scn:1: screen: 'wide' is not a positive number of points"},
    // Sizes no device has; the pictures are drawn at this size.
    {"screen 1e300 1e300",
     "bad.scn:1: screen: 1e300 is out of range: from 200 to 2000 points expected"},
    {"screen 375 2000.5",
     "bad.scn:1: screen: 2000.5 is out of range: from 200 to 2000 points expected"},
    {"screen 199.9 667",
     "bad.scn:1: screen: 199.9 is out of range: from 200 to 2000 points expected"},
    {"idiom watch", "bad.scn:1: expected 'idiom phone|pad'"},
    {"gyro maybe", "bad.scn:1: expected 'gyro yes|no'"},
    {"motion", "bad.scn:1: expected 'motion yes|no'"},
    {"lockimage broken", "bad.scn:1: expected 'lockimage ok|missing|corrupt'"},
    {"app", "bad.scn:1: expected 'app BUNDLE_ID [orientations=N]'"},
    {"app ../../etc",
     "bad.scn:1: app: '../../etc' is not a bundle identifier (letters, digits, '.', '-' and '_')"},
    {"app a.b\napp a.b", "bad.scn:2: app: 'a.b' is installed twice (first on line 1)"},
    {"app a.b orientations=5",
     "bad.scn:1: app: 'orientations=5' needs a number of orientations from 0 to 4"},
    {"app a.b landscape", "bad.scn:1: app: unknown option 'landscape' (expected orientations=N)"},
    {"pref pFoo 1",
     "bad.scn:1: pref: 'pFoo' has no type word (Toggle, Segmented, ColorPicker, Slider, "
     "MultipleChoice or Other)"},
    {"pref ptoggleIsEnabled true",
     "bad.scn:1: pref: 'ptoggleIsEnabled' has no type word (Toggle, Segmented, ColorPicker, "
     "Slider, MultipleChoice or Other)"},
    {"pref pToggleIsEnabled yes",
     "bad.scn:1: pref: 'pToggleIsEnabled' (type Toggle): expected true or false, got 'yes'"},
    {"pref pSegmentedButtonSize 1.5",
     "bad.scn:1: pref: 'pSegmentedButtonSize' (type Segmented): expected a whole number, got "
     "'1.5'"},
    {"pref pSliderDisappearInterval fast",
     "bad.scn:1: pref: 'pSliderDisappearInterval' (type Slider): expected a number, got 'fast'"},
    {"pref pMultipleChoiceBlacklistedApps a,,b",
     "bad.scn:1: pref: 'pMultipleChoiceBlacklistedApps' (type MultipleChoice): expected a "
     "comma-separated list without empty items, got 'a,,b'"},
    {"pref pOtherOrigin 10",
     "bad.scn:1: pref: 'pOtherOrigin' (type Other): expected X,Y (two numbers), got '10'"},
    {"pref pOtherOrigin 10,y",
     "bad.scn:1: pref: 'pOtherOrigin' (type Other): expected X,Y (two numbers), got '10,y'"},
    {"pref pColorPickerFABBgColor #FFFFFF:1",
     "bad.scn:1: expected 'pref KEY VALUE' (a colour that starts with '#' needs quotes: "
     "\"#FF0000:1\")"},
    {"pref pToggleIsEnabled", "bad.scn:1: expected 'pref KEY VALUE'"},
    {"pref pSliderX \"1", "bad.scn:1: unterminated quoted text"},
    {"pref pSliderX \"1\"2", "bad.scn:1: a quoted word must be followed by a space"},
    {"at 1", "bad.scn:1: expected 'at TIME ACTION'"},
    {"at soon boot", "bad.scn:1: at: 'soon' is not a time in seconds (a number >= 0)"},
    {"at -1 boot", "bad.scn:1: at: '-1' is not a time in seconds (a number >= 0)"},
    {"at nan boot", "bad.scn:1: at: 'nan' is not a time in seconds (a number >= 0)"},
    // Times the virtual clock cannot reach in a run of sensible length.
    {"at 1000000.001 boot",
     "bad.scn:1: at: 1000000.001 is beyond the longest run: times up to 1000000 s (about 11.6 "
     "days) expected"},
    {"at 1e25 boot",
     "bad.scn:1: at: 1e25 is beyond the longest run: times up to 1000000 s (about 11.6 days) "
     "expected"},
    {"at 0 boot\nend 1e300",
     "bad.scn:2: end: 1e300 is beyond the longest run: times up to 1000000 s (about 11.6 days) "
     "expected"},
    // A preferences file keeps keys and text as C strings.
    {"pref pSliderDisappear\0Interval 2"sv,
     "bad.scn:1: pref: the key holds a NUL character, which a preferences file cannot keep"},
    {"pref pColorPickerFABBgColor \"#FF0000\0:1\""sv,
     "bad.scn:1: pref: the value holds a NUL character, which a preferences file cannot keep"},
    {"at 0 prefs write pToggle\0IsEnabled true"sv,
     "bad.scn:1: prefs write: the key holds a NUL character, which a preferences file cannot keep"},
    {"at 2 boot\n\nat 1.5 home",
     "bad.scn:3: at 1.5 is earlier than the action before it (at 2, line 1)"},
    {"at 0 dance", "bad.scn:1: unknown action 'dance'"},
    {"at 0 boot now", "bad.scn:1: expected 'boot'"},
    {"at 0 front com.x",
     "bad.scn:1: front: app 'com.x' is not installed (add 'app com.x' before the first 'at')"},
    {"app com.x\nat 0 front com.x 5",
     "bad.scn:2: front: interface orientation '5' is not 1, 2, 3 or 4"},
    {"at 0 front", "bad.scn:1: expected 'front BUNDLE_ID [ORIENTATION]'"},
    {"at 0 devicelock", "bad.scn:1: expected 'devicelock on|off'"},
    {"at 0 orientationlock yes", "bad.scn:1: expected 'orientationlock on|off'"},
    {"at 0 attitude 1", "bad.scn:1: expected 'attitude ROLL PITCH'"},
    {"at 0 attitude x 0", "bad.scn:1: attitude: roll 'x' is not a number"},
    {"at 0 attitude 90 0",
     "bad.scn:1: attitude: roll 90 is out of range: radians from -3.1426 to 3.1426 expected"},
    {"at 0 attitude 0 -1.6",
     "bad.scn:1: attitude: pitch -1.6 is out of range: radians from -1.5718 to 1.5718 expected"},
    {"at 0 turn upside-down", "bad.scn:1: expected 'turn portrait|landscape|flat'"},
    {"at 0 touch 1", "bad.scn:1: expected 'touch X Y'"},
    {"at 0 touch 1 y", "bad.scn:1: touch: 'y' is not a number of points"},
    {"at 0 drag 10", "bad.scn:1: expected 'drag DX DY [steps=N] [cancel]'"},
    {"at 0 drag 10 0 steps=0",
     "bad.scn:1: drag: 'steps=0' needs a whole number of steps from 1 to 1000"},
    {"at 0 drag 10 0 cancel cancel", "bad.scn:1: drag: 'cancel' given twice"},
    {"at 0 drag 10 0 slowly",
     "bad.scn:1: drag: unknown option 'slowly' (expected steps=N or cancel)"},
    {"at 0 prefs write pToggleIsEnabled", "bad.scn:1: expected 'prefs write KEY VALUE'"},
    {"at 0 prefs write pSegmentedButtonSize big",
     "bad.scn:1: prefs write: 'pSegmentedButtonSize' (type Segmented): expected a whole number, "
     "got 'big'"},
    {"at 0 prefs erase", "bad.scn:1: expected 'prefs write KEY VALUE' or 'prefs delete'"},
    {"at 0 settings",
     "bad.scn:1: expected 'settings open|close|set KEY VALUE|press LABEL|pick BUNDLE_ID...'"},
    {"at 0 settings press",
     "bad.scn:1: expected 'settings open|close|set KEY VALUE|press LABEL|pick BUNDLE_ID...'"},
    {"at 0 settings set pFoo 1",
     "bad.scn:1: settings set: 'pFoo' has no type word (Toggle, Segmented, ColorPicker, Slider, "
     "MultipleChoice or Other)"},
    {"at 0 settings pick com.nope",
     "bad.scn:1: settings pick: app 'com.nope' is not installed (add 'app com.nope' before the "
     "first 'at')"},
    {"at 0 alert", "bad.scn:1: expected 'alert ACTION_TITLE'"},
    {"end", "bad.scn:1: expected 'end TIME'"},
    {"end 5\nend 6", "bad.scn:2: 'end' given twice (first on line 1)"},
    {"end 3\nat 4 boot", "bad.scn:1: end 3 is before the last action (at 4, line 2)"},
    {"at 0 boot\n\xC3\x28", "bad.scn:2: not valid UTF-8 text"},
    {"# caf\xC3\xA9\n\xED\xA0\x80", "bad.scn:2: not valid UTF-8 text"},  // a surrogate
};

// Named by the scenario text: "at_0_attitude_90_0".
INSTANTIATE_TEST_SUITE_P(Lines, ScenarioParserErrorTest, testing::ValuesIn(kBadScenarios),
                         [](const testing::TestParamInfo<BadScenario>& info) {
                           return test_support::readableTestName(info.param.text);
                         });

TEST(ScenarioParserTest, AMissingFileIsNamed) {
  ScenarioParser::Result result = ScenarioParser::parseFile("/nonexistent/x.scn");
  EXPECT_FALSE(result.ok());
  EXPECT_EQ(result.error, "/nonexistent/x.scn: cannot read: No such file or directory");
}

struct TypedPref {
  const char* key;
  const char* text;
  Value expected;
};

TEST(ScenarioParserTest, PrefValuesAreTypedByTheFirstTypeWordInTheReadersOrder) {
  Foundation::Dictionary origin;
  origin.set("x", Value::real(100.7));
  origin.set("y", Value::real(-2));
  const TypedPref cases[] = {
      {"pToggleIsEnabled", "false", Value::boolean(false)},
      {"pSegmentedFeedbackStyle", "-2", Value::integer(-2)},
      {"pSliderDisappearInterval", "3", Value::real(3.0)},
      {"pColorPickerFABBgColor", "#00FF00:0.25", Value::string("#00FF00:0.25")},
      {"pMultipleChoiceBlacklistedApps", "com.a, com.b",
       Value::array({Value::string("com.a"), Value::string("com.b")})},
      {"pMultipleChoiceBlacklistedApps", "", Value::array({})},
      {"pOtherOrigin", "100.7,-2", Value::dictionary(origin)},
      // Toggle is tested before Segmented, wherever it stands in the key.
      {"pSegmentedToggleX", "true", Value::boolean(true)},
      // Slider before Other, in either order of the words.
      {"pOtherSliderX", "0.5", Value::real(0.5)},
      {"pSliderOtherX", "0.5", Value::real(0.5)},
      // The type word may stand anywhere, and end the key.
      {"Toggle", "true", Value::boolean(true)},
  };
  for (const auto& c : cases) {
    std::string error;
    auto value = ScenarioParser::typedPrefValue(c.key, c.text, error);
    ASSERT_TRUE(value.has_value()) << c.key << ": " << error;
    EXPECT_EQ(*value, c.expected) << c.key << " " << c.text;
  }
}

TEST(ScenarioParserTest, QuotesKeepHashesAndSpacesAndEscapes) {
  Scenario s = parseOk(
      "pref pColorPickerFABBgColor \"#0000FF:1\" # blue\n"
      "pref pMultipleChoiceBlacklistedApps \"\"\n"
      "at 0 alert \"say \\\"no\\\" \\\\ twice\"\n");
  EXPECT_EQ(s.prefs.valueForKey("pColorPickerFABBgColor"), Value::string("#0000FF:1"));
  EXPECT_EQ(s.prefs.valueForKey("pMultipleChoiceBlacklistedApps"), Value::array({}));
  EXPECT_EQ(std::get<AlertAction>(s.actions[0].action).actionTitle, "say \"no\" \\ twice");
}

}  // namespace
}  // namespace sim
