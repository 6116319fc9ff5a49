// What the timeline's events mean for the suggestion on screen, the one reading of them that
// the summary's counts and the pictures' captions share. A suggestion is offered when the
// button is shown; accepted when Gyrowhirl lifts the orientation lock while it is up (what the
// button's tap does; the user turning the lock off is no answer to the suggestion); withdrawn
// when the button goes, or a restarted home screen takes it, before it was accepted.
#pragma once

#include "sim/TimelineEvent.h"

namespace sim {

class SuggestionTracker {
 public:
  enum class Step {
    None,            // nothing that concerns the suggestion
    Offered,         // the button was shown
    Accepted,        // Gyrowhirl lifted the lock while the button was up
    Withdrawn,       // the button went untapped
    TakenByRestart,  // a home screen that started again took the untapped button with it
    Ended,           // the button went after its suggestion was accepted
  };

  // Follows the suggestion through `event` (events in time order).
  Step follow(const TimelineEvent& event);
  // A button is on screen and its suggestion was not accepted.
  bool untappedOnScreen() const { return onScreen_ && !accepted_; }

 private:
  bool onScreen_ = false;
  bool accepted_ = false;
};

}  // namespace sim
