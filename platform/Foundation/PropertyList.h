// Property-list files: reading XML and binary property lists (through libplist) and writing
// XML property lists. Reading never throws and never crashes on hostile input: input that is
// too large or nested too deeply is refused before the parser sees it.
#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "Foundation/Value.h"

namespace Foundation::PropertyList {

inline constexpr std::size_t kMaxFileBytes = 64 * 1024 * 1024;
inline constexpr int kMaxNestingDepth = 512;

// Parses XML or binary property-list bytes; nullopt when malformed, too big or too deep, or
// when it holds a string libplist would read as something else (one holding a NUL, or an
// unpaired UTF-16 surrogate): whoever writes back what was read must not change an entry it
// never touched. Dates come back to the bit, whatever their year. Points and colours never
// come out of a file.
std::optional<Value> parse(std::span<const std::uint8_t> bytes);
// Same, but only a dictionary root is accepted.
std::optional<Dictionary> parseDictionary(std::span<const std::uint8_t> bytes);

// An XML property list of `value`. Points and colours have no property-list form: a point is
// written as a dictionary {x, y}, a colour as {red, green, blue, alpha}. Null is left out.
// Empty when `value` nests deeper than kMaxNestingDepth (no reader would accept it), holds a
// dictionary key or a string with a NUL character (libplist would cut it short), or a date
// the XML form cannot give back exactly (it keeps whole seconds, within the years its text
// form covers).
std::string toXML(const Value& value);
// A binary property list (used by tests: the device writes preference files in binary too).
// Empty for null and for what toXML refuses, dates apart: the binary form holds every date.
Data toBinary(const Value& value);

}  // namespace Foundation::PropertyList
