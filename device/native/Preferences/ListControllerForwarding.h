// What the bundle's Objective-C controller classes share: each overrides the framework's
// methods that the product's C++ controllers override or rely on, and forwards them here, to
// the C++ controller's peer. `forwardingClass` is the bundle's class that defines the
// override (its superclass gives the framework's own implementation). Objective-C: for native
// .mm files only.
#pragma once

#ifndef __OBJC__
#error "Objective-C declarations: include from native .mm files only"
#endif

#import "PreferencesInterfaces.h"

// Makes the C++ controller of a new native controller (from -init), once.
void GWPAttachPeer(PSListController* controller, Class forwardingClass);
// Releases the C++ controller (from -dealloc).
void GWPDetachPeer(PSListController* controller);

NSMutableArray* GWPSpecifiers(PSListController* controller, Class forwardingClass);
void GWPReloadSpecifiers(PSListController* controller, Class forwardingClass);
id GWPReadPreferenceValue(PSListController* controller, Class forwardingClass,
                          PSSpecifier* specifier);
void GWPSetPreferenceValue(PSListController* controller, Class forwardingClass, id value,
                           PSSpecifier* specifier);
void GWPLoadView(PSListController* controller, Class forwardingClass);

// Button actions: a row's "action" names a selector the framework sends to the row's target;
// the C++ controller keeps its actions by that name, so the selectors are answered by message
// forwarding rather than by methods of the class.
BOOL GWPRespondsToAction(PSListController* controller, Class forwardingClass, SEL selector);
NSMethodSignature* GWPActionSignature(PSListController* controller, Class forwardingClass,
                                      SEL selector);
BOOL GWPPerformAction(PSListController* controller, Class forwardingClass,
                      NSInvocation* invocation);

// The forwarding methods every bundle controller class `forwardingClass` defines (its own
// overrides, such as -loadView, come beside them).
#define GWP_LIST_CONTROLLER_FORWARDING_METHODS(forwardingClass)                                 \
  -(instancetype)init {                                                                         \
    self = [super init];                                                                        \
    if (self) GWPAttachPeer(self, [forwardingClass class]);                                     \
    return self;                                                                                \
  }                                                                                             \
                                                                                                \
  -(void)dealloc {                                                                              \
    GWPDetachPeer(self);                                                                        \
  }                                                                                             \
                                                                                                \
  -(NSMutableArray*)specifiers {                                                                \
    return GWPSpecifiers(self, [forwardingClass class]);                                        \
  }                                                                                             \
                                                                                                \
  -(void)reloadSpecifiers {                                                                     \
    GWPReloadSpecifiers(self, [forwardingClass class]);                                         \
  }                                                                                             \
                                                                                                \
  -(id)readPreferenceValue : (PSSpecifier*)specifier {                                          \
    return GWPReadPreferenceValue(self, [forwardingClass class], specifier);                    \
  }                                                                                             \
                                                                                                \
  -(void)setPreferenceValue : (id)value specifier : (PSSpecifier*)specifier {                   \
    GWPSetPreferenceValue(self, [forwardingClass class], value, specifier);                     \
  }                                                                                             \
                                                                                                \
  -(BOOL)respondsToSelector : (SEL)selector {                                                   \
    return [super respondsToSelector:selector] ||                                               \
           GWPRespondsToAction(self, [forwardingClass class], selector);                        \
  }                                                                                             \
                                                                                                \
  -(NSMethodSignature*)methodSignatureForSelector : (SEL)selector {                             \
    NSMethodSignature* signature = [super methodSignatureForSelector:selector];                 \
    return signature ? signature : GWPActionSignature(self, [forwardingClass class], selector); \
  }                                                                                             \
                                                                                                \
  -(void)forwardInvocation : (NSInvocation*)invocation {                                        \
    if (!GWPPerformAction(self, [forwardingClass class], invocation)) {                         \
      [super forwardInvocation:invocation];                                                     \
    }                                                                                           \
  }
