// The receiver of the motion helper's reports (the tweak manager).
#pragma once

#include <cstdint>

class VXMotionDelegate {
 public:
  virtual ~VXMotionDelegate() = default;
  // Called on the main thread each time the classified orientation changes, with the new
  // orientation state: 1 portrait or 2 landscape (never 0).
  virtual void orientationChanged(std::uint64_t orientation) = 0;
};
