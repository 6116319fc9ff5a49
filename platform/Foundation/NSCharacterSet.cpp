#include "Foundation/NSCharacterSet.h"

NSCharacterSet NSCharacterSet::whitespaceAndNewlineCharacterSet() {
  return NSCharacterSet(Kind::kWhitespaceAndNewline);
}

bool NSCharacterSet::characterIsMember(char16_t c) const {
  switch (kind_) {
    case Kind::kWhitespaceAndNewline:
      return (c >= 0x09 && c <= 0x0D) || c == 0x20 || c == 0x85 || c == 0xA0 || c == 0x1680 ||
             (c >= 0x2000 && c <= 0x200A) || c == 0x2028 || c == 0x2029 || c == 0x202F ||
             c == 0x205F || c == 0x3000;
  }
  return false;
}
