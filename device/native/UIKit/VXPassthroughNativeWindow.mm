// The Objective-C class "VXPassthroughWindow", a UIWindow subclass standing for the product's
// overlay window: overrides UIView's hitTest:withEvent: and pointInside:withEvent: to ask the face
// object (ForwardingHitTest.h); UIKit answers once it is gone.
#import <UIKit/UIKit.h>

#include "native/UIKit/ForwardingHitTest.h"

__attribute__((objc_runtime_name("VXPassthroughWindow")))
@interface VXPassthroughNativeWindow : UIWindow<GWForwardingHitTest>
@end

@implementation VXPassthroughNativeWindow {
  __weak UIEvent* _gwHitTestEvent;
}

GW_FORWARDING_HIT_TEST_METHODS

@end
