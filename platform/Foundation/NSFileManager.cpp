#include "Foundation/NSFileManager.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <thread>

#include "Device/Device.h"
#include "Device/DeviceFileSystem.h"
#include "Foundation/PropertyList.h"

namespace {

DeviceFileSystem& currentFileSystem() {
  return Device::current().fileSystem();
}

// Holds an flock on an open lock file; closing the descriptor releases the lock.
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

// The manager keeps no state of its own: every call goes to the current device.
NSFileManager& NSFileManager::defaultManager() {
  static NSFileManager manager;
  return manager;
}

bool NSFileManager::fileExistsAtPath(std::string_view path) const {
  return currentFileSystem().exists(path);
}

bool NSFileManager::removeItemAtPath(std::string_view path, std::string* error) const {
  return currentFileSystem().remove(path, error);
}

bool NSFileManager::createDirectoryAtPath(std::string_view path) const {
  return currentFileSystem().createDirectories(path);
}

namespace NSData {

// The reading options only tune caching on the device; every read here is a whole-file read.
std::optional<Foundation::Data> dataWithContentsOfFile(std::string_view path, int /*options*/,
                                                       std::string* error) {
  return currentFileSystem().read(path, error);
}

}  // namespace NSData

namespace NSDictionary {

std::optional<Foundation::Dictionary> dictionaryWithContentsOfFile(std::string_view path) {
  const std::optional<Foundation::Data> bytes = currentFileSystem().read(path);
  if (!bytes) return std::nullopt;
  return Foundation::PropertyList::parseDictionary(*bytes);
}

DictionaryFileRead readForRewrite(std::string_view path) {
  int errorNumber = 0;
  const std::optional<Foundation::Data> bytes =
      currentFileSystem().read(path, nullptr, &errorNumber);
  if (!bytes) {
    return {errorNumber == ENOENT ? DictionaryFileRead::Outcome::Absent
                                  : DictionaryFileRead::Outcome::Unreadable,
            {}};
  }
  std::optional<Foundation::Dictionary> entries = Foundation::PropertyList::parseDictionary(*bytes);
  if (!entries) return {DictionaryFileRead::Outcome::Unreadable, {}};
  return {DictionaryFileRead::Outcome::Read, std::move(*entries)};
}

// Every write replaces the file atomically, whatever `atomically` asks: a reader in another
// process must never see a half-written preferences file.
bool writeToFile(const Foundation::Dictionary& dictionary, std::string_view path,
                 bool /*atomically*/) {
  const std::string xml =
      Foundation::PropertyList::toXML(Foundation::Value::dictionary(dictionary));
  if (xml.empty()) return false;
  const auto* begin = reinterpret_cast<const std::uint8_t*>(xml.data());
  return currentFileSystem().writeAtomically(path, std::span(begin, xml.size()));
}

}  // namespace NSDictionary

namespace {

// Between two tries of a bounded wait: short against any bound a caller would choose, long
// enough that a waiting thread costs next to nothing.
constexpr std::chrono::milliseconds kLockRetryInterval{2};

// The lock file ".<name>.lock" sits beside the target on the host, so that any OS process
// working on the same device root takes the same lock. -1 when it cannot be opened.
int openLockFileOf(std::string_view path) {
  const std::string target = DeviceFileSystem::normalisedPath(path);
  if (target == "/") return -1;
  const std::size_t slash = target.rfind('/');
  const std::string lockPath =
      target.substr(0, slash + 1) + "." + target.substr(slash + 1) + ".lock";
  return currentFileSystem().openCreating(lockPath);
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
// deadline without a signal, and signals belong to the host process, not to this call.
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
