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

GWP_LIST_CONTROLLER_FORWARDING_METHODS(GWVXPApplicationsController)

@end
