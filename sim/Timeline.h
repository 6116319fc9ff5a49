// The run's timeline: the events that the simulator records, handed to a printer as they
// happen, in order of device time. The runner owns it for the length of one run.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "sim/TimelinePrinter.h"

namespace sim {

class Timeline {
 public:
  explicit Timeline(std::unique_ptr<TimelinePrinter> printer) : printer_(std::move(printer)) {}

  void record(const TimelineEvent& event);
  void record(double time, std::string name, Foundation::Dictionary fields = {});
  // The run is over; the printer writes what it still holds.
  void finish();

  std::uint64_t eventCount() const { return count_; }

 private:
  std::unique_ptr<TimelinePrinter> printer_;
  std::uint64_t count_ = 0;
};

}  // namespace sim
