// UIScreen and UIDevice for the device face: the main screen's size and scale, the device's
// idiom.
#pragma once

#include <cstdint>

#include "native/UIKit/NativeTypes.h"

namespace gw::native::screen {

// [UIScreen mainScreen].bounds, in points.
Rect mainBounds();
// [UIScreen mainScreen].scale, pixels per point.
double mainScale();
// [UIDevice currentDevice].userInterfaceIdiom, a UIUserInterfaceIdiom value.
std::int64_t userInterfaceIdiom();

}  // namespace gw::native::screen
