// The bundle's application picker as the Preferences framework sees it: a subclass of AltList's
// ATLApplicationListSubcontrollerController under the runtime name VXPApplicationsController
// (the "detail" class of a row of the "Root" list), forwarding to the C++ controller of the
// same name. Wraps the overridable methods of AltList's page and NSObject's message forwarding.
#import "native/AltList/AltListInterfaces.h"
#import "native/Preferences/ListControllerForwarding.h"

__attribute__((objc_runtime_name("VXPApplicationsController")))
@interface GWVXPApplicationsController : ATLApplicationListSubcontrollerController
@end

@implementation GWVXPApplicationsController

- (instancetype)init {
  self = [super init];
  if (self) GWPAttachPeer(self, [GWVXPApplicationsController class]);
  return self;
}

- (void)dealloc {
  GWPDetachPeer(self);
}

- (NSMutableArray*)specifiers {
  return GWPSpecifiers(self, [GWVXPApplicationsController class]);
}

- (void)reloadSpecifiers {
  GWPReloadSpecifiers(self, [GWVXPApplicationsController class]);
}

- (id)readPreferenceValue:(PSSpecifier*)specifier {
  return GWPReadPreferenceValue(self, [GWVXPApplicationsController class], specifier);
}

- (void)setPreferenceValue:(id)value specifier:(PSSpecifier*)specifier {
  GWPSetPreferenceValue(self, [GWVXPApplicationsController class], value, specifier);
}

- (BOOL)respondsToSelector:(SEL)selector {
  return [super respondsToSelector:selector] ||
         GWPRespondsToAction(self, [GWVXPApplicationsController class], selector);
}

- (NSMethodSignature*)methodSignatureForSelector:(SEL)selector {
  NSMethodSignature* signature = [super methodSignatureForSelector:selector];
  return signature ? signature
                   : GWPActionSignature(self, [GWVXPApplicationsController class], selector);
}

- (void)forwardInvocation:(NSInvocation*)invocation {
  if (!GWPPerformAction(self, [GWVXPApplicationsController class], invocation)) {
    [super forwardInvocation:invocation];
  }
}

@end
