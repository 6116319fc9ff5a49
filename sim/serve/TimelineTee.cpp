#include "sim/serve/TimelineTee.h"

namespace sim {

void TimelineTee::print(const TimelineEvent& event) {
  first_->print(event);
  second_->print(event);
}

void TimelineTee::finish() {
  first_->finish();
  second_->finish();
}

}  // namespace sim
