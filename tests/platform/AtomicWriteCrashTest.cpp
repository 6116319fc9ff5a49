// Crash consistency of the preferences file: a writer that dies in the middle of replacing it
// (a real OS process ending at once, with no clean-up, rather than a write reporting failure)
// leaves the old file or the new one, complete, never a partial file and never none; a writer
// killed at an arbitrary moment of a stream of writes does the same; a writer that dies while
// it holds the cross-process coordination does not block the next writer; the temporary file a
// dead writer leaves behind is removed by the next write.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <optional>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "Device/Device.h"
#include "Device/DeviceFileSystem.h"
#include "Foundation/NSFileManager.h"
#include "support/DyingWriter.h"
#include "support/ScopedTestDevice.h"

namespace {

using Foundation::Dictionary;
using Foundation::Value;

constexpr const char* kPrefsPath = "/var/mobile/Library/Preferences/com.zel.gyrowhirlprefs.plist";

// A version of the preferences file large enough that writing it takes many system calls.
Dictionary version(int number) {
  Dictionary dict{{"version", Value::integer(number)}};
  Foundation::Array apps;
  for (int i = 0; i < 2000; ++i) {
    apps.push_back(
        Value::string("com.vendor.v" + std::to_string(number) + ".app" + std::to_string(i)));
  }
  dict.set("pMultipleChoiceBlacklistedApps", Value::array(std::move(apps)));
  dict.set("pSliderDisappearInterval", Value::real(number + 0.5));
  return dict;
}

// The names beside the preferences file other than the file itself.
std::vector<std::string> leftovers(const DeviceFileSystem& files) {
  std::vector<std::string> names;
  for (const auto& entry :
       std::filesystem::directory_iterator(files.hostPath("/var/mobile/Library/Preferences"))) {
    const std::string name = entry.path().filename().string();
    if (name != "com.zel.gyrowhirlprefs.plist") names.push_back(name);
  }
  return names;
}

std::optional<Dictionary> readPrefsFile() {
  return NSDictionary::dictionaryWithContentsOfFile(kPrefsPath);
}

class AtomicWriteCrashTest : public ::testing::Test {
 protected:
  DeviceFileSystem& files() { return device_.device().fileSystem(); }
  ScopedTestDevice device_;
};

TEST_F(AtomicWriteCrashTest, AWriterDyingAtAnyStepLeavesTheOldFileOrTheNew) {
  int number = 0;
  for (const test_support::DeathPoint& point : test_support::kDeathPoints) {
    SCOPED_TRACE(point.name);
    const Dictionary oldFile = version(++number);
    const Dictionary newFile = version(++number);
    ASSERT_TRUE(NSDictionary::writeToFile(oldFile, kPrefsPath, true));

    const int status = test_support::runInChildProcess([&] {
      test_support::dieDuringNextWrite(device_.device(), point.step);
      NSDictionary::writeToFile(newFile, kPrefsPath, true);
    });
    ASSERT_EQ(status, test_support::kWriterDiedStatus)
        << "the writer did not die where it was meant to";

    const std::optional<Dictionary> seen = readPrefsFile();
    ASSERT_TRUE(seen) << "the file is missing or unreadable";
    EXPECT_EQ(*seen, point.newFileInPlace ? newFile : oldFile);

    // Whatever the dead writer left beside the file does not stop the next write.
    const Dictionary next = version(++number);
    ASSERT_TRUE(NSDictionary::writeToFile(next, kPrefsPath, true));
    EXPECT_EQ(readPrefsFile(), next);
    EXPECT_EQ(leftovers(files()), std::vector<std::string>{});
  }
}

TEST_F(AtomicWriteCrashTest, AWriterKilledAtRandomMomentsNeverLeavesAPartialFile) {
  constexpr int kKills = 25;
  constexpr int kVersions = 6;
  std::vector<Dictionary> versions;
  for (int i = 0; i < kVersions; ++i) versions.push_back(version(i));
  ASSERT_TRUE(NSDictionary::writeToFile(versions[0], kPrefsPath, true));

  std::mt19937 random(20240607);
  std::uniform_int_distribution<int> delayMicroseconds(0, 30000);
  for (int kill = 0; kill < kKills; ++kill) {
    SCOPED_TRACE(kill);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      for (int i = 0;; i = (i + 1) % kVersions) {
        NSDictionary::writeToFile(versions[static_cast<std::size_t>(i)], kPrefsPath, true);
      }
    }
    // How far the child gets is up to the scheduler; only the outcome is checked.
    std::this_thread::sleep_for(std::chrono::microseconds(delayMicroseconds(random)));
    ::kill(child, SIGKILL);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);

    const std::optional<Dictionary> seen = readPrefsFile();
    ASSERT_TRUE(seen) << "the file is missing or unreadable";
    const std::int64_t number = seen->valueForKey("version").longLongValue();
    ASSERT_GE(number, 0);
    ASSERT_LT(number, kVersions);
    EXPECT_EQ(*seen, versions[static_cast<std::size_t>(number)]) << "a mix of two versions";
  }
  ASSERT_TRUE(NSDictionary::writeToFile(versions[0], kPrefsPath, true));
  EXPECT_EQ(leftovers(files()), std::vector<std::string>{});
}

TEST_F(AtomicWriteCrashTest, AWriterDyingInsideTheCoordinationReleasesIt) {
  ASSERT_TRUE(NSDictionary::writeToFile(version(1), kPrefsPath, true));
  const int status = test_support::runInChildProcess([] {
    NSFileCoordinator::coordinateWritingItemAtPath(kPrefsPath, [] {
      NSDictionary::writeToFile(version(2), kPrefsPath, true);
      ::_exit(test_support::kWriterDiedStatus);
    });
  });
  ASSERT_EQ(status, test_support::kWriterDiedStatus);

  // The next coordinated writer gets the file at once (the test would hang otherwise).
  bool ran = false;
  EXPECT_TRUE(NSFileCoordinator::coordinateWritingItemAtPath(kPrefsPath, [&] {
    ran = true;
    EXPECT_EQ(readPrefsFile(), version(2));
  }));
  EXPECT_TRUE(ran);
}

}  // namespace
