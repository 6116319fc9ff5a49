#include "UIKit/UIColor.h"
#include "VXCommon/VXPrefsLoader.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "CoreFoundation/CFNotificationCenter.h"
#include "support/ScopedTestDevice.h"
#include "tweak/OverlayTestSupport.h"
#include "tweak/PrefsTestSupport.h"

namespace {

using Foundation::Array;
using Foundation::Dictionary;
using Foundation::Value;
using prefs_test::countContaining;

constexpr const char* kUndefined = "ERROR! got undefined pref type";

class VXPrefsLoaderTest : public ::testing::Test {
 protected:
  // The broadcast of one read of `file`; the first read's delayed post is waited for.
  Dictionary broadcastOf(const Dictionary& file) {
    EXPECT_TRUE(prefs_test::writePrefsFile(file));
    const std::size_t before = broadcasts.count();
    readPrefs();
    device.runFor(2.0);
    EXPECT_EQ(broadcasts.count(), before + 1);
    const Dictionary* prefs = broadcasts.objects().back().dictionaryValue();
    return prefs ? *prefs : Dictionary();
  }
  const Dictionary* lastBroadcast() const {
    return broadcasts.count() ? broadcasts.objects().back().dictionaryValue() : nullptr;
  }

  ScopedTestDevice device;
  overlay_test::LogCapture log;
  overlay_test::NotificationRecorder broadcasts{VXPrefsLoader::kPrefsUpdatedNotification};
};

struct TypeWordCase {
  const char* name;
  Dictionary file;
  Dictionary expected;
  std::size_t undefinedLines;
};

TEST_F(VXPrefsLoaderTest, TypeWordRules) {
  const Value yes = Value::boolean(true);
  const TypeWordCase cases[] = {
      {"toggle takes a number's truth",
       {{"pToggleA", Value::integer(2)}, {"pToggleB", Value::real(0.0)}},
       {{"A", yes}, {"B", Value::boolean(false)}},
       0},
      {"segmented truncates toward zero",
       {{"pSegmentedUp", Value::real(2.9)}, {"pSegmentedDown", Value::real(-2.9)}},
       {{"Up", Value::integer(2)}, {"Down", Value::integer(-2)}},
       0},
      {"slider passes through single precision",
       {{"pSliderDisappearInterval", Value::real(0.1)}},
       {{"DisappearInterval", Value::real(0.10000000149011612)}},
       0},
      {"other gives a single-precision point",
       {{"pOtherOrigin", prefs_test::originValue(100.7, 5.5)}},
       {{"Origin", Value::point({100.69999694824219, 5.5})}},
       0},
      {"colour and list",
       {{"pColorPickerFABBgColor", Value::string("#FF0000:0.5")},
        {"pMultipleChoiceApps", Value::array({Value::string("a"), Value::string("b")})}},
       {{"FABBgColor", Value::color(UIColor::colorWithRed(1, 0, 0, 0.5))},
        {"Apps", Value::array({Value::string("a"), Value::string("b")})}},
       0},
      {"slider decides over other in either order",
       {{"pOtherSliderX", Value::real(1.5)}, {"pSliderOtherY", Value::real(2.5)}},
       {{"X", Value::real(1.5)}, {"OtherY", Value::real(2.5)}},
       0},
      {"toggle inside the name after segmented",
       {{"pSegmentedToggleMode", yes}},
       {{"Mode", yes}},
       0},
      {"case-sensitive", {{"ptoggleOn", yes}, {"pSLIDERx", Value::real(1)}}, {}, 2},
      {"no type word", {{"pOrigin", Value::real(1)}}, {}, 1},
      {"type word ends the key", {{"pToggle", yes}}, {{"", yes}}, 0},
      {"prefix ignored, bare name after the first occurrence",
       {{"xxSliderSliderSpeed", Value::real(0.5)}},
       {{"SliderSpeed", Value::real(0.5)}},
       0},
      {"later key wins",
       {{"pToggleX", yes}, {"pSegmentedX", Value::integer(5)}},
       {{"X", Value::integer(5)}},
       0},
      {"later key wins, reversed",
       {{"pSegmentedX", Value::integer(5)}, {"pToggleX", yes}},
       {{"X", yes}},
       0},
  };
  for (const TypeWordCase& c : cases) {
    SCOPED_TRACE(c.name);
    log.clear();
    EXPECT_EQ(broadcastOf(c.file), c.expected);
    EXPECT_EQ(countContaining(log.lines(), kUndefined), c.undefinedLines);
  }
}

// Wrong kinds are converted as NSString / NSNumber would answer, or skipped with the
// undefined-type line; the read always goes on to the next entry.
TEST_F(VXPrefsLoaderTest, WrongKindsAreConvertedOrSkippedNeverFatal) {
  struct Case {
    const char* key;
    Value stored;
    std::optional<Value> expected;  // nullopt: skipped
  };
  const Case cases[] = {
      {"pToggleT1", Value::string("YES"), Value::boolean(true)},
      {"pToggleT2", Value::string("no"), Value::boolean(false)},
      {"pToggleT3", Value::array({}), std::nullopt},
      {"pSegmentedS1", Value::string(" 42abc"), Value::integer(42)},
      {"pSegmentedS2", Value::real(1e12), Value::integer(std::numeric_limits<std::int32_t>::max())},
      {"pSegmentedS3", Value::data({1, 2}), std::nullopt},
      {"pColorPickerC1", Value::integer(5), std::nullopt},
      {"pSliderF1", Value::string("0.25x"), Value::real(0.25)},
      {"pSliderF2", Value::date({}), std::nullopt},
      {"pSliderF3", Value::dictionary({}), std::nullopt},
      {"pMultipleChoiceM1", Value::string("a,b"), std::nullopt},
      {"pOtherO1", Value::string("{1, 2}"), std::nullopt},
      {"pOtherO2",
       Value::dictionary({{"x", Value::string("3.5")}, {"y", Value::array({Value::real(1)})}}),
       Value::point({3.5, 0})},
      {"pOtherO3", Value::dictionary({{"y", Value::integer(7)}}), Value::point({0, 7})},
  };
  Dictionary file;
  for (const Case& c : cases) file.set(c.key, c.stored);
  const Dictionary prefs = broadcastOf(file);

  std::size_t skipped = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.key);
    const std::string bare = std::string(c.key).substr(std::string(c.key).size() - 2);
    const Value* got = prefs.find(bare);
    if (c.expected) {
      ASSERT_NE(got, nullptr);
      EXPECT_EQ(*got, *c.expected);
    } else {
      EXPECT_EQ(got, nullptr);
      ++skipped;
    }
  }
  EXPECT_EQ(countContaining(log.lines(), kUndefined), skipped);
  EXPECT_EQ(countContaining(log.lines(), "type 'pToggleT3' value '"), 1u);
}

TEST_F(VXPrefsLoaderTest, FirstPostWaitsTwoSecondsWithTheLogLinesInOrder) {
  ASSERT_TRUE(prefs_test::writePrefsFile({{"pToggleIsEnabled", Value::boolean(true)}}));
  readPrefs();
  device.runFor(1.999);
  EXPECT_EQ(broadcasts.count(), 0u);
  device.runFor(0.001);
  ASSERT_EQ(broadcasts.count(), 1u);
  EXPECT_EQ(*lastBroadcast(), (Dictionary{{"IsEnabled", Value::boolean(true)}}));
  EXPECT_EQ(log.lines(),
            (std::vector<std::string>{
                "<VX> VXPrefsLoader.cpp:32 +[VXPrefsLoader sharedInstance]_block_invoke "
                "VXPrefsLoader initialized",
                "<VX> VXPrefsLoader.cpp:139 readPrefs prefs updated...", "<VX> printing prefDict",
                "<VX> {", "<VX> key: pToggleIsEnabled", "<VX> value: 1", "<VX> }",
                "<VX> VXPrefsLoader.cpp:146 readPrefs_block_invoke prefs posted (respring)"}));
}

// A settings change inside the first 2 s posts at once; the delayed first post follows with
// the older dictionary of the first read.
TEST_F(VXPrefsLoaderTest, SettingsChangeRacingTheFirstPost) {
  CFNotificationCenterAddObserver(CFNotificationCenterGetDarwinNotifyCenter(), nullptr, &readPrefs,
                                  VXPrefsLoader::kSettingsChangedNotification, nullptr,
                                  CFNotificationSuspensionBehaviorCoalesce);
  ASSERT_TRUE(prefs_test::writePrefsFile({{"pSliderDisappearInterval", Value::real(1.0)}}));
  readPrefs();
  device.runFor(1.0);
  ASSERT_TRUE(prefs_test::writePrefsFile({{"pToggleIsEnabled", Value::boolean(false)}}));
  CFNotificationCenterPostNotification(CFNotificationCenterGetDarwinNotifyCenter(),
                                       VXPrefsLoader::kSettingsChangedNotification, nullptr,
                                       nullptr, true);
  device.runFor(0.0);
  ASSERT_EQ(broadcasts.count(), 1u);
  EXPECT_EQ(*lastBroadcast(), (Dictionary{{"IsEnabled", Value::boolean(false)}}));
  EXPECT_EQ(log.lines().back(), "<VX> VXPrefsLoader.cpp:150 readPrefs prefs posted (update)");
  device.runFor(1.0);
  ASSERT_EQ(broadcasts.count(), 2u);
  EXPECT_EQ(*lastBroadcast(), (Dictionary{{"DisappearInterval", Value::real(1.0)}}));
}

TEST_F(VXPrefsLoaderTest, NoFileBroadcastsAnEmptyDictionaryAndPrintsNothing) {
  readPrefs();
  device.runFor(2.0);
  ASSERT_EQ(broadcasts.count(), 1u);
  EXPECT_EQ(*lastBroadcast(), Dictionary());
  EXPECT_EQ(countContaining(log.lines(), "printing"), 0u);
  EXPECT_EQ(countContaining(log.lines(), "prefs updated..."), 1u);
}

TEST_F(VXPrefsLoaderTest, PrintsTheFileAsReadAndNamesUndefinedKeys) {
  broadcastOf({{"ptoggleX", Value::integer(1)}, {"pOtherOrigin", prefs_test::originValue(1, 2)}});
  EXPECT_EQ(countContaining(log.lines(),
                            "<VX> VXPrefsLoader.cpp:135 readPrefs ERROR! got undefined pref type "
                            "'ptoggleX' value '1'"),
            1u);
  EXPECT_EQ(countContaining(log.lines(), "<VX> key: ptoggleX"), 1u);
  EXPECT_EQ(countContaining(log.lines(), "<VX> printing pOtherOrigin"), 1u);
}

}  // namespace
