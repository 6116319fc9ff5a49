#include "Foundation/NSScanner.h"

#include <algorithm>
#include <utility>

namespace {

// One code point of UTF-8 text at `at`: its value and its length in bytes. Malformed bytes
// count as one byte each, with the value U+FFFD.
std::pair<char32_t, std::size_t> decodeAt(std::string_view text, std::size_t at) {
  const auto lead = static_cast<unsigned char>(text[at]);
  const std::size_t length = lead < 0x80           ? 1
                             : (lead >> 5) == 0x6  ? 2
                             : (lead >> 4) == 0xE  ? 3
                             : (lead >> 3) == 0x1E ? 4
                                                   : 0;
  constexpr char32_t kMalformed = 0xFFFD;
  if (length == 0 || at + length > text.size()) return {kMalformed, 1};
  if (length == 1) return {lead, 1};
  char32_t value = lead & (0x7F >> length);
  for (std::size_t i = 1; i < length; ++i) {
    const auto next = static_cast<unsigned char>(text[at + i]);
    if ((next & 0xC0) != 0x80) return {kMalformed, 1};
    value = (value << 6) | (next & 0x3F);
  }
  return {value, length};
}

std::u16string utf16Units(std::string_view text) {
  std::u16string units;
  for (std::size_t at = 0; at < text.size();) {
    const auto [c, length] = decodeAt(text, at);
    at += length;
    if (c <= 0xFFFF) {
      units.push_back(static_cast<char16_t>(c));
    } else {
      const char32_t offset = c - 0x10000;
      units.push_back(static_cast<char16_t>(0xD800 | ((offset >> 10) & 0x3FF)));
      units.push_back(static_cast<char16_t>(0xDC00 | (offset & 0x3FF)));
    }
  }
  return units;
}

int hexDigit(char16_t c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  return -1;
}

}  // namespace

std::shared_ptr<NSScanner> NSScanner::scannerWithString(std::string_view text) {
  return std::make_shared<NSScanner>(utf16Units(text));
}

void NSScanner::setScanLocation(std::size_t location) {
  location_ = std::min(location, units_.size());
}

bool NSScanner::isAtEnd() const {
  return afterSkipped(location_) == units_.size();
}

std::size_t NSScanner::afterSkipped(std::size_t at) const {
  while (at < units_.size() && charactersToBeSkipped_.characterIsMember(units_[at])) ++at;
  return at;
}

bool NSScanner::scanHexInt(std::uint32_t* result) {
  std::size_t at = afterSkipped(location_);
  const auto unitAt = [this](std::size_t i) { return i < units_.size() ? units_[i] : u'\0'; };
  if (unitAt(at) == u'0' && (unitAt(at + 1) == u'x' || unitAt(at + 1) == u'X') &&
      hexDigit(unitAt(at + 2)) >= 0) {
    at += 2;
  }
  if (hexDigit(unitAt(at)) < 0) return false;
  constexpr std::uint64_t kMax = 0xFFFFFFFF;
  std::uint64_t value = 0;
  for (; hexDigit(unitAt(at)) >= 0; ++at) {
    value = value > (kMax >> 4) ? kMax
                                : (value << 4) | static_cast<std::uint64_t>(hexDigit(unitAt(at)));
  }
  location_ = at;
  if (result) *result = static_cast<std::uint32_t>(value);
  return true;
}
