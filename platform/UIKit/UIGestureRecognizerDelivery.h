// How the platform's input service (UITouchInput) and tests hand a gesture recogniser its
// events.
#pragma once

#include "UIKit/UIGestureRecognizer.h"

class UIGestureRecognizerDelivery {
 public:
  // Sets the recogniser's state and sends every action once, in the order they were added.
  static void deliverState(UIGestureRecognizer& recognizer, UIGestureRecognizerState state) {
    recognizer.deliverState(state);
  }
};
