// The bundle's root page as the Preferences framework sees it: a PSListController subclass
// under the runtime name VXPRootListController (the bundle's principal class, which the
// Settings app makes by name from the menu entry), forwarding to the C++ controller of the
// same name. Wraps PSListController's overridable methods and NSObject's message forwarding.
#import "ListControllerForwarding.h"

__attribute__((objc_runtime_name("VXPRootListController")))
@interface GWVXPRootListController : PSListController
@end

@implementation GWVXPRootListController

- (instancetype)init {
  self = [super init];
  if (self) GWPAttachPeer(self, [GWVXPRootListController class]);
  return self;
}

- (void)dealloc {
  GWPDetachPeer(self);
}

- (NSMutableArray*)specifiers {
  return GWPSpecifiers(self, [GWVXPRootListController class]);
}

- (void)reloadSpecifiers {
  GWPReloadSpecifiers(self, [GWVXPRootListController class]);
}

- (id)readPreferenceValue:(PSSpecifier*)specifier {
  return GWPReadPreferenceValue(self, [GWVXPRootListController class], specifier);
}

- (void)setPreferenceValue:(id)value specifier:(PSSpecifier*)specifier {
  GWPSetPreferenceValue(self, [GWVXPRootListController class], value, specifier);
}

- (void)loadView {
  GWPLoadView(self, [GWVXPRootListController class]);
}

- (BOOL)respondsToSelector:(SEL)selector {
  return [super respondsToSelector:selector] ||
         GWPRespondsToAction(self, [GWVXPRootListController class], selector);
}

- (NSMethodSignature*)methodSignatureForSelector:(SEL)selector {
  NSMethodSignature* signature = [super methodSignatureForSelector:selector];
  return signature ? signature
                   : GWPActionSignature(self, [GWVXPRootListController class], selector);
}

- (void)forwardInvocation:(NSInvocation*)invocation {
  if (!GWPPerformAction(self, [GWVXPRootListController class], invocation)) {
    [super forwardInvocation:invocation];
  }
}

@end
