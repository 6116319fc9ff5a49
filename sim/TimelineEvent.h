// One line of the simulator's timeline: something the person holding the device could see or
// a check could test, at a moment of device time. `name` is the event kind ("boot",
// "orientation", "lock", "log", ...); `fields` are its data, in the order they are printed.
#pragma once

#include <string>

#include "Foundation/Value.h"

namespace sim {

struct TimelineEvent {
  double time = 0;  // seconds of device time
  std::string name;
  Foundation::Dictionary fields;
};

}  // namespace sim
