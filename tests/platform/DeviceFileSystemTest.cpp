#include "Device/DeviceFileSystem.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "Device/BeneathRoot.h"
#include "Device/Device.h"
#include "Device/TemporaryFileName.h"
#include "Foundation/NSFileManager.h"
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
  std::vector<EventFields> events_;
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
  const std::vector<EventFields> expected = {
      {{"op", EventValue::string("write")}, {"path", EventValue::string("/var/mobile/a.plist")}},
      {{"op", EventValue::string("delete")}, {"path", EventValue::string("/var/mobile/a.plist")}},
  };
  EXPECT_EQ(events_, expected);
}

// A file of `size` bytes that takes no room on disk.
void makeSparseFile(const fs::path& file, off_t size) {
  const int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  ASSERT_GE(fd, 0);
  EXPECT_EQ(::ftruncate(fd, size), 0);
  ::close(fd);
}

TEST_F(DeviceFileSystemTest, ReadsTakeOnlyRegularFilesWithinTheLimit) {
  constexpr auto kLimit = static_cast<off_t>(DeviceFileSystem::kMaxReadBytes);
  const fs::path folder = device_.root() / "var/mobile";
  fs::create_directories(folder);
  const struct {
    const char* name;
    std::function<void(const fs::path&)> make;
    int errorNumber;  // 0: read
  } cases[] = {
      {"at the limit", [](const fs::path& f) { makeSparseFile(f, kLimit); }, 0},
      {"one byte over", [](const fs::path& f) { makeSparseFile(f, kLimit + 1); }, EFBIG},
      {"100 GB sparse", [](const fs::path& f) { makeSparseFile(f, off_t{100} << 30); }, EFBIG},
      {"a FIFO without a writer",
       [](const fs::path& f) { ASSERT_EQ(::mkfifo(f.c_str(), 0644), 0); }, EINVAL},
      {"a folder", [](const fs::path& f) { fs::create_directory(f); }, EISDIR},
      {"a link to /dev/zero", [](const fs::path& f) { fs::create_symlink("/dev/zero", f); }, EXDEV},
      {"a link to a file outside",
       [](const fs::path& f) { fs::create_symlink("/etc/hostname", f); }, EXDEV},
  };
  int number = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string name = "file" + std::to_string(++number);
    c.make(folder / name);
    std::string error;
    int errorNumber = 0;
    const auto bytes = files().read("/var/mobile/" + name, &error, &errorNumber);
    if (c.errorNumber == 0) {
      ASSERT_TRUE(bytes) << error;
      EXPECT_EQ(bytes->size(), DeviceFileSystem::kMaxReadBytes);
      continue;
    }
    EXPECT_FALSE(bytes);
    // The kernel's resolution answers EXDEV for a link out of the root, the walk ELOOP.
    if (c.errorNumber == EXDEV) {
      EXPECT_TRUE(errorNumber == EXDEV || errorNumber == ELOOP) << errorNumber;
    } else {
      EXPECT_EQ(errorNumber, c.errorNumber);
    }
    EXPECT_NE(error.find("“" + name + "”"), std::string::npos) << error;
  }
}

// A folder of the device that is a link to a folder outside the root: nothing the device does
// may reach into that folder or change it.
class LinkOutOfTheRootTest : public DeviceFileSystemTest {
 protected:
  LinkOutOfTheRootTest() {
    std::string pattern = (fs::temp_directory_path() / "gyrowhirl-outside-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) std::abort();
    outside_ = pattern;
    std::ofstream(outside_ / "secret.plist") << "outside";
    fs::create_directories(outside_ / "GyrowhirlPrefs");
    std::ofstream(outside_ / "GyrowhirlPrefs" / "lock.png") << "outside";
    fs::create_directories(device_.root() / "var/mobile/Library");
  }
  ~LinkOutOfTheRootTest() override {
    std::error_code ec;
    fs::remove_all(outside_, ec);
  }

  // Every entry below the outside folder with its contents.
  std::vector<std::string> outsideState() const {
    std::vector<std::string> state;
    for (const auto& entry : fs::recursive_directory_iterator(outside_)) {
      std::string line = entry.path().lexically_relative(outside_).string();
      if (entry.is_regular_file()) {
        std::ifstream in(entry.path());
        line += "=" + std::string(std::istreambuf_iterator<char>(in), {});
      }
      state.push_back(line);
    }
    std::sort(state.begin(), state.end());
    return state;
  }

  fs::path outside_;
};

TEST_F(LinkOutOfTheRootTest, NoOperationReachesThroughTheLink) {
  fs::create_symlink(outside_, device_.root() / "var/mobile/Library/Preferences");
  const std::vector<std::string> before = outsideState();
  const std::string folder = "/var/mobile/Library/Preferences";
  const struct {
    const char* name;
    std::function<bool()> operation;  // true: the operation reports success
  } cases[] = {
      {"write", [&] { return files().writeAtomically(folder + "/new.plist", bytesOf("x")); }},
      {"overwrite",
       [&] { return files().writeAtomically(folder + "/secret.plist", bytesOf("x")); }},
      {"read", [&] { return files().read(folder + "/secret.plist").has_value(); }},
      {"exists", [&] { return files().exists(folder + "/secret.plist"); }},
      {"is a folder", [&] { return files().isDirectory(folder + "/GyrowhirlPrefs"); }},
      {"remove a file", [&] { return files().remove(folder + "/secret.plist"); }},
      {"remove a folder", [&] { return files().remove(folder + "/GyrowhirlPrefs"); }},
      {"create a folder", [&] { return files().createDirectories(folder + "/made/here"); }},
      {"lock file",
       [&] {
         return NSFileCoordinator::coordinateWritingItemAtPath(folder + "/secret.plist", [] {});
       }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_FALSE(c.operation());
    EXPECT_EQ(outsideState(), before);
  }
  // Removing the link takes the link away, not the folder it points to.
  EXPECT_TRUE(files().remove(folder));
  EXPECT_FALSE(fs::exists(fs::symlink_status(device_.root() / "var/mobile/Library/Preferences")));
  EXPECT_EQ(outsideState(), before);
}

TEST_F(LinkOutOfTheRootTest, RemovingAFolderRemovesTheLinksInItNotTheirTargets) {
  const fs::path images = device_.root() / "var/mobile/Library/Preferences/GyrowhirlPrefs";
  fs::create_directories(images / "inner");
  fs::create_symlink(outside_, images / "escape");
  fs::create_symlink(outside_ / "GyrowhirlPrefs", images / "inner" / "escape");
  fs::create_symlink(outside_ / "secret.plist", images / "lock.png");
  const std::vector<std::string> before = outsideState();

  EXPECT_TRUE(files().remove("/var/mobile/Library/Preferences/GyrowhirlPrefs"));
  EXPECT_FALSE(fs::exists(fs::symlink_status(images)));
  EXPECT_EQ(outsideState(), before);
}

// The component walk, used where the kernel cannot resolve beneath a folder itself, holds the
// same line as the kernel's resolution.
TEST_F(LinkOutOfTheRootTest, BothResolutionsStopAtALinkOut) {
  const fs::path root = device_.root();
  fs::create_symlink(outside_, root / "var/mobile/Library/Preferences");
  fs::create_symlink("/dev/zero", root / "var/mobile/zero");
  fs::create_symlink("../../..", root / "var/mobile/up");
  std::ofstream(root / "var/mobile/inside.plist") << "inside";
  const int rootFd = ::open(root.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
  ASSERT_GE(rootFd, 0);
  const struct {
    const char* path;
    int flags;
    bool opens;
  } cases[] = {
      {"var/mobile/inside.plist", O_RDONLY, true},
      {"var/mobile", O_PATH | O_DIRECTORY, true},
      {"", O_PATH | O_DIRECTORY, true},
      {"var/mobile/Library/Preferences/secret.plist", O_RDONLY, false},
      {"var/mobile/Library/Preferences", O_PATH, false},
      {"var/mobile/Library/Preferences/new.plist", O_WRONLY | O_CREAT, false},
      {"var/mobile/zero", O_RDONLY, false},
      {"var/mobile/up/etc/hostname", O_RDONLY, false},
      {"var/mobile/up", O_PATH, false},
  };
  for (auto resolution :
       {beneath_root::Resolution::Automatic, beneath_root::Resolution::ComponentWalk}) {
    for (const auto& c : cases) {
      SCOPED_TRACE(std::string(c.path) + (resolution == beneath_root::Resolution::Automatic
                                              ? " (automatic)"
                                              : " (walk)"));
      const int fd = beneath_root::open(rootFd, c.path, c.flags, 0644, resolution);
      EXPECT_EQ(fd >= 0, c.opens) << std::strerror(errno);
      if (fd >= 0) ::close(fd);
    }
    const int made =
        beneath_root::openFolderCreating(rootFd, "var/mobile/Library/Preferences/made", resolution);
    EXPECT_LT(made, 0);
    if (made >= 0) ::close(made);
  }
  ::close(rootFd);
  EXPECT_FALSE(fs::exists(outside_ / "new.plist"));
  EXPECT_FALSE(fs::exists(outside_ / "made"));
}

TEST(TemporaryFileNameTest, OnlyTheTargetsOwnTemporaryFilesNameAWriter) {
  const struct {
    const char* entry;
    std::optional<pid_t> writer;
  } cases[] = {
      {".prefs.plist.4242.aZ09xy", 4242},
      {".prefs.plist.1.abcdef", 1},
      {"prefs.plist", std::nullopt},
      {".prefs.plist.lock", std::nullopt},
      {".prefs.plist.aZ09xy", std::nullopt},      // no writer: the name of an older writer
      {".prefs.plist.4242.aZ09x", std::nullopt},  // suffix one short
      {".prefs.plist.4242.aZ09xyz", std::nullopt},
      {".prefs.plist.4242.aZ-9xy", std::nullopt},
      {".prefs.plist..aZ09xy", std::nullopt},
      {".prefs.plist.0.aZ09xy", std::nullopt},
      {".prefs.plist.-1.aZ09xy", std::nullopt},
      {".prefs.plist.99999999999999999999.aZ09xy", std::nullopt},
      {".other.plist.4242.aZ09xy", std::nullopt},
      {".prefs.plist.old.4242.aZ09xy", std::nullopt},
      {".prefs.plistX4242.aZ09xy", std::nullopt},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.entry);
    EXPECT_EQ(temporary_file_name::writerOf(c.entry, "prefs.plist"), c.writer);
  }
  EXPECT_EQ(temporary_file_name::writerOf(temporary_file_name::make("prefs.plist", 77, "q1w2e3"),
                                          "prefs.plist"),
            77);
}

TEST_F(DeviceFileSystemTest, AWriteRemovesTheTemporaryFilesOfDeadWritersOnly) {
  const pid_t dead = ::fork();
  if (dead == 0) ::_exit(0);
  ASSERT_GT(dead, 0);
  ASSERT_EQ(::waitpid(dead, nullptr, 0), dead);

  const std::string path = "/var/mobile/Library/Preferences/prefs.plist";
  ASSERT_TRUE(files().writeAtomically(path, bytesOf("old")));
  const fs::path folder = files().hostPath("/var/mobile/Library/Preferences");
  const auto leave = [&](const std::string& name) { std::ofstream(folder / name) << "partial"; };
  const std::string deadWriters = temporary_file_name::make("prefs.plist", dead, "dead01");
  const std::string liveWriters = temporary_file_name::make("prefs.plist", 1, "live01");
  const std::string ownProcess = temporary_file_name::make("prefs.plist", ::getpid(), "self01");
  const std::string otherTarget = temporary_file_name::make("other.plist", dead, "dead02");
  for (const auto& name :
       {deadWriters, liveWriters, ownProcess, otherTarget, std::string(".prefs.plist.lock")}) {
    leave(name);
  }

  ASSERT_TRUE(files().writeAtomically(path, bytesOf("new")));
  std::vector<std::string> expected = {liveWriters, ownProcess, otherTarget, ".prefs.plist.lock",
                                       "prefs.plist"};
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(folderListing(folder), expected);
}

}  // namespace
