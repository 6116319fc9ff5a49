#include "Foundation/NSCharacterSet.h"

#include "native/Foundation/NativeScanner.h"

NSCharacterSet NSCharacterSet::whitespaceAndNewlineCharacterSet() {
  return NSCharacterSet(Kind::kWhitespaceAndNewline);
}

bool NSCharacterSet::characterIsMember(char16_t character) const {
  switch (kind_) {
    case Kind::kWhitespaceAndNewline:
      return gw::native::foundation::isWhitespaceOrNewline(character);
  }
  return false;
}
