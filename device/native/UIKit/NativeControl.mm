// Wraps UIControl: addTarget:action:forControlEvents:, removeTarget:action:forControlEvents:,
// enabled, selected, highlighted.
#include "native/UIKit/NativeControl.h"

#import <UIKit/UIKit.h>
#import <objc/runtime.h>

#include <utility>

// The target of a control's actions, one selector per event the face listens to; UIKit does
// not keep targets, so the control keeps it as an associated object.
@interface GWControlTarget : NSObject {
 @public
  std::function<void(std::uint64_t)> handler;
  UIControlEvents events;
}
@end

@implementation GWControlTarget
- (void)touchDown {
  if (handler) handler(UIControlEventTouchDown);
}
- (void)touchUpInside {
  if (handler) handler(UIControlEventTouchUpInside);
}
- (void)touchUpOutside {
  if (handler) handler(UIControlEventTouchUpOutside);
}
- (void)touchCancel {
  if (handler) handler(UIControlEventTouchCancel);
}
- (void)valueChanged {
  if (handler) handler(UIControlEventValueChanged);
}
@end

namespace gw::native::control {
namespace {

char targetKey;

UIControl* asControl(const Object& control) {
  id object = (__bridge id)control.get();
  return [object isKindOfClass:[UIControl class]] ? (UIControl*)object : nil;
}

const std::pair<UIControlEvents, SEL> kEventSelectors[] = {
    {UIControlEventTouchDown, @selector(touchDown)},
    {UIControlEventTouchUpInside, @selector(touchUpInside)},
    {UIControlEventTouchUpOutside, @selector(touchUpOutside)},
    {UIControlEventTouchCancel, @selector(touchCancel)},
    {UIControlEventValueChanged, @selector(valueChanged)},
};

}  // namespace

void setEventHandler(const Object& object, std::uint64_t events,
                     std::function<void(std::uint64_t event)> handler) {
  UIControl* control = asControl(object);
  if (!control) return;
  GWControlTarget* old = objc_getAssociatedObject(control, &targetKey);
  if (old) [control removeTarget:old action:NULL forControlEvents:UIControlEventAllEvents];
  GWControlTarget* target = [GWControlTarget new];
  target->handler = std::move(handler);
  target->events = static_cast<UIControlEvents>(events);
  for (const auto& [event, selector] : kEventSelectors) {
    if (events & event) [control addTarget:target action:selector forControlEvents:event];
  }
  objc_setAssociatedObject(control, &targetKey, target, OBJC_ASSOCIATION_RETAIN_NONATOMIC);
}

bool isEnabled(const Object& control) {
  return asControl(control).enabled;
}
void setEnabled(const Object& control, bool enabled) {
  asControl(control).enabled = enabled;
}
bool isSelected(const Object& control) {
  return asControl(control).selected;
}
void setSelected(const Object& control, bool selected) {
  asControl(control).selected = selected;
}
bool isHighlighted(const Object& control) {
  return asControl(control).highlighted;
}
void setHighlighted(const Object& control, bool highlighted) {
  asControl(control).highlighted = highlighted;
}

}  // namespace gw::native::control
