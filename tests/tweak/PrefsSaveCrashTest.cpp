// The drag-end save dying in the middle of replacing the preferences file: the file is then
// the one from before the save, complete, or (once replaced) the saved one; never partial or
// missing. The next read broadcasts one of the two, and the next save succeeds.
#include <gtest/gtest.h>

#include "Device/DeviceFileSystem.h"
#include "VXCommon/VXPrefsLoader.h"
#include "support/DyingWriter.h"
#include "support/RealisticPreferences.h"
#include "support/ScopedTestDevice.h"
#include "tweak/OverlayTestSupport.h"
#include "tweak/PrefsTestSupport.h"

namespace {

using Foundation::Dictionary;
using Foundation::Value;

void dragEnd(CGPoint origin) {
  NSNotificationCenter::defaultCenter().postNotificationName(VXPrefsLoader::kPanEndNotification,
                                                             Value::point(origin));
}

TEST(PrefsSaveCrashTest, ASaveDyingAtAnyStepLeavesTheOldFileOrTheSavedOne) {
  ScopedTestDevice device;
  overlay_test::NotificationRecorder broadcasts{VXPrefsLoader::kPrefsUpdatedNotification};
  readPrefs();  // the store listens for drag ends from its first read on
  device.runFor(2.0);
  const Dictionary before = test_support::realisticPreferences(200);
  for (const test_support::DeathPoint& point : test_support::kDeathPoints) {
    SCOPED_TRACE(point.name);
    ASSERT_TRUE(prefs_test::writePrefsFile(before));
    const int status = test_support::runInChildProcess([&] {
      test_support::dieDuringNextWrite(device.device(), point.step);
      dragEnd({33.25, 44.5});
    });
    ASSERT_EQ(status, test_support::kWriterDiedStatus);

    Dictionary saved = before;
    saved.set(VXPrefsLoader::kOriginKey, prefs_test::originValue(33.25, 44.5));
    EXPECT_EQ(prefs_test::readPrefsFile(), point.newFileInPlace ? saved : before);
    readPrefs();
    const Dictionary* broadcast = broadcasts.objects().back().dictionaryValue();
    ASSERT_NE(broadcast, nullptr);
    EXPECT_EQ(
        broadcast->valueForKey("Origin"),
        Value::point(point.newFileInPlace ? CGPointMake(33.25, 44.5) : CGPointMake(150.0, 420.5)));
    EXPECT_EQ(broadcast->size(), 8u);

    dragEnd({1.5, 2.5});
    saved.set(VXPrefsLoader::kOriginKey, prefs_test::originValue(1.5, 2.5));
    EXPECT_EQ(prefs_test::readPrefsFile(), saved);
  }
}

}  // namespace
