#include "Foundation/NSFileManager.h"

#include <sys/file.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <string>
#include <thread>

#include "Foundation/CoordinationLock.h"

namespace {

// Between two tries of a bounded wait: short against any bound a caller would choose, long
// enough that a waiting thread costs next to nothing.
constexpr std::chrono::milliseconds kLockRetryInterval{2};

// Closes the lock file (and so lets go of the lock) however the coordinated work ends.
class LockFileHold {
 public:
  explicit LockFileHold(int fd) : fd_(fd) {}
  ~LockFileHold() {
    if (fd_ >= 0) ::close(fd_);
  }
  LockFileHold(const LockFileHold&) = delete;
  LockFileHold& operator=(const LockFileHold&) = delete;

 private:
  int fd_;
};

}  // namespace

namespace gw::coordination {

std::string lockFilePathOf(const std::string& normalisedTarget) {
  if (normalisedTarget == "/") return {};
  const std::size_t slash = normalisedTarget.rfind('/');
  return normalisedTarget.substr(0, slash + 1) + "." + normalisedTarget.substr(slash + 1) + ".lock";
}

}  // namespace gw::coordination

// flock locks belong to the open file description, so a nested coordination of the same path
// on one thread waits for itself.
bool NSFileCoordinator::coordinateWritingItemAtPath(std::string_view path,
                                                    const std::function<void()>& body) {
  const int fd = gw::coordination::openLockFileOf(path);
  if (fd < 0) return false;
  LockFileHold hold(fd);
  while (::flock(fd, LOCK_EX) != 0) {
    if (errno != EINTR) return false;
  }
  if (body) body();
  return true;
}

// Non-blocking tries with short sleeps between them: a blocking flock cannot be given a
// deadline without a signal, and signals belong to the host process, not to this call.
NSFileCoordinator::Outcome NSFileCoordinator::coordinateWritingItemAtPath(
    std::string_view path, std::chrono::milliseconds maxWait, const std::function<void()>& body) {
  using Clock = std::chrono::steady_clock;
  const int fd = gw::coordination::openLockFileOf(path);
  if (fd < 0) return Outcome::Failed;
  LockFileHold hold(fd);
  const Clock::time_point deadline = Clock::now() + maxWait;
  while (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    if (errno == EINTR) continue;
    if (errno != EWOULDBLOCK) return Outcome::Failed;
    const Clock::time_point now = Clock::now();
    if (now >= deadline) return Outcome::TimedOut;
    std::this_thread::sleep_for(std::min<Clock::duration>(kLockRetryInterval, deadline - now));
  }
  if (body) body();
  return Outcome::Coordinated;
}
