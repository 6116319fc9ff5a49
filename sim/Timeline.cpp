#include "sim/Timeline.h"

namespace sim {

void Timeline::record(const TimelineEvent& event) {
  if (captured_) {
    captured_->push_back(event);
    return;
  }
  ++count_;
  if (printer_) printer_->print(event);
}

void Timeline::record(double time, std::string name, Foundation::Dictionary fields) {
  record(TimelineEvent{time, std::move(name), std::move(fields)});
}

std::vector<TimelineEvent> Timeline::capture(const std::function<void()>& work) {
  std::vector<TimelineEvent> events;
  std::vector<TimelineEvent>* outer = captured_;
  captured_ = &events;
  work();
  captured_ = outer;
  return events;
}

void Timeline::finish() {
  if (printer_) printer_->finish();
}

}  // namespace sim
