// The run's timeline: the events that the simulator records, handed to a printer as they
// happen, in order of device time. The runner owns it for the length of one run.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "sim/TimelinePrinter.h"

namespace sim {

class Timeline {
 public:
  explicit Timeline(std::unique_ptr<TimelinePrinter> printer) : printer_(std::move(printer)) {}

  void record(const TimelineEvent& event);
  void record(double time, std::string name, Foundation::Dictionary fields = {});
  // The run is over; the printer writes what it still holds.
  void finish();

  // Runs `work` and gives back, instead of printing them, the events it records; the caller
  // records them again in the order it chooses. For a report that describes the outcome of
  // an input ("where the button is after this drag event") and that belongs before what the
  // input caused in the same instant ("the position was saved"). Captures nest.
  std::vector<TimelineEvent> capture(const std::function<void()>& work);

  std::uint64_t eventCount() const { return count_; }

 private:
  std::unique_ptr<TimelinePrinter> printer_;
  std::uint64_t count_ = 0;
  std::vector<TimelineEvent>* captured_ = nullptr;  // the innermost capture in progress
};

}  // namespace sim
