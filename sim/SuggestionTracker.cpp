#include "sim/SuggestionTracker.h"

#include "sim/EventWording.h"

namespace sim {

SuggestionTracker::Step SuggestionTracker::follow(const TimelineEvent& event) {
  const std::string& name = event.name;
  if (name == "button") {
    const std::string state = EventWording::text(event, "state");
    if (state == "shown") {
      onScreen_ = true;
      accepted_ = false;
      return Step::Offered;
    }
    if (state == "removed" && onScreen_) {
      onScreen_ = false;
      return accepted_ ? Step::Ended : Step::Withdrawn;
    }
  } else if (name == "lock") {
    // A `lock` event without "on" reads as the lock off, as its words say.
    const Foundation::Value* on = event.fields.find("on");
    const bool lifted = !(on && on->boolValue());
    if (lifted && EventWording::text(event, "by") == "tweak" && untappedOnScreen()) {
      accepted_ = true;
      return Step::Accepted;
    }
  } else if (name == "boot" && onScreen_) {
    onScreen_ = false;
    return accepted_ ? Step::Ended : Step::TakenByRestart;
  }
  return Step::None;
}

}  // namespace sim
