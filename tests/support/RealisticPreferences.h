// A preferences file as a user who has set everything would have it: every known setting under
// its full key, the dragged button position, and a long blacklist.
#pragma once

#include <cstdio>
#include <string>

#include "Foundation/Value.h"

namespace test_support {

inline constexpr const char* kBlockedBundleId = "com.example.blocked";

// Every known setting in the file's form (type word in the key, stored value of the file's
// kind), with `blacklistCount` bundle identifiers in "BlacklistedApps", the first of which is
// kBlockedBundleId.
inline Foundation::Dictionary realisticPreferences(int blacklistCount) {
  using Foundation::Value;
  Foundation::Array blacklist;
  blacklist.reserve(static_cast<std::size_t>(blacklistCount));
  for (int i = 0; i < blacklistCount; ++i) {
    char id[64];
    std::snprintf(id, sizeof id, "com.vendor%03d.application-%03d", i % 37, i);
    blacklist.push_back(Value::string(i == 0 ? kBlockedBundleId : id));
  }
  return Foundation::Dictionary{
      {"pToggleIsEnabled", Value::boolean(true)},
      {"pSliderDisappearInterval", Value::real(3.0)},
      {"pMultipleChoiceBlacklistedApps", Value::array(std::move(blacklist))},
      {"pColorPickerFABBgColor", Value::string("#3A7BD5:0.85")},
      {"pSegmentedButtonSize", Value::integer(2)},
      {"pSegmentedFeedbackStyle", Value::integer(3)},
      {"pToggleShouldAnimateFAB", Value::boolean(true)},
      {"pOtherOrigin", Value::dictionary(Foundation::Dictionary{{"x", Value::real(150.0)},
                                                                {"y", Value::real(420.5)}})},
  };
}

}  // namespace test_support
