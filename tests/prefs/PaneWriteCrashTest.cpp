// The settings pane's value write dying in the middle of replacing the preferences file: the
// file is then the one from before, complete, or (once replaced) the one with the new value;
// never partial or missing. The page then shows what the file holds, and the next write works.
#include <gtest/gtest.h>

#include "PaneTestSupport.h"
#include "support/DyingWriter.h"

namespace {

using Foundation::Dictionary;
using Foundation::Value;
using prefs_test::kPrefsPath;

class PaneWriteCrashTest : public prefs_test::PaneTest {};

TEST_F(PaneWriteCrashTest, AValueWriteDyingAtAnyStepLeavesTheOldFileOrTheNewOne) {
  installRootList({{"pToggleIsEnabled", 1}, {"pSliderDisappearInterval", -1, "PSSliderCell"}});
  const Dictionary before{
      {"pToggleIsEnabled", Value::boolean(true)},
      {"pSliderDisappearInterval", Value::real(2.0)},
      {"pOtherOrigin", Value::dictionary({{"x", Value::real(10)}, {"y", Value::real(20)}})}};
  for (const test_support::DeathPoint& point : test_support::kDeathPoints) {
    SCOPED_TRACE(point.name);
    writePrefs(before);
    auto controller = makeController();
    ASSERT_EQ(shownKeys(*controller),
              (std::vector<std::string>{"pToggleIsEnabled", "pSliderDisappearInterval"}));
    const auto slider = controller->specifiers()[1];
    const int status = test_support::runInChildProcess([&] {
      test_support::dieDuringNextWrite(device(), point.step);
      controller->setPreferenceValue(Value::real(7.5), slider);
    });
    ASSERT_EQ(status, test_support::kWriterDiedStatus);

    Dictionary after = before;
    after.set("pSliderDisappearInterval", Value::real(7.5));
    EXPECT_EQ(readPrefs(), point.newFileInPlace ? after : before);
    EXPECT_EQ(shownValue(*controller, "pSliderDisappearInterval"),
              Value::real(point.newFileInPlace ? 7.5 : 2.0));

    controller->setPreferenceValue(Value::real(3.0), slider);
    after.set("pSliderDisappearInterval", Value::real(3.0));
    EXPECT_EQ(readPrefs(), after);
  }
}

}  // namespace
