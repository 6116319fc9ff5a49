#include "Foundation/NSFileManager.h"

#include <fcntl.h>

#include <chrono>
#include <string>

#include "Foundation/CoordinationLock.h"
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

// On the real file system; the lock file is created beside the target.
int gw::coordination::openLockFileOf(std::string_view path) {
  const std::string lockPath = gw::coordination::lockFilePathOf(normalisedPath(path));
  return lockPath.empty() ? -1 : ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
}
