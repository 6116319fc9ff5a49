// Property-list objects of Foundation (NSNumber, NSString, NSData, NSDate, NSArray,
// NSDictionary) built and taken apart through plain values, for the settings bundle's face,
// which keeps them as Foundation::Value: the values its rows show and store, and the rows'
// entries.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "native/NativeObject.h"

namespace gw::native::plist {

enum class Kind { Null, Boolean, Integer, Real, String, Data, Date, Array, Dictionary, Other };

// Null for an empty Object (nil); Other for an object of no property-list kind.
Kind kindOf(const Object& object);

// Each gives the content of an object of its kind, and 0 / empty for any other.
bool booleanOf(const Object& object);
std::int64_t integerOf(const Object& object);
double realOf(const Object& object);
std::string stringOf(const Object& object);  // UTF-8
std::vector<std::uint8_t> dataOf(const Object& object);
double dateOf(const Object& object);  // seconds since 2001-01-01 00:00:00 UTC
std::vector<Object> elementsOf(const Object& array);
// The entries with string keys, in ascending order of key (a dictionary keeps no order).
std::vector<std::pair<std::string, Object>> entriesOf(const Object& dictionary);

Object makeBoolean(bool value);
Object makeInteger(std::int64_t value);
Object makeReal(double value);
Object makeString(const std::string& utf8);
Object makeData(const std::vector<std::uint8_t>& bytes);
Object makeDate(double secondsSinceReferenceDate);
// Empty Objects among the elements or values are left out: a collection cannot hold nil.
Object makeArray(const std::vector<Object>& elements);
Object makeDictionary(const std::vector<std::pair<std::string, Object>>& entries);

}  // namespace gw::native::plist
