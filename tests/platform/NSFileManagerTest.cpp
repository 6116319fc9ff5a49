#include "Foundation/NSFileManager.h"

#include <gtest/gtest.h>

#include <string>

#include "Device/DeviceFileSystem.h"
#include "Foundation/PropertyList.h"
#include "support/ScopedTestDevice.h"

using Foundation::Dictionary;
using Foundation::Value;

namespace {

constexpr const char* kPrefsPath = "/var/mobile/Library/Preferences/com.zel.gyrowhirlprefs.plist";

class NSFileManagerTest : public ::testing::Test {
 protected:
  DeviceFileSystem& files() { return device_.device().fileSystem(); }
  void writeRaw(std::string_view path, std::string_view text) {
    ASSERT_TRUE(files().writeAtomically(
        path, {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()}));
  }
  ScopedTestDevice device_;
};

TEST_F(NSFileManagerTest, DictionaryWrittenAsXMLReadsBack) {
  const Dictionary prefs{{"IsEnabled-BOOL", Value::boolean(true)},
                         {"DisappearInterval-INT", Value::integer(5)},
                         {"BlacklistedApps-ARRAY", Value::array({Value::string("com.a.b")})}};
  ASSERT_TRUE(NSDictionary::writeToFile(prefs, kPrefsPath, false));
  const auto raw = files().read(kPrefsPath);
  ASSERT_TRUE(raw);
  EXPECT_EQ(std::string(raw->begin(), raw->begin() + 5), "<?xml");
  EXPECT_EQ(NSDictionary::dictionaryWithContentsOfFile(kPrefsPath), prefs);
}

TEST_F(NSFileManagerTest, BinaryPreferenceFilesAreRead) {
  const Dictionary prefs{{"ButtonSize-INT", Value::integer(-2)}, {"A", Value::real(0.5)}};
  const Foundation::Data binary = Foundation::PropertyList::toBinary(Value::dictionary(prefs));
  ASSERT_TRUE(files().writeAtomically(kPrefsPath, binary));
  EXPECT_EQ(NSDictionary::dictionaryWithContentsOfFile(kPrefsPath), prefs);
}

TEST_F(NSFileManagerTest, UnusableFilesGiveNoDictionary) {
  EXPECT_FALSE(NSDictionary::dictionaryWithContentsOfFile(kPrefsPath));  // missing
  writeRaw(kPrefsPath, "garbage");
  EXPECT_FALSE(NSDictionary::dictionaryWithContentsOfFile(kPrefsPath));
  writeRaw(kPrefsPath, "<plist version=\"1.0\"><array/></plist>");
  EXPECT_FALSE(NSDictionary::dictionaryWithContentsOfFile(kPrefsPath));
  ASSERT_TRUE(NSFileManager::defaultManager().createDirectoryAtPath("/var/dir.plist"));
  EXPECT_FALSE(NSDictionary::dictionaryWithContentsOfFile("/var/dir.plist"));
}

TEST_F(NSFileManagerTest, FailedWriteReportsFailureAndKeepsTheOldFile) {
  const Dictionary old{{"k", Value::integer(1)}};
  ASSERT_TRUE(NSDictionary::writeToFile(old, kPrefsPath, true));
  Value deep = Value::integer(0);
  for (int i = 0; i < Foundation::PropertyList::kMaxNestingDepth + 1; ++i) {
    deep = Value::array({deep});
  }
  EXPECT_FALSE(NSDictionary::writeToFile(Dictionary{{"deep", deep}}, kPrefsPath, true));
  files().setFaultInjectorForTesting([](DeviceFileSystem::WriteStep step, const std::string&) {
    return step == DeviceFileSystem::WriteStep::Rename;
  });
  EXPECT_FALSE(NSDictionary::writeToFile(Dictionary{{"k", Value::integer(2)}}, kPrefsPath, true));
  files().setFaultInjectorForTesting(nullptr);
  EXPECT_EQ(NSDictionary::dictionaryWithContentsOfFile(kPrefsPath), old);
}

TEST_F(NSFileManagerTest, FileManagerAndDataWorkOnTheCurrentDevice) {
  NSFileManager& manager = NSFileManager::defaultManager();
  const std::string image = "/var/mobile/Library/Preferences/GyrowhirlPrefs/lock.png";
  std::string error;
  EXPECT_FALSE(manager.fileExistsAtPath(image));
  EXPECT_FALSE(NSData::dataWithContentsOfFile(image, NSDataReadingMappedIfSafe, &error));
  EXPECT_EQ(error, "The file “lock.png” couldn’t be opened because there is no such file.");

  writeRaw(image, std::string("\x89PNG\0", 5));
  EXPECT_TRUE(manager.fileExistsAtPath(image));
  const auto data = NSData::dataWithContentsOfFile(image, NSDataReadingMappedIfSafe, &error);
  ASSERT_TRUE(data);
  EXPECT_EQ(data->size(), 5u);
  EXPECT_TRUE(manager.removeItemAtPath(image));
  EXPECT_FALSE(manager.fileExistsAtPath(image));
  EXPECT_FALSE(manager.removeItemAtPath(image, &error));
  EXPECT_FALSE(error.empty());
}

}  // namespace
