// Timeline events that the tests of the human timeline build again and again.
#pragma once

#include "Foundation/Value.h"
#include "sim/TimelineEvent.h"

namespace sim {

inline TimelineEvent buttonShown(double t, double x, double y, double size) {
  using Foundation::Value;
  return {t,
          "button",
          {{"state", Value::string("shown")},
           {"x", Value::real(x)},
           {"y", Value::real(y)},
           {"w", Value::real(size)},
           {"h", Value::real(size)}}};
}

inline TimelineEvent buttonRemoved(double t) {
  return {t, "button", {{"state", Foundation::Value::string("removed")}}};
}

// `by`: "user" or "tweak".
inline TimelineEvent lock(double t, bool on, const char* by) {
  using Foundation::Value;
  return {t, "lock", {{"on", Value::boolean(on)}, {"by", Value::string(by)}}};
}

}  // namespace sim
