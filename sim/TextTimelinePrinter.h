// The timeline for people (the default form): an aligned time column, the event's name and
// its fields as name=value.
//        0.300  orientation   value=1
//        1.000  lock          on=true by=user
#pragma once

#include <ostream>
#include <string>

#include "sim/TimelinePrinter.h"

namespace sim {

class TextTimelinePrinter : public TimelinePrinter {
 public:
  explicit TextTimelinePrinter(std::ostream& out) : out_(out) {}
  void print(const TimelineEvent& event) override;
  void finish() override;

  static std::string format(const TimelineEvent& event);

 private:
  std::ostream& out_;
  std::string line_;
};

}  // namespace sim
