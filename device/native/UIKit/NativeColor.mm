// Wraps UIColor (colorWithRed:green:blue:alpha:, getRed:green:blue:alpha:) and
// CGColorCreateCopyByMatchingToColorSpace.
#include "native/UIKit/NativeColor.h"

#import <UIKit/UIKit.h>

namespace gw::native::color {

Object makeUIColor(Color c) {
  UIColor* color = [UIColor colorWithRed:c.red green:c.green blue:c.blue alpha:c.alpha];
  return Object::retaining((__bridge const void*)color);
}

std::optional<Color> componentsOfUIColor(const void* object) {
  UIColor* color = (__bridge UIColor*)object;
  if (!color) return std::nullopt;
  CGFloat r = 0, g = 0, b = 0, a = 0;
  if ([color getRed:&r green:&g blue:&b alpha:&a]) return Color{r, g, b, a};
  return componentsOfCGColor(color.CGColor);
}

std::optional<Color> componentsOfCGColor(const void* object) {
  CGColorRef color = (CGColorRef)object;
  if (!color) return std::nullopt;
  CGColorSpaceRef space = CGColorSpaceCreateWithName(kCGColorSpaceExtendedSRGB);
  CGColorRef matched =
      CGColorCreateCopyByMatchingToColorSpace(space, kCGRenderingIntentDefault, color, nullptr);
  CGColorSpaceRelease(space);
  if (!matched) return std::nullopt;
  std::optional<Color> result;
  if (CGColorGetNumberOfComponents(matched) == 4) {
    const CGFloat* c = CGColorGetComponents(matched);
    result = Color{c[0], c[1], c[2], c[3]};
  }
  CGColorRelease(matched);
  return result;
}

}  // namespace gw::native::color
