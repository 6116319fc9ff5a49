// Wraps UIScreen's mainScreen (bounds, scale) and UIDevice's currentDevice
// (userInterfaceIdiom).
#include "native/UIKit/NativeScreen.h"

#import <UIKit/UIKit.h>

namespace gw::native::screen {

Rect mainBounds() {
  const CGRect r = [UIScreen mainScreen].bounds;
  return {{r.origin.x, r.origin.y}, {r.size.width, r.size.height}};
}

double mainScale() {
  return [UIScreen mainScreen].scale;
}

std::int64_t userInterfaceIdiom() {
  return static_cast<std::int64_t>([UIDevice currentDevice].userInterfaceIdiom);
}

}  // namespace gw::native::screen
