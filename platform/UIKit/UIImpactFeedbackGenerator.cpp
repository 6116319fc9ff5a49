#include "UIKit/UIImpactFeedbackGenerator.h"

#include "Device/Device.h"

void UIImpactFeedbackGenerator::impactOccurred() {
  Device::current().emit("haptic", {{"style", EventValue::integer(style_)}});
}
