// Where the timeline's events go as they happen. Printers write each event at once, so a
// replay of hours never holds its timeline in memory.
#pragma once

#include "sim/TimelineEvent.h"

namespace sim {

class TimelinePrinter {
 public:
  virtual ~TimelinePrinter() = default;
  virtual void print(const TimelineEvent& event) = 0;
  // The run is over: write what is left (a summary, buffered text).
  virtual void finish() {}
};

}  // namespace sim
