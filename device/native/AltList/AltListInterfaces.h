// AltList's application picker page, declared here because AltList ships no headers for the
// SDK. Objective-C: for native .mm files only.
#pragma once

#ifndef __OBJC__
#error "Objective-C declarations: include from native .mm files only"
#endif

#import "native/Preferences/PreferencesInterfaces.h"

// Lists the installed applications with a switch each and stores the chosen bundle
// identifiers under the key of the row that opened it. (Its real superclass is AltList's own
// base page, itself a PSListController.)
@interface ATLApplicationListSubcontrollerController : PSListController
@end
