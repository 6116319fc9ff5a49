// Wraps UIImage: imageWithData:, imageWithContentsOfFile:, size, scale.
#include "native/UIKit/NativeImage.h"

#import <UIKit/UIKit.h>

namespace gw::native::image {

Object withData(const std::uint8_t* bytes, std::size_t length) {
  if (!bytes || length == 0) return {};
  NSData* data = [NSData dataWithBytes:bytes length:length];
  return Object::retaining((__bridge const void*)[UIImage imageWithData:data]);
}

Object withContentsOfFile(const std::string& path) {
  NSString* file = [NSString stringWithUTF8String:path.c_str()];
  if (!file) return {};
  return Object::retaining((__bridge const void*)[UIImage imageWithContentsOfFile:file]);
}

Size size(const Object& image) {
  const CGSize s = ((__bridge UIImage*)image.get()).size;
  return {s.width, s.height};
}

double scale(const Object& image) {
  UIImage* native = (__bridge UIImage*)image.get();
  return native ? native.scale : 1;
}

}  // namespace gw::native::image
