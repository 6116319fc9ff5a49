#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <iterator>
#include <string>

#include "Device/DeviceFileSystem.h"
#include "Foundation/NSNotificationCenterSimulation.h"
#include "Foundation/PropertyList.h"
#include "VXCommon/VXPrefsLoader.h"
#include "support/ForeignLockHolder.h"
#include "support/ScopedTestDevice.h"
#include "tweak/OverlayTestSupport.h"
#include "tweak/PrefsTestSupport.h"

namespace {

using Foundation::Dictionary;
using Foundation::Value;
using prefs_test::countContaining;

constexpr const char* kSaved =
    "<VX> VXPrefsLoader.cpp:54 -[VXPrefsLoader savePrefs:] prefs saved...";
constexpr const char* kNotSaved =
    "<VX> VXPrefsLoader.cpp:52 -[VXPrefsLoader savePrefs:] DIDNT save prefs!!";
constexpr const char* kSavedWithoutLock =
    "<VX> VXPrefsLoader.cpp:51 -[VXPrefsLoader savePrefs:] prefs file locked for over 250 ms, "
    "writing without coordination";

class VXPrefsSaveTest : public ::testing::Test {
 protected:
  void dragEnd(CGPoint origin) {
    NSNotificationCenter::defaultCenter().postNotificationName(VXPrefsLoader::kPanEndNotification,
                                                               Value::point(origin));
  }

  ScopedTestDevice device;
  overlay_test::LogCapture log;
};

// However often the file has been read, the store listens once: one drag end, one save.
TEST_F(VXPrefsSaveTest, OneSavePerDragEndAfterManyReads) {
  ASSERT_TRUE(prefs_test::writePrefsFile({{"pToggleIsEnabled", Value::boolean(true)}}));
  for (int read = 0; read < 3; ++read) readPrefs();
  log.clear();
  dragEnd({10, 20});
  EXPECT_EQ(countContaining(log.lines(), kSaved), 1u);
  EXPECT_EQ(NSNotificationCenterSimulation::registrationCountForTesting(
                NSNotificationCenter::defaultCenter(), VXPrefsLoader::sharedInstance().get()),
            1u);
}

// Without a file the first placement is not lost: the file is created with just the origin.
TEST_F(VXPrefsSaveTest, DragEndWithoutFileCreatesIt) {
  readPrefs();
  log.clear();
  dragEnd({10.5, 20.25});
  EXPECT_EQ(prefs_test::readPrefsFile(),
            (Dictionary{{VXPrefsLoader::kOriginKey, prefs_test::originValue(10.5, 20.25)}}));
  EXPECT_EQ(log.lines(), (std::vector<std::string>{kSaved, "<VX> printing prefDict", "<VX> {",
                                                   "<VX> printing pOtherOrigin", "<VX> {",
                                                   "<VX> key: x", "<VX> value: 10.5", "<VX> key: y",
                                                   "<VX> value: 20.25", "<VX> }", "<VX> }"}));
}

TEST_F(VXPrefsSaveTest, SaveKeepsEveryOtherEntryAndItsOrder) {
  const Dictionary before{{"pToggleIsEnabled", Value::boolean(false)},
                          {VXPrefsLoader::kOriginKey, prefs_test::originValue(1, 2)},
                          {"pMultipleChoiceBlacklistedApps", Value::array({Value::string("a")})}};
  ASSERT_TRUE(prefs_test::writePrefsFile(before));
  readPrefs();
  dragEnd({30, 40});
  dragEnd({50, 60});
  Dictionary expected = before;
  expected.set(VXPrefsLoader::kOriginKey, prefs_test::originValue(50, 60));
  EXPECT_EQ(prefs_test::readPrefsFile(), expected);
}

TEST_F(VXPrefsSaveTest, FailedWriteLogsAndLeavesTheFileAlone) {
  const Dictionary before{{"pSliderDisappearInterval", Value::real(4)}};
  ASSERT_TRUE(prefs_test::writePrefsFile(before));
  readPrefs();
  device.device().fileSystem().setFaultInjectorForTesting(
      [](DeviceFileSystem::WriteStep step, const std::string&) {
        return step == DeviceFileSystem::WriteStep::Rename;
      });
  log.clear();
  dragEnd({30, 40});
  device.device().fileSystem().setFaultInjectorForTesting({});
  EXPECT_EQ(log.lines(), std::vector<std::string>{kNotSaved});
  EXPECT_EQ(prefs_test::readPrefsFile(), before);
}

// A file that exists but holds no dictionary may be something the user still needs: it is
// not replaced. A notification without a point saves nothing either.
TEST_F(VXPrefsSaveTest, UnreadableFileOrMissingPointSavesNothing) {
  const std::uint8_t garbage[] = {'n', 'o', 't', ' ', 'a', ' ', 'p', 'l', 'i', 's', 't'};
  ASSERT_TRUE(device.device().fileSystem().writeAtomically(VXPrefsLoader::kPrefsPath, garbage));
  readPrefs();
  log.clear();
  dragEnd({1, 2});
  EXPECT_EQ(device.device().fileSystem().read(VXPrefsLoader::kPrefsPath)->size(), sizeof garbage);

  ASSERT_TRUE(prefs_test::writePrefsFile({}));
  NSNotificationCenter::defaultCenter().postNotificationName(VXPrefsLoader::kPanEndNotification);
  EXPECT_EQ(prefs_test::readPrefsFile(), Dictionary());
  EXPECT_EQ(log.lines(), (std::vector<std::string>{kNotSaved, kNotSaved}));
}

// Written at full double precision, read back through single precision.
TEST_F(VXPrefsSaveTest, PositionRoundTripsThroughSinglePrecision) {
  overlay_test::NotificationRecorder broadcasts(VXPrefsLoader::kPrefsUpdatedNotification);
  readPrefs();
  dragEnd({123.456, 7.1});
  EXPECT_EQ(prefs_test::readPrefsFile(),
            (Dictionary{{VXPrefsLoader::kOriginKey, prefs_test::originValue(123.456, 7.1)}}));
  readPrefs();
  device.runFor(2.0);
  ASSERT_EQ(broadcasts.count(), 2u);  // the read's immediate post, then the first read's
  EXPECT_EQ(broadcasts.objects()[0].dictionaryValue()->valueForKey("Origin"),
            Value::point({123.45600128173828, 7.0999999046325684}));
}

// Entries the store does not own come back exactly as they were: dates far from 2001 (once
// rewritten as 1932-12-13) in XML and binary files.
TEST_F(VXPrefsSaveTest, SaveCarriesForeignDatesThroughExactly) {
  const Dictionary before{{"pToggleIsEnabled", Value::boolean(true)},
                          {"installed", Value::date({-6342969600.0})},  // 1800-01-01
                          {"expires", Value::date({3124137600.0})},     // 2100-01-01
                          {"far", Value::date({63082281600.0})}};       // 4000-01-01
  const std::string xml = Foundation::PropertyList::toXML(Value::dictionary(before));
  const struct {
    const char* name;
    Foundation::Data bytes;
  } files[] = {
      {"XML", Foundation::Data(xml.begin(), xml.end())},
      {"binary", Foundation::PropertyList::toBinary(Value::dictionary(before))},
  };
  for (const auto& file : files) {
    SCOPED_TRACE(file.name);
    ASSERT_TRUE(
        device.device().fileSystem().writeAtomically(VXPrefsLoader::kPrefsPath, file.bytes));
    readPrefs();
    log.clear();
    dragEnd({30, 40});
    EXPECT_EQ(countContaining(log.lines(), kSaved), 1u);
    Dictionary expected = before;
    expected.set(VXPrefsLoader::kOriginKey, prefs_test::originValue(30, 40));
    EXPECT_EQ(prefs_test::readPrefsFile(), expected);
  }
}

// What the file's form cannot hold again exactly is never changed: the save refuses, logs,
// and leaves the file's bytes as they were.
TEST_F(VXPrefsSaveTest, SaveRefusesWhatItCannotWriteBackExactly) {
  const auto bytesOf = [](std::string_view text) {
    return Foundation::Data(text.begin(), text.end());
  };
  // A string holding a NUL in a binary file: libplist would read it cut at the NUL.
  Foundation::Data nulString = Foundation::PropertyList::toBinary(Value::dictionary(
      {{"pToggleIsEnabled", Value::boolean(true)}, {"note", Value::string("a#b")}}));
  const auto marker =
      std::search(nulString.begin(), nulString.end(), std::begin("a#b"), std::end("a#b") - 1);
  ASSERT_NE(marker, nulString.end());
  marker[1] = 0;
  std::string rawNul = "<plist><dict><key>note</key><string>a";
  rawNul += '\0';
  rawNul += "b</string></dict></plist>";
  const struct {
    const char* name;
    Foundation::Data bytes;
  } files[] = {
      {"binary string holding NUL", nulString},
      {"XML string holding NUL", bytesOf(rawNul)},
      // XML keeps whole seconds: a binary date with a fraction cannot be written as it is.
      {"binary date with a fraction", Foundation::PropertyList::toBinary(Value::dictionary(
                                          {{"when", Value::date({-6342969600.25})}}))},
  };
  for (const auto& file : files) {
    SCOPED_TRACE(file.name);
    ASSERT_TRUE(
        device.device().fileSystem().writeAtomically(VXPrefsLoader::kPrefsPath, file.bytes));
    readPrefs();
    log.clear();
    dragEnd({30, 40});
    EXPECT_EQ(log.lines(), std::vector<std::string>{kNotSaved});
    EXPECT_EQ(device.device().fileSystem().read(VXPrefsLoader::kPrefsPath), file.bytes);
  }
}

// The save rewrites the file while holding the cross-process lock that the settings pane
// takes too: probed from inside the write, the lock file is held.
TEST_F(VXPrefsSaveTest, SaveWritesUnderTheFileCoordination) {
  ASSERT_TRUE(prefs_test::writePrefsFile({}));
  readPrefs();
  const std::filesystem::path target =
      device.device().fileSystem().hostPath(VXPrefsLoader::kPrefsPath);
  const std::filesystem::path lockFile =
      target.parent_path() / ("." + target.filename().string() + ".lock");
  int probes = 0, heldDuringWrite = 0;
  device.device().fileSystem().setFaultInjectorForTesting(
      [&](DeviceFileSystem::WriteStep step, const std::string&) {
        if (step != DeviceFileSystem::WriteStep::Rename) return false;
        ++probes;
        const int fd = ::open(lockFile.c_str(), O_RDWR | O_CLOEXEC);
        if (fd >= 0 && ::flock(fd, LOCK_EX | LOCK_NB) != 0) ++heldDuringWrite;
        if (fd >= 0) ::close(fd);
        return false;
      });
  dragEnd({5, 6});
  device.device().fileSystem().setFaultInjectorForTesting({});
  EXPECT_EQ(probes, 1);
  EXPECT_EQ(heldDuringWrite, 1);
  EXPECT_EQ(countContaining(log.lines(), kSaved), 1u);
}

// A writer in another process that took the lock and stalled must not freeze the home
// screen: the save gives up waiting after the bound, logs so, and still writes the position
// atomically, keeping the other entries. An unreadable file is still left alone then. (The
// ceiling only catches a wait without end.)
TEST_F(VXPrefsSaveTest, StalledLockHolderDelaysTheSaveOnlyByTheBound) {
  using namespace std::chrono_literals;
  const Dictionary before{{"pToggleIsEnabled", Value::boolean(true)}};
  const std::string text = "not a plist";
  const Foundation::Data garbage(text.begin(), text.end());
  const struct {
    const char* name;
    std::optional<Foundation::Data> file;  // nullopt: `before`, as a property list
    const char* outcome;
  } cases[] = {
      {"readable file", std::nullopt, kSaved},
      {"unreadable file", garbage, kNotSaved},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_TRUE(
        c.file ? device.device().fileSystem().writeAtomically(VXPrefsLoader::kPrefsPath, *c.file)
               : prefs_test::writePrefsFile(before));
    readPrefs();
    test_support::ForeignLockHolder holder(
        device.device().fileSystem().hostPath(VXPrefsLoader::kPrefsPath));
    ASSERT_TRUE(holder.holding());
    log.clear();
    const auto start = std::chrono::steady_clock::now();
    dragEnd({30, 40});
    const auto waited = std::chrono::steady_clock::now() - start;
    EXPECT_GE(waited, VXPrefsLoader::kSaveLockWait);
    EXPECT_LT(waited, 3s);
    ASSERT_GE(log.lines().size(), 2u);
    EXPECT_EQ(log.lines()[0], kSavedWithoutLock);
    EXPECT_EQ(log.lines()[1], c.outcome);
    if (c.file) {
      EXPECT_EQ(device.device().fileSystem().read(VXPrefsLoader::kPrefsPath), c.file);
    } else {
      Dictionary expected = before;
      expected.set(VXPrefsLoader::kOriginKey, prefs_test::originValue(30, 40));
      EXPECT_EQ(prefs_test::readPrefsFile(), expected);
    }
  }
}

}  // namespace
