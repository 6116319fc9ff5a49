// A timeline printer that hands every event to two printers, in order: a live session keeps
// the human form and JSON Lines of one run.
#pragma once

#include <memory>

#include "sim/TimelinePrinter.h"

namespace sim {

class TimelineTee : public TimelinePrinter {
 public:
  TimelineTee(std::unique_ptr<TimelinePrinter> first, std::unique_ptr<TimelinePrinter> second)
      : first_(std::move(first)), second_(std::move(second)) {}
  void print(const TimelineEvent& event) override;
  void finish() override;

 private:
  std::unique_ptr<TimelinePrinter> first_;
  std::unique_ptr<TimelinePrinter> second_;
};

}  // namespace sim
