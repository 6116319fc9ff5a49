// NSCharacterSet, as far as the system's code needs it: the set of white space and line ends,
// tested one UTF-16 unit at a time.
#pragma once

#include <cstdint>

class NSCharacterSet {
 public:
  // The Unicode white space and line separators: U+0009-U+000D, U+0020, U+0085, U+00A0,
  // U+1680, U+2000-U+200A, U+2028, U+2029, U+202F, U+205F and U+3000.
  static NSCharacterSet whitespaceAndNewlineCharacterSet();

  // characterIsMember: — for one UTF-16 unit; half of a surrogate pair is never a member.
  bool characterIsMember(char16_t character) const;

 private:
  enum class Kind : std::uint8_t { kWhitespaceAndNewline };
  explicit NSCharacterSet(Kind kind) : kind_(kind) {}

  Kind kind_;
};
