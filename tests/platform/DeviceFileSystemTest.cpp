#include "Device/DeviceFileSystem.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "Device/Device.h"
#include "support/ScopedTestDevice.h"

namespace fs = std::filesystem;

namespace {

std::span<const std::uint8_t> bytesOf(std::string_view text) {
  return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

std::string textOf(const std::vector<std::uint8_t>& bytes) {
  return std::string(bytes.begin(), bytes.end());
}

std::vector<std::string> folderListing(const fs::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

class DeviceFileSystemTest : public ::testing::Test {
 protected:
  DeviceFileSystemTest() {
    token_ = device_.device().subscribe([this](const DeviceEvent& event) {
      if (event.name == "file") events_.push_back(event.fields);
    });
  }
  ~DeviceFileSystemTest() override { device_.device().unsubscribe(token_); }

  DeviceFileSystem& files() { return device_.device().fileSystem(); }

  ScopedTestDevice device_;
  std::vector<Foundation::Dictionary> events_;
  int token_ = 0;
};

TEST_F(DeviceFileSystemTest, DevicePathsStayInsideTheRoot) {
  const fs::path root = files().root();
  const struct {
    const char* devicePath;
    const char* underRoot;  // empty: the root itself
  } cases[] = {
      {"/var/mobile/Library/Preferences/com.zel.gyrowhirlprefs.plist",
       "var/mobile/Library/Preferences/com.zel.gyrowhirlprefs.plist"},
      {"var/mobile/x", "var/mobile/x"},
      {"//var///mobile/./x", "var/mobile/x"},
      {"/var/mobile/../root/x", "var/root/x"},
      {"/../../etc/passwd", "etc/passwd"},
      {"/var/../../../../etc/passwd", "etc/passwd"},
      {"/a/b/../../../..", ""},
      {"/", ""},
      {"", ""},
      {"..", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.devicePath);
    const fs::path expected = *c.underRoot ? root / c.underRoot : root;
    EXPECT_EQ(files().hostPath(c.devicePath), expected);
  }
}

TEST_F(DeviceFileSystemTest, WritesReadsAndRemoves) {
  const std::string path = "/var/mobile/Library/Preferences/test.plist";
  EXPECT_FALSE(files().exists(path));
  ASSERT_TRUE(files().writeAtomically(path, bytesOf("first")));
  EXPECT_TRUE(files().exists(path));
  EXPECT_FALSE(files().isDirectory(path));
  EXPECT_TRUE(files().isDirectory("/var/mobile/Library/Preferences"));
  ASSERT_TRUE(files().writeAtomically(path, bytesOf("second, longer")));
  const auto bytes = files().read(path);
  ASSERT_TRUE(bytes);
  EXPECT_EQ(textOf(*bytes), "second, longer");
  EXPECT_TRUE(fs::exists(device_.root() / "var/mobile/Library/Preferences/test.plist"));
  EXPECT_EQ(folderListing(files().hostPath("/var/mobile/Library/Preferences")),
            (std::vector<std::string>{"test.plist"}));

  ASSERT_TRUE(files().writeAtomically("/empty", {}));
  EXPECT_EQ(files().read("/empty"), std::vector<std::uint8_t>{});

  EXPECT_TRUE(files().remove(path));
  EXPECT_FALSE(files().exists(path));
  std::string error;
  EXPECT_FALSE(files().remove(path, &error));
  EXPECT_NE(error.find("test.plist"), std::string::npos) << error;
  EXPECT_FALSE(files().remove("/", &error));
  EXPECT_TRUE(fs::is_directory(files().root()));
}

TEST_F(DeviceFileSystemTest, ReadFailuresNameTheFileAndTheReason) {
  std::string error;
  EXPECT_FALSE(files().read("/var/mobile/Library/Preferences/GyrowhirlPrefs/lock.png", &error));
  EXPECT_EQ(error, "The file “lock.png” couldn’t be opened because there is no such file.");

  ASSERT_TRUE(files().createDirectories("/var/folder"));
  EXPECT_FALSE(files().read("/var/folder", &error));
  EXPECT_NE(error.find("“folder”"), std::string::npos) << error;
  EXPECT_NE(error.find("folder, not a file"), std::string::npos) << error;

  EXPECT_FALSE(files().writeAtomically("/var/folder", bytesOf("x"), &error));
  EXPECT_TRUE(files().isDirectory("/var/folder"));
}

TEST_F(DeviceFileSystemTest, FailedWriteAtAnyStepLeavesTheOldFile) {
  const std::string path = "/var/mobile/Library/Preferences/prefs.plist";
  ASSERT_TRUE(files().writeAtomically(path, bytesOf("old contents")));
  const fs::path folder = files().hostPath("/var/mobile/Library/Preferences");
  events_.clear();

  for (auto step :
       {DeviceFileSystem::WriteStep::CreateTemporary, DeviceFileSystem::WriteStep::WriteBytes,
        DeviceFileSystem::WriteStep::Flush, DeviceFileSystem::WriteStep::Rename}) {
    SCOPED_TRACE(static_cast<int>(step));
    std::vector<DeviceFileSystem::WriteStep> seen;
    files().setFaultInjectorForTesting([&](DeviceFileSystem::WriteStep s, const std::string& p) {
      EXPECT_EQ(p, path);
      seen.push_back(s);
      return s == step;
    });
    std::string error;
    EXPECT_FALSE(files().writeAtomically(path, bytesOf("new contents"), &error));
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(seen.back(), step);  // the steps before it were taken
    EXPECT_EQ(seen.size(), static_cast<std::size_t>(step) + 1);
    EXPECT_EQ(textOf(*files().read(path)), "old contents");
    EXPECT_EQ(folderListing(folder), (std::vector<std::string>{"prefs.plist"}));  // no leftovers
  }
  EXPECT_TRUE(events_.empty());

  files().setFaultInjectorForTesting(nullptr);
  EXPECT_TRUE(files().writeAtomically(path, bytesOf("new contents")));
  EXPECT_EQ(textOf(*files().read(path)), "new contents");
}

TEST_F(DeviceFileSystemTest, SuccessfulChangesAreDeviceEvents) {
  ASSERT_TRUE(files().writeAtomically("/var/mobile/../mobile/a.plist", bytesOf("a")));
  ASSERT_TRUE(files().remove("/var/mobile/a.plist"));
  EXPECT_FALSE(files().remove("/var/mobile/a.plist"));
  const std::vector<Foundation::Dictionary> expected = {
      {{"op", Foundation::Value::string("write")},
       {"path", Foundation::Value::string("/var/mobile/a.plist")}},
      {{"op", Foundation::Value::string("delete")},
       {"path", Foundation::Value::string("/var/mobile/a.plist")}},
  };
  EXPECT_EQ(events_, expected);
}

}  // namespace
