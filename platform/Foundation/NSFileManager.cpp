#include "Foundation/NSFileManager.h"

#include <cerrno>
#include <chrono>

#include "Device/Device.h"
#include "Device/DeviceFileSystem.h"
#include "Foundation/CoordinationLock.h"
#include "Foundation/PropertyList.h"

namespace {

DeviceFileSystem& currentFileSystem() {
  return Device::current().fileSystem();
}

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

// On the current device's file system, beneath its root.
int gw::coordination::openLockFileOf(std::string_view path) {
  const std::string lockPath =
      gw::coordination::lockFilePathOf(DeviceFileSystem::normalisedPath(path));
  return lockPath.empty() ? -1 : currentFileSystem().openCreating(lockPath);
}
