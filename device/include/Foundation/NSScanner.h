// NSScanner on the real one, as far as the system's code needs it: reading a hexadecimal
// number from text. Locations count UTF-16 units, as NSString's do.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>

#include "Foundation/NSCharacterSet.h"
#include "native/NativeObject.h"

class NSScanner {
 public:
  // scannerWithString: — at location 0, skipping white space and line ends. Text that is not
  // valid UTF-8 gives a scanner with nothing to read.
  static std::shared_ptr<NSScanner> scannerWithString(std::string_view text);

  std::size_t scanLocation() const;
  // setScanLocation: — a location past the end (where the scanner would raise) is taken as the
  // end.
  void setScanLocation(std::size_t location);
  NSCharacterSet charactersToBeSkipped() const {
    return NSCharacterSet::whitespaceAndNewlineCharacterSet();
  }
  bool isAtEnd() const;
  // scanHexInt:
  bool scanHexInt(std::uint32_t* result);

  explicit NSScanner(gw::native::Object scanner) : scanner_(std::move(scanner)) {}

 private:
  gw::native::Object scanner_;
};
