// NSScanner on a string given as UTF-8, and NSCharacterSet's white space and line ends.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "native/NativeObject.h"

namespace gw::native::foundation {

// scannerWithString: (at location 0, skipping white space and line ends); empty for text that
// is not valid UTF-8.
Object makeScanner(const std::string& text);
// The scanned string's length in UTF-16 units.
std::size_t scannerLength(const Object& scanner);
std::size_t scanLocation(const Object& scanner);
// setScanLocation:; the caller keeps `location` within the length (the scanner raises past it).
void setScanLocation(const Object& scanner, std::size_t location);
bool scannerIsAtEnd(const Object& scanner);
// scanHexInt:
bool scanHexInt(const Object& scanner, std::uint32_t* result);

// [NSCharacterSet whitespaceAndNewlineCharacterSet] characterIsMember:
bool isWhitespaceOrNewline(char16_t unit);

}  // namespace gw::native::foundation
