// JSON text for the timeline's JSON Lines form. Strings are escaped as RFC 8259 requires and
// always come out as valid UTF-8 (a byte that is not UTF-8 becomes U+FFFD); numbers use the
// shortest text that reads back as the same double; values JSON cannot hold (NaN, infinities)
// become null.
#pragma once

#include <string>
#include <string_view>

#include "Foundation/Value.h"

namespace sim::JsonText {

void appendString(std::string& out, std::string_view text);
void appendNumber(std::string& out, double value);
// Property-list values as JSON: booleans, numbers, strings, arrays, dictionaries (keys in
// order); a point as [x, y], a colour as [r, g, b, a], data as a base64 string, a date as its
// seconds since 2001-01-01, null as null.
void appendValue(std::string& out, const Foundation::Value& value);

}  // namespace sim::JsonText
