// A bundle: a folder on the current device with an Info.plist at its top.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "Foundation/Value.h"

class NSBundle {
 public:
  // bundleWithPath: the bundle at the device path `path` (a plain path, not a URL), or null
  // when there is no folder there.
  static std::shared_ptr<NSBundle> bundleWithPath(std::string_view path);

  // The folder's path, without a trailing "/".
  const std::string& bundlePath() const { return path_; }
  // The bundle's Info.plist, read on first use; an empty dictionary when the file is missing,
  // unreadable or not a dictionary.
  const Foundation::Dictionary& infoDictionary() const;

  explicit NSBundle(std::string path) : path_(std::move(path)) {}

 private:
  std::string path_;
  mutable std::optional<Foundation::Dictionary> info_;
};
