// Helpers shared by the tests of the floating button overlay: watching the logger's lines and
// the in-process notifications, and installing a lock image on the test device.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "Device/Device.h"
#include "Device/DeviceFileSystem.h"
#include "Foundation/NSNotificationCenter.h"
#include "VXCommon/VXLogger.h"

namespace overlay_test {

inline constexpr const char* kImageFolder = "/var/mobile/Library/Preferences/GyrowhirlPrefs";
inline constexpr const char* kLockImagePath =
    "/var/mobile/Library/Preferences/GyrowhirlPrefs/lock.png";

// A real 2 × 2 PNG of opaque red pixels (RGBA, zlib-compressed).
inline const std::vector<std::uint8_t>& tinyRedPng() {
  static const std::vector<std::uint8_t> png = {
      0x89, 0x50, 0x4e, 0x47, 0x0d, 0x0a, 0x1a, 0x0a, 0x00, 0x00, 0x00, 0x0d, 0x49, 0x48, 0x44,
      0x52, 0x00, 0x00, 0x00, 0x02, 0x00, 0x00, 0x00, 0x02, 0x08, 0x06, 0x00, 0x00, 0x00, 0x72,
      0xb6, 0x0d, 0x24, 0x00, 0x00, 0x00, 0x11, 0x49, 0x44, 0x41, 0x54, 0x78, 0x9c, 0x63, 0xf8,
      0xcf, 0xc0, 0xf0, 0x1f, 0x84, 0x19, 0x60, 0x0c, 0x00, 0x47, 0xca, 0x07, 0xf9, 0x67, 0x59,
      0x6e, 0xb7, 0x00, 0x00, 0x00, 0x00, 0x49, 0x45, 0x4e, 0x44, 0xae, 0x42, 0x60, 0x82};
  return png;
}

inline void writeDeviceFile(Device& device, std::string_view path,
                            std::span<const std::uint8_t> bytes) {
  device.fileSystem().writeAtomically(path, bytes);
}

// Collects the logger's lines of the current process for its lifetime.
class LogCapture {
 public:
  LogCapture() {
    VXLogger::setSinkForTesting([this](std::string_view line) { lines_.emplace_back(line); });
  }
  ~LogCapture() { VXLogger::setSinkForTesting({}); }
  LogCapture(const LogCapture&) = delete;
  LogCapture& operator=(const LogCapture&) = delete;

  const std::vector<std::string>& lines() const { return lines_; }
  void clear() { lines_.clear(); }

 private:
  std::vector<std::string> lines_;
};

// Records the posts of one notification name on the current process's default centre.
class NotificationRecorder {
 public:
  explicit NotificationRecorder(std::string name) {
    NSNotificationCenter::defaultCenter().addObserver(
        this, [this](const NSNotification& n) { objects_.push_back(n.object); }, std::move(name));
  }
  ~NotificationRecorder() { NSNotificationCenter::defaultCenter().removeObserver(this); }
  NotificationRecorder(const NotificationRecorder&) = delete;
  NotificationRecorder& operator=(const NotificationRecorder&) = delete;

  std::size_t count() const { return objects_.size(); }
  const std::vector<Foundation::Value>& objects() const { return objects_; }

 private:
  std::vector<Foundation::Value> objects_;
};

// The preferences broadcast, as the preference store posts it.
inline void broadcastPreferences(Foundation::Dictionary prefs = {}) {
  NSNotificationCenter::defaultCenter().postNotificationName(
      "VXPREFSUPDATED", Foundation::Value::dictionary(std::move(prefs)));
}

}  // namespace overlay_test
