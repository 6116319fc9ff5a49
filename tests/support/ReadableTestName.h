// A name for one case of a parameterised suite, made from text that tells the case apart (its
// input or its expected message): every run of characters other than ASCII letters and digits
// becomes one '_', as GoogleTest allows only those, and long text is cut short. Two cases
// whose text gives the same name make GoogleTest refuse the suite, so clashes cannot slip by.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace test_support {

inline std::string readableTestName(std::string_view text, std::size_t maxLength = 72) {
  std::string name;
  bool gap = false;
  for (char c : text) {
    const bool alphanumeric =
        (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
    if (!alphanumeric) {
      gap = true;
      continue;
    }
    if (gap && !name.empty()) name += '_';
    gap = false;
    if (name.size() >= maxLength) break;
    name += c;
  }
  return name.empty() ? "empty" : name;
}

}  // namespace test_support
