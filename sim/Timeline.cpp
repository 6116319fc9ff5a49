#include "sim/Timeline.h"

namespace sim {

void Timeline::record(const TimelineEvent& event) {
  ++count_;
  if (printer_) printer_->print(event);
}

void Timeline::record(double time, std::string name, Foundation::Dictionary fields) {
  record(TimelineEvent{time, std::move(name), std::move(fields)});
}

void Timeline::finish() {
  if (printer_) printer_->finish();
}

}  // namespace sim
