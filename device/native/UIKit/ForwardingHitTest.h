// Objective-C++, for native .mm files only: UIView's hitTest:withEvent: and
// pointInside:withEvent: forwarded to the face object through the hooks NativeView installs
// (which hold it weakly); UIKit answers once the face object is gone or declines.
#pragma once

#ifndef __OBJC__
#error "Objective-C declarations: include from native .mm files only"
#endif

#import <UIKit/UIKit.h>

#include "native/UIKit/NativeView.h"

// UIKit's own answer for a forwarding class, asked by the face's base implementation from inside
// the forwarded call.
@protocol GWForwardingHitTest
- (UIView*)gw_baseHitTest:(CGPoint)point;
- (BOOL)gw_basePointInside:(CGPoint)point;
@end

// The methods of a UIView subclass that adopts GWForwardingHitTest. The class declares the
// instance variable `__weak UIEvent* _gwHitTestEvent`: the event of the hit test under way, kept
// for UIKit's own answer asked from inside it.
#define GW_FORWARDING_HIT_TEST_METHODS                                                   \
  -(UIView*)hitTest : (CGPoint)point withEvent : (UIEvent*)event {                       \
    const gw::native::view::HitTestHooks* hooks =                                        \
        gw::native::view::hitTestHooks((__bridge const void*)self);                      \
    if (!hooks || !hooks->hitTest) return [super hitTest:point withEvent:event];         \
    _gwHitTestEvent = event;                                                             \
    const std::optional<gw::native::Object> hit = hooks->hitTest({point.x, point.y});    \
    _gwHitTestEvent = nil;                                                               \
    if (!hit) return [super hitTest:point withEvent:event];                              \
    return (__bridge UIView*)hit->get();                                                 \
  }                                                                                      \
                                                                                         \
  -(BOOL)pointInside : (CGPoint)point withEvent : (UIEvent*)event {                      \
    const gw::native::view::HitTestHooks* hooks =                                        \
        gw::native::view::hitTestHooks((__bridge const void*)self);                      \
    if (!hooks || !hooks->pointInside) return [super pointInside:point withEvent:event]; \
    _gwHitTestEvent = event;                                                             \
    const std::optional<bool> inside = hooks->pointInside({point.x, point.y});           \
    _gwHitTestEvent = nil;                                                               \
    if (!inside) return [super pointInside:point withEvent:event];                       \
    return *inside ? YES : NO;                                                           \
  }                                                                                      \
                                                                                         \
  -(UIView*)gw_baseHitTest : (CGPoint)point {                                            \
    return [super hitTest:point withEvent:_gwHitTestEvent];                              \
  }                                                                                      \
                                                                                         \
  -(BOOL)gw_basePointInside : (CGPoint)point {                                           \
    return [super pointInside:point withEvent:_gwHitTestEvent];                          \
  }

// Declares and defines the Objective-C class `className` (a subclass of `superclass`) under
// the runtime name `runtimeName`, forwarding its hit testing as above.
#define GW_FORWARDING_HIT_TEST_CLASS(className, superclass, runtimeName) \
  __attribute__((objc_runtime_name(runtimeName)))                        \
  @interface className : superclass<GWForwardingHitTest>                 \
  @end                                                                   \
  @implementation className {                                            \
    __weak UIEvent* _gwHitTestEvent;                                     \
  }                                                                      \
  GW_FORWARDING_HIT_TEST_METHODS                                         \
  @end
