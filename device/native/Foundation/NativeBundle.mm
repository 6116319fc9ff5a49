// Wraps NSBundle: bundleWithPath:, bundlePath, infoDictionary.
#include "native/Foundation/NativeBundle.h"

#import <Foundation/Foundation.h>

#include "native/Foundation/PropertyListBridge.h"

namespace gw::native::foundation {

namespace {

NSBundle* bundleAt(const std::string& path) {
  NSString* string = [[NSString alloc] initWithBytes:path.data()
                                              length:path.size()
                                            encoding:NSUTF8StringEncoding];
  return string ? [NSBundle bundleWithPath:string] : nil;
}

}  // namespace

std::optional<std::string> bundlePath(const std::string& path) {
  const char* text = bundleAt(path).bundlePath.UTF8String;
  if (text == nullptr) return std::nullopt;
  return std::string(text);
}

std::optional<PropertyListNode> bundleInfoDictionary(const std::string& path) {
  NSDictionary* info = bundleAt(path).infoDictionary;
  if (info == nil) return std::nullopt;
  return nodeFromObject(Object::retaining((__bridge const void*)info));
}

}  // namespace gw::native::foundation
