// Draws the pictures a fresh simulated device carries as files (see sim/DeviceArtwork.h).
#pragma once

#include "sim/DeviceArtwork.h"

namespace sim {

class DeviceArtworkPainter {
 public:
  // The lock image from LockImagePainter, the banner from SettingsBannerArtwork.
  static DeviceArtwork artwork();
};

}  // namespace sim
