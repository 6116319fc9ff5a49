// The Objective-C class "VXPassthroughWindow", a UIWindow subclass standing for the product's
// overlay window: overrides UIView's hitTest:withEvent: and pointInside:withEvent: to ask the face
// object (ForwardingHitTest.h); UIKit answers once it is gone.
#import <UIKit/UIKit.h>

#include "native/UIKit/ForwardingHitTest.h"

GW_FORWARDING_HIT_TEST_CLASS(VXPassthroughNativeWindow, UIWindow, "VXPassthroughWindow")
