// The pictures a fresh simulated device carries as files before its run: the floating
// button's lock image and the settings bundle's banner. The simulator's core does not draw;
// whoever runs it hands these in (the pictures library's DeviceArtworkPainter draws them).
// An absent function counts as a drawing that failed.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class DeviceFileSystem;

namespace sim {

struct DeviceArtwork {
  // PNG bytes of the lock image; empty when drawing fails.
  std::function<std::vector<std::uint8_t>()> lockImagePng;
  // Writes the banner into the device's files, leaving one already there (a kept device
  // root) alone; false with a reason in `error`.
  std::function<bool(DeviceFileSystem& files, std::string& error)> installSettingsBanner;
};

}  // namespace sim
