// Wraps UIImpactFeedbackGenerator (initWithStyle:, prepare, impactOccurred).
#include "native/UIKit/NativeFeedback.h"

#import <UIKit/UIKit.h>

namespace gw::native::feedback {

void impactOccurred(std::int64_t style) {
  UIImpactFeedbackGenerator* generator =
      [[UIImpactFeedbackGenerator alloc] initWithStyle:static_cast<UIImpactFeedbackStyle>(style)];
  [generator prepare];
  [generator impactOccurred];
}

}  // namespace gw::native::feedback
