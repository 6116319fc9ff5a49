#include "Foundation/NSFileManager.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <string>
#include <thread>

#include "face/Foundation/PropertyListValues.h"
#include "native/Foundation/NativeFiles.h"

namespace {

namespace native = gw::native::foundation;

std::string pathOf(std::string_view path) {
  return std::string(path);
}

// An absolute path with repeated and trailing "/" removed.
std::string normalisedPath(std::string_view path) {
  std::string normalised = "/";
  for (const char c : path) {
    if (c == '/' && normalised.back() == '/') continue;
    normalised += c;
  }
  if (normalised.size() > 1 && normalised.back() == '/') normalised.pop_back();
  return normalised;
}

// Closes the lock file (and so lets go of the lock) however the coordinated work ends.
class LockFileHold {
 public:
  explicit LockFileHold(int fd) : fd_(fd) {}
  LockFileHold(const LockFileHold&) = delete;
  LockFileHold& operator=(const LockFileHold&) = delete;
  ~LockFileHold() { ::close(fd_); }

 private:
  int fd_;
};

}  // namespace

NSFileManager& NSFileManager::defaultManager() {
  static NSFileManager* const manager = new NSFileManager();
  return *manager;
}

bool NSFileManager::fileExistsAtPath(std::string_view path) const {
  return native::fileExists(pathOf(path));
}

bool NSFileManager::removeItemAtPath(std::string_view path, std::string* error) const {
  return native::removeItem(pathOf(path), error);
}

bool NSFileManager::createDirectoryAtPath(std::string_view path) const {
  return native::createDirectory(pathOf(path));
}

namespace NSData {

std::optional<Foundation::Data> dataWithContentsOfFile(std::string_view path, int options,
                                                       std::string* error) {
  return native::readData(pathOf(path), options, error);
}

}  // namespace NSData

namespace NSDictionary {

std::optional<Foundation::Dictionary> dictionaryWithContentsOfFile(std::string_view path) {
  DictionaryFileRead read = readForRewrite(path);
  if (read.outcome != DictionaryFileRead::Outcome::Read) return std::nullopt;
  return std::move(read.dictionary);
}

DictionaryFileRead readForRewrite(std::string_view path) {
  native::PropertyListNode node;
  switch (native::readDictionaryFile(pathOf(path), node)) {
    case native::DictionaryFileOutcome::Read:
      return {DictionaryFileRead::Outcome::Read, gw::device::dictionaryFromNode(node)};
    case native::DictionaryFileOutcome::Absent:
      return {DictionaryFileRead::Outcome::Absent, {}};
    case native::DictionaryFileOutcome::Unreadable:
      break;
  }
  return {DictionaryFileRead::Outcome::Unreadable, {}};
}

bool writeToFile(const Foundation::Dictionary& dictionary, std::string_view path, bool atomically) {
  const std::optional<native::PropertyListNode> node =
      gw::device::nodeFromValue(Foundation::Value::dictionary(dictionary));
  return node && native::writeDictionaryFile(*node, pathOf(path), atomically);
}

}  // namespace NSDictionary

namespace {

// Between two tries of a bounded wait, as on the simulated device.
constexpr std::chrono::milliseconds kLockRetryInterval{2};

// The lock file ".<name>.lock" sits beside the target, as on the simulated device, so that every
// process writing the file takes the same lock. -1 when it cannot be opened.
int openLockFileOf(std::string_view path) {
  const std::string target = normalisedPath(path);
  if (target == "/") return -1;
  const std::size_t slash = target.rfind('/');
  const std::string lockPath =
      target.substr(0, slash + 1) + "." + target.substr(slash + 1) + ".lock";
  return ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
}

}  // namespace

// flock locks belong to the open file description, so a nested coordination of the same path
// on one thread waits for itself.
bool NSFileCoordinator::coordinateWritingItemAtPath(std::string_view path,
                                                    const std::function<void()>& body) {
  const int fd = openLockFileOf(path);
  if (fd < 0) return false;
  LockFileHold hold(fd);
  while (::flock(fd, LOCK_EX) != 0) {
    if (errno != EINTR) return false;
  }
  if (body) body();
  return true;
}

// Non-blocking tries with short sleeps between them: a blocking flock cannot be given a
// deadline without a signal.
NSFileCoordinator::Outcome NSFileCoordinator::coordinateWritingItemAtPath(
    std::string_view path, std::chrono::milliseconds maxWait, const std::function<void()>& body) {
  using Clock = std::chrono::steady_clock;
  const int fd = openLockFileOf(path);
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
