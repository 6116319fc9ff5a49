// Things that happen on the simulated device and that an outside observer (the simulator's
// timeline, a test) may want to see: a system-wide notification posted, a file written, the
// orientation lock changed, a haptic played. Stand-ins emit them; nothing in the system's own
// code reads them.
#pragma once

#include <string>

#include "Device/EventFields.h"

struct DeviceEvent {
  double time = 0;     // virtual seconds since the device started
  std::string name;    // "notify", "file", "lock", "haptic", "view", ...
  EventFields fields;  // in the order the emitter gives them
};
