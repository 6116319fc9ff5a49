#include "Foundation/NSScanner.h"

#include <algorithm>
#include <string>

#include "native/Foundation/NativeScanner.h"

namespace native = gw::native::foundation;

std::shared_ptr<NSScanner> NSScanner::scannerWithString(std::string_view text) {
  gw::native::Object scanner = native::makeScanner(std::string(text));
  if (!scanner) scanner = native::makeScanner(std::string());
  return std::make_shared<NSScanner>(std::move(scanner));
}

std::size_t NSScanner::scanLocation() const {
  return native::scanLocation(scanner_);
}

void NSScanner::setScanLocation(std::size_t location) {
  native::setScanLocation(scanner_, std::min(location, native::scannerLength(scanner_)));
}

bool NSScanner::isAtEnd() const {
  return native::scannerIsAtEnd(scanner_);
}

bool NSScanner::scanHexInt(std::uint32_t* result) {
  return native::scanHexInt(scanner_, result);
}
