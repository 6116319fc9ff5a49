// Foundation's file access on the current device's file system (see DeviceFileSystem).
#pragma once

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "Foundation/DictionaryFileRead.h"
#include "Foundation/Value.h"

class NSFileManager {
 public:
  static NSFileManager& defaultManager();
  bool fileExistsAtPath(std::string_view path) const;
  // removeItemAtPath:error: (and removeItemAtURL:error: with a file URL). False with a
  // description in `error` when nothing was removed.
  bool removeItemAtPath(std::string_view path, std::string* error = nullptr) const;
  bool createDirectoryAtPath(std::string_view path) const;
};

enum NSDataReadingOptions { NSDataReadingMappedIfSafe = 1, NSDataReadingUncached = 2 };

namespace NSData {
// initWithContentsOfFile:options:error: — the file's bytes, or nullopt with an error
// description ("The file “lock.png” couldn’t be opened ...") in `error`.
std::optional<Foundation::Data> dataWithContentsOfFile(std::string_view path, int options,
                                                       std::string* error);
}  // namespace NSData

namespace NSDictionary {
// initWithContentsOfFile: — a dictionary read from an XML or binary property list, or nullopt
// when the file is missing, unreadable, malformed or not a dictionary, or holds a value the
// reader cannot give exactly (see PropertyList::parse).
std::optional<Foundation::Dictionary> dictionaryWithContentsOfFile(std::string_view path);
// The same read, telling a missing file from one that is there but unreadable; for writers
// that change one entry and write the file back. (On the device the error of
// initWithContentsOfURL:error: tells the two apart.)
DictionaryFileRead readForRewrite(std::string_view path);
// writeToFile:atomically: — an XML property list; true when the file was written. False, the
// file left alone, for a dictionary the XML form cannot hold exactly (see PropertyList::toXML).
bool writeToFile(const Foundation::Dictionary& dictionary, std::string_view path, bool atomically);
}  // namespace NSDictionary

// Coordinated read-modify-write of one file across processes (the role NSFileCoordinator plays
// on the device): `body` runs while an exclusive advisory lock (flock on the hidden lock file
// ".<name>.lock" beside the target, in the same folder) is held, so two writers that each read,
// change and write the file never lose each other's change. Works between real OS processes
// too. Coordinations of one path must not nest on one thread: the inner one would wait for the
// outer.
class NSFileCoordinator {
 public:
  enum class Outcome {
    Coordinated,  // `body` ran under the lock
    TimedOut,     // another holder kept the lock past the wait; `body` did not run
    Failed,       // the lock file cannot be opened or locked; `body` did not run
  };

  // Waits as long as another holder keeps the lock. Returns false, without running `body`,
  // when the lock cannot be taken.
  static bool coordinateWritingItemAtPath(std::string_view path, const std::function<void()>& body);
  // Waits at most `maxWait` of real time for the lock (the holder is another process, so the
  // device's clock does not bound it), then gives up with TimedOut.
  static Outcome coordinateWritingItemAtPath(std::string_view path,
                                             std::chrono::milliseconds maxWait,
                                             const std::function<void()>& body);
};
