// The Objective-C class "VXFab", a UIButton subclass standing for the product's floating button:
// overrides UIView's hitTest:withEvent: and pointInside:withEvent: to ask the face object
// (through the hooks NativeView installs, which hold it weakly); UIKit answers once it is gone.
#import <UIKit/UIKit.h>

#include "native/UIKit/NativeView.h"

@protocol GWForwardingHitTest
- (UIView*)gw_baseHitTest:(CGPoint)point;
- (BOOL)gw_basePointInside:(CGPoint)point;
@end

__attribute__((objc_runtime_name("VXFab")))
@interface VXFabButton : UIButton<GWForwardingHitTest>
@end

@implementation VXFabButton {
  // The event of the hit test under way, for UIKit's own answer asked from inside it.
  __weak UIEvent* _event;
}

- (UIView*)hitTest:(CGPoint)point withEvent:(UIEvent*)event {
  const gw::native::view::HitTestHooks* hooks =
      gw::native::view::hitTestHooks((__bridge const void*)self);
  if (!hooks || !hooks->hitTest) return [super hitTest:point withEvent:event];
  _event = event;
  const std::optional<gw::native::Object> hit = hooks->hitTest({point.x, point.y});
  _event = nil;
  if (!hit) return [super hitTest:point withEvent:event];
  UIView* view = (__bridge UIView*)hit->get();
  return view;
}

- (BOOL)pointInside:(CGPoint)point withEvent:(UIEvent*)event {
  const gw::native::view::HitTestHooks* hooks =
      gw::native::view::hitTestHooks((__bridge const void*)self);
  if (!hooks || !hooks->pointInside) return [super pointInside:point withEvent:event];
  _event = event;
  const std::optional<bool> inside = hooks->pointInside({point.x, point.y});
  _event = nil;
  if (!inside) return [super pointInside:point withEvent:event];
  return *inside ? YES : NO;
}

- (UIView*)gw_baseHitTest:(CGPoint)point {
  return [super hitTest:point withEvent:_event];
}

- (BOOL)gw_basePointInside:(CGPoint)point {
  return [super pointInside:point withEvent:_event];
}

@end
