// The Objective-C class "VXFab", a UIButton subclass standing for the product's floating button:
// overrides UIView's hitTest:withEvent: and pointInside:withEvent: to ask the face object
// (ForwardingHitTest.h); UIKit answers once it is gone.
#import <UIKit/UIKit.h>

#include "native/UIKit/ForwardingHitTest.h"

GW_FORWARDING_HIT_TEST_CLASS(VXFabButton, UIButton, "VXFab")
