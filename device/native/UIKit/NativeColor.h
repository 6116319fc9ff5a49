// UIColor and CGColor from and to the face's colour components (extended sRGB).
#pragma once

#include <optional>

#include "native/NativeObject.h"
#include "native/UIKit/NativeTypes.h"

namespace gw::native::color {

// +[UIColor colorWithRed:green:blue:alpha:].
Object makeUIColor(Color color);
// The components of a UIColor, null for nil or a colour without RGB components.
std::optional<Color> componentsOfUIColor(const void* color);
// The components of a CGColorRef, converted to extended sRGB; null for NULL.
std::optional<Color> componentsOfCGColor(const void* color);

}  // namespace gw::native::color
