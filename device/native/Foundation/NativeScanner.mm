// Wraps NSScanner (scannerWithString:, scanLocation, setScanLocation:, isAtEnd, scanHexInt:)
// and NSCharacterSet (whitespaceAndNewlineCharacterSet, characterIsMember:).
#include "native/Foundation/NativeScanner.h"

#import <Foundation/Foundation.h>

namespace gw::native::foundation {

namespace {

NSScanner* scannerOf(const Object& scanner) {
  return (__bridge NSScanner*)scanner.get();
}

}  // namespace

Object makeScanner(const std::string& text) {
  NSString* string = [[NSString alloc] initWithBytes:text.data()
                                              length:text.size()
                                            encoding:NSUTF8StringEncoding];
  if (string == nil) return {};
  return Object::retaining((__bridge const void*)[NSScanner scannerWithString:string]);
}

std::size_t scannerLength(const Object& scanner) {
  return scanner ? scannerOf(scanner).string.length : 0;
}

std::size_t scanLocation(const Object& scanner) {
  return scanner ? scannerOf(scanner).scanLocation : 0;
}

void setScanLocation(const Object& scanner, std::size_t location) {
  if (scanner) scannerOf(scanner).scanLocation = location;
}

bool scannerIsAtEnd(const Object& scanner) {
  return !scanner || scannerOf(scanner).isAtEnd;
}

bool scanHexInt(const Object& scanner, std::uint32_t* result) {
  if (!scanner) return false;
  unsigned value = 0;
  if (![scannerOf(scanner) scanHexInt:&value]) return false;
  if (result != nullptr) *result = value;
  return true;
}

bool isWhitespaceOrNewline(char16_t unit) {
  return [[NSCharacterSet whitespaceAndNewlineCharacterSet] characterIsMember:unit];
}

}  // namespace gw::native::foundation
