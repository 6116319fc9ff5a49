// UIScreen for the device face: the main screen's size and scale.
#pragma once

#include "native/UIKit/NativeTypes.h"

namespace gw::native::screen {

// [UIScreen mainScreen].bounds, in points.
Rect mainBounds();
// [UIScreen mainScreen].scale, pixels per point.
double mainScale();

}  // namespace gw::native::screen
