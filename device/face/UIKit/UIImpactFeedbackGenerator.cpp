// UIImpactFeedbackGenerator on the native generator (native/UIKit/NativeFeedback.h).
#include "UIKit/UIImpactFeedbackGenerator.h"

#include "native/UIKit/NativeFeedback.h"

void UIImpactFeedbackGenerator::impactOccurred() {
  gw::native::feedback::impactOccurred(style_);
}
