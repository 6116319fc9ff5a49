#include <fcntl.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <optional>
#include <stdexcept>
#include <string>

#include "Device/DeviceFileSystem.h"
#include "Foundation/CoordinationLock.h"
#include "Foundation/NSFileManager.h"
#include "support/ForeignLockHolder.h"
#include "support/ScopedTestDevice.h"

namespace {

constexpr const char* kCounterPath = "/var/mobile/Library/Preferences/counter.plist";

// True when another open file description could take the lock right now.
bool lockIsFree(const std::filesystem::path& lockFile) {
  const int fd = ::open(lockFile.c_str(), O_RDWR | O_CLOEXEC);
  if (fd < 0) return false;
  const bool free = ::flock(fd, LOCK_EX | LOCK_NB) == 0;
  ::close(fd);
  return free;
}

// One read-modify-write of the counter, coordinated.
bool incrementCounter() {
  bool written = false;
  const bool coordinated = NSFileCoordinator::coordinateWritingItemAtPath(kCounterPath, [&] {
    Foundation::Dictionary dict =
        NSDictionary::dictionaryWithContentsOfFile(kCounterPath).value_or(Foundation::Dictionary{});
    const std::int64_t count = dict.valueForKey("count").longLongValue();
    dict.set("count", Foundation::Value::integer(count + 1));
    written = NSDictionary::writeToFile(dict, kCounterPath, true);
  });
  return coordinated && written;
}

TEST(FileCoordinatorTest, TwoOSProcessesLoseNoIncrement) {
  constexpr int kIncrementsPerProcess = 200;
  constexpr int kProcesses = 2;
  ScopedTestDevice device;
  int gate[2];
  ASSERT_EQ(::pipe(gate), 0);
  pid_t children[kProcesses];
  for (pid_t& child : children) {
    child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      // Both children start together once the parent closes the gate.
      ::close(gate[1]);
      char byte;
      while (::read(gate[0], &byte, 1) < 0 && errno == EINTR) {
      }
      int failures = 0;
      for (int i = 0; i < kIncrementsPerProcess; ++i) failures += incrementCounter() ? 0 : 1;
      ::_exit(failures == 0 ? 0 : 1);
    }
  }
  ::close(gate[0]);
  ::close(gate[1]);
  for (pid_t child : children) {
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
  }
  const auto dict = NSDictionary::dictionaryWithContentsOfFile(kCounterPath);
  ASSERT_TRUE(dict);
  const Foundation::Value count = dict->valueForKey("count");
  EXPECT_EQ(count.kind(), Foundation::Value::Kind::Integer);
  EXPECT_EQ(count.longLongValue(), kIncrementsPerProcess * kProcesses);
}

TEST(FileCoordinatorTest, HoldsTheLockOnlyWhileTheBodyRuns) {
  ScopedTestDevice device;
  const std::filesystem::path lockFile =
      device.device().fileSystem().hostPath("/var/mobile/Library/Preferences/.counter.plist.lock");
  bool ran = false;
  EXPECT_TRUE(NSFileCoordinator::coordinateWritingItemAtPath(kCounterPath, [&] {
    ran = true;
    EXPECT_FALSE(lockIsFree(lockFile));
  }));
  EXPECT_TRUE(ran);
  EXPECT_TRUE(lockIsFree(lockFile));

  // A body that throws still releases the lock.
  EXPECT_THROW(NSFileCoordinator::coordinateWritingItemAtPath(
                   kCounterPath, [] { throw std::runtime_error("body failed"); }),
               std::runtime_error);
  EXPECT_TRUE(lockIsFree(lockFile));

  // The device root itself cannot be coordinated.
  ran = false;
  EXPECT_FALSE(NSFileCoordinator::coordinateWritingItemAtPath("/..", [&] { ran = true; }));
  EXPECT_FALSE(ran);
}

// The bounded wait against another OS process: a free lock is taken at once, one let go
// during the wait is taken then, one kept past the wait gives up without running the body, and
// a path that can have no lock file fails. The ceiling only catches a wait that never ends.
TEST(FileCoordinatorTest, BoundedWaitTakesTheLockOrGivesUpInTime) {
  using namespace std::chrono_literals;
  using Outcome = NSFileCoordinator::Outcome;
  enum class Holder { None, ReleasesSoon, Stalled };
  const struct {
    const char* name;
    const char* path;
    Holder holder;
    std::chrono::milliseconds maxWait;
    Outcome outcome;
  } cases[] = {
      {"free lock", kCounterPath, Holder::None, 0ms, Outcome::Coordinated},
      {"holder lets go during the wait", kCounterPath, Holder::ReleasesSoon, 10s,
       Outcome::Coordinated},
      {"stalled holder", kCounterPath, Holder::Stalled, 100ms, Outcome::TimedOut},
      {"the device root", "/..", Holder::None, 100ms, Outcome::Failed},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ScopedTestDevice device;
    std::optional<test_support::ForeignLockHolder> holder;
    if (c.holder != Holder::None) {
      const std::filesystem::path target = device.device().fileSystem().hostPath(c.path);
      holder.emplace(target, c.holder == Holder::ReleasesSoon
                                 ? std::optional<std::chrono::milliseconds>(50ms)
                                 : std::nullopt);
      ASSERT_TRUE(holder->holding());
    }
    bool ran = false;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(
        NSFileCoordinator::coordinateWritingItemAtPath(c.path, c.maxWait, [&] { ran = true; }),
        c.outcome);
    const auto waited = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(ran, c.outcome == Outcome::Coordinated);
    if (c.outcome == Outcome::TimedOut) {
      EXPECT_GE(waited, c.maxWait);
    }
    EXPECT_LT(waited, 3s);
  }
}

// The rule the device's coordinator also follows, where nothing else checks it.
TEST(CoordinationLockPath, SitsBesideTheTargetUnderItsDottedName) {
  const struct {
    const char* target;
    const char* lockFile;
  } cases[] = {
      {"/", ""},
      {"/a", "/.a.lock"},
      {"/var/mobile/prefs.plist", "/var/mobile/.prefs.plist.lock"},
      {"/var/.hidden", "/var/..hidden.lock"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(gw::coordination::lockFilePathOf(c.target), c.lockFile) << c.target;
  }
}

}  // namespace
