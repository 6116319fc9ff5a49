// JSON for the timeline's JSON Lines form, built as nlohmann trees and written as compact text.
// Strings in a tree built here are always valid UTF-8 (a byte that is not UTF-8 becomes
// U+FFFD, one for each such byte). The text keeps the timeline's own forms where nlohmann's
// differ: a real number is the shortest text that reads back as the same double ("150", "-0",
// "1e+05", not "150.0", "-0.0", "100000.0"), DEL is escaped as \u007f, and values JSON cannot
// hold (NaN, infinities) are null.
#pragma once

#include <nlohmann/json_fwd.hpp>
#include <string>
#include <string_view>

#include "Foundation/Value.h"

namespace sim::JsonText {

// Property-list values as JSON: booleans, numbers, strings, arrays, dictionaries (keys in
// order); a point as [x, y], a colour as [r, g, b, a], data as a base64 string, a date as its
// seconds since 2001-01-01, null as null.
nlohmann::ordered_json fromValue(const Foundation::Value& value);
// Appends the entries of `fields`, in order, to `object` (which becomes an empty object first
// if it holds anything but an object). The keys of a Dictionary are unique, so they are
// appended without nlohmann's look-up, which is linear for each key.
void appendMembers(nlohmann::ordered_json& object, const Foundation::Dictionary& fields);
// `text` with each byte that is not part of well-formed UTF-8 replaced by U+FFFD.
std::string validUtf8(std::string_view text);

// Compact JSON text of `json`, keys in order. Never throws on text that is not UTF-8: such
// bytes come out as U+FFFD.
void append(std::string& out, const nlohmann::ordered_json& json);
std::string dump(const nlohmann::ordered_json& json);

}  // namespace sim::JsonText
