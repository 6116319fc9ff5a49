// Wraps UIScreen's mainScreen (bounds, scale).
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

}  // namespace gw::native::screen
