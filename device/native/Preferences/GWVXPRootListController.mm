// The bundle's root page as the Preferences framework sees it: a PSListController subclass
// under the runtime name VXPRootListController (the bundle's principal class, which the
// Settings app makes by name from the menu entry), forwarding to the C++ controller of the
// same name. Wraps PSListController's overridable methods and NSObject's message forwarding.
#import "ListControllerForwarding.h"

__attribute__((objc_runtime_name("VXPRootListController")))
@interface GWVXPRootListController : PSListController
@end

@implementation GWVXPRootListController

GWP_LIST_CONTROLLER_FORWARDING_METHODS(GWVXPRootListController)

- (void)loadView {
  GWPLoadView(self, [GWVXPRootListController class]);
}

@end
