#include "Foundation/NSFileManager.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>

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

// The lock file ".<name>.lock" sits beside the target on the host, so that any OS process
// working on the same device root takes the same lock. flock locks belong to the open file, so
// a nested coordination of the same path on one thread would wait for itself: don't nest.
bool NSFileCoordinator::coordinateWritingItemAtPath(std::string_view path,
                                                    const std::function<void()>& body) {
  DeviceFileSystem& fileSystem = currentFileSystem();
  const std::filesystem::path target = fileSystem.hostPath(path);
  if (target == fileSystem.root() || !target.has_filename()) return false;
  std::error_code ec;
  std::filesystem::create_directories(target.parent_path(), ec);
  const std::filesystem::path lockPath =
      target.parent_path() / ("." + target.filename().string() + ".lock");
  const int fd = ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
  if (fd < 0) return false;
  LockFileHold hold(fd);
  while (::flock(fd, LOCK_EX) != 0) {
    if (errno != EINTR) return false;
  }
  if (body) body();
  return true;
}
