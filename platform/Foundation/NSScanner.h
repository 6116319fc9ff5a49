// NSScanner, as far as the system's code needs it: reading a hexadecimal number from text.
//
// Locations count UTF-16 units, as NSString's do. The text is taken as UTF-8; each byte of a
// malformed sequence stands for one U+FFFD, and a character outside the basic plane takes two
// units (a surrogate pair), so a location can fall between its halves.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "Foundation/NSCharacterSet.h"

class NSScanner {
 public:
  // scannerWithString: — at location 0, skipping white space and line ends.
  static std::shared_ptr<NSScanner> scannerWithString(std::string_view text);

  // The next unit to read.
  std::size_t scanLocation() const { return location_; }
  // setScanLocation: — a location past the end (where the device's scanner stops the
  // program) is taken as the end.
  void setScanLocation(std::size_t location);
  NSCharacterSet charactersToBeSkipped() const { return charactersToBeSkipped_; }
  // isAtEnd — true when only characters to be skipped are left.
  bool isAtEnd() const;

  // scanHexInt: — skips the characters to be skipped, then reads an optional "0x"/"0X" and the
  // hexadecimal digits that follow, stopping at the first other character. A number beyond 32
  // bits gives 0xFFFFFFFF, its remaining digits still read. A "0x" with no digit after it
  // reads as the number 0, leaving the location on the "x". Without any digit, false: the
  // location and `result` stay as they were.
  bool scanHexInt(std::uint32_t* result);

  explicit NSScanner(std::u16string units) : units_(std::move(units)) {}

 private:
  std::size_t afterSkipped(std::size_t at) const;

  std::u16string units_;
  std::size_t location_ = 0;
  NSCharacterSet charactersToBeSkipped_ = NSCharacterSet::whitespaceAndNewlineCharacterSet();
};
