// Helpers shared by the tests of the preference store, the tweak manager and start-up: the
// preferences file on the test device and searching captured log lines.
#pragma once

#include <algorithm>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "Foundation/NSFileManager.h"
#include "Foundation/Value.h"
#include "VXCommon/VXPrefsLoader.h"

namespace prefs_test {

using Foundation::Dictionary;
using Foundation::Value;

inline bool writePrefsFile(const Dictionary& prefs) {
  return NSDictionary::writeToFile(prefs, VXPrefsLoader::kPrefsPath, true);
}

inline std::optional<Dictionary> readPrefsFile() {
  return NSDictionary::dictionaryWithContentsOfFile(VXPrefsLoader::kPrefsPath);
}

inline Value originValue(double x, double y) {
  return Value::dictionary(Dictionary{{"x", Value::real(x)}, {"y", Value::real(y)}});
}

inline std::size_t countContaining(const std::vector<std::string>& lines, std::string_view text) {
  return static_cast<std::size_t>(std::count_if(lines.begin(), lines.end(), [&](const auto& line) {
    return line.find(text) != std::string::npos;
  }));
}

}  // namespace prefs_test
