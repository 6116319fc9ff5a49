// A property-list value in standard C++ types, passed between the face (which speaks
// Foundation::Value) and the native layer (which speaks NSDictionary, NSArray, NSNumber,
// NSString, NSData and NSDate).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace gw::native::foundation {

struct PropertyListNode {
  enum class Kind { Boolean, Integer, Real, String, Data, Date, Array, Dictionary };

  Kind kind = Kind::Dictionary;
  bool boolean = false;
  std::int64_t integer = 0;
  double real = 0;     // a Real's value; a Date's seconds since 2001-01-01 00:00:00 UTC
  std::string string;  // a String's UTF-8 text
  std::vector<std::uint8_t> data;
  // An Array's elements; a Dictionary's values, in the order of `keys`.
  std::vector<PropertyListNode> elements;
  std::vector<std::string> keys;  // a Dictionary's keys
};

}  // namespace gw::native::foundation
