// Wraps UIImageView's image property.
#include "native/UIKit/NativeImageView.h"

#import <UIKit/UIKit.h>

namespace gw::native::imageview {

void setImage(const Object& imageView, const Object& image) {
  id object = (__bridge id)imageView.get();
  if (![object isKindOfClass:[UIImageView class]]) return;
  ((UIImageView*)object).image = (__bridge UIImage*)image.get();
}

}  // namespace gw::native::imageview
