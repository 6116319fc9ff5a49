#include "CoreGraphics/CGColor.h"

#include <cstdio>

// Components print with "%g" (six significant digits), as the device's description does:
// "UIExtendedSRGBColorSpace 1 0.5 0 1".
std::string CGColor::description() const {
  char buffer[160];
  std::snprintf(buffer, sizeof buffer, "UIExtendedSRGBColorSpace %g %g %g %g", red_, green_, blue_,
                alpha_);
  return buffer;
}
