// Wraps NSURL: URLWithString:, fileURLWithPath:, absoluteString, scheme, path.
#include "native/Foundation/NativeURL.h"

#import <Foundation/Foundation.h>

namespace gw::native::foundation {

namespace {

NSString* stringOf(const std::string& text) {
  return [[NSString alloc] initWithBytes:text.data()
                                  length:text.size()
                                encoding:NSUTF8StringEncoding];
}

std::optional<std::string> textOf(NSString* string) {
  const char* text = string.UTF8String;
  if (text == nullptr) return std::nullopt;
  return std::string(text);
}

NSURL* urlOf(const std::string& text) {
  NSString* string = stringOf(text);
  return string ? [NSURL URLWithString:string] : nil;
}

}  // namespace

std::optional<std::string> urlWithString(const std::string& text) {
  NSURL* url = urlOf(text);
  if (url == nil) return std::nullopt;
  return textOf(url.absoluteString);
}

std::optional<std::string> fileURLWithPath(const std::string& path) {
  NSString* string = stringOf(path);
  if (string == nil || string.length == 0) return std::nullopt;
  return textOf([NSURL fileURLWithPath:string].absoluteString);
}

std::string urlScheme(const std::string& text) {
  return textOf(urlOf(text).scheme).value_or(std::string());
}

std::string urlPath(const std::string& text) {
  return textOf(urlOf(text).path).value_or(std::string());
}

}  // namespace gw::native::foundation
