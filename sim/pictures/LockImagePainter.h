// Draws the floating button's lock image: a padlock on a transparent square, as PNG bytes.
// The simulator installs it as "lock.png" in the preferences image folder of a fresh device.
#pragma once

#include <cstdint>
#include <vector>

namespace sim {

class LockImagePainter {
 public:
  static constexpr int kDefaultSizePixels = 150;

  // A PNG of `sizePixels` × `sizePixels`; empty only if drawing fails.
  static std::vector<std::uint8_t> padlockPng(int sizePixels = kDefaultSizePixels);
};

}  // namespace sim
