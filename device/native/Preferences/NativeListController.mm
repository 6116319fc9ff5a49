// Wraps the Preferences framework's PSListController: its methods (loadSpecifiersFromPlistName:
// target:, insertContiguousSpecifiers:afterSpecifier:animated:, removeContiguousSpecifiers:
// animated:, reloadSpecifier:animated:, reloadSpecifiers, readPreferenceValue:,
// setPreferenceValue:specifier:, specifiers, loadView, table, specifier), its _specifiers
// field, UIViewController's presentation, the runtime's objc_msgSendSuper for the framework's
// own implementations and associated objects for the C++ controller's peer.
#include "NativeListController.h"

#include <map>

#import <objc/message.h>
#import <objc/runtime.h>

#import "ListControllerForwarding.h"

using gw::native::Object;
using gw::native::preferences::ControllerPeer;
using gw::native::preferences::PeerFactory;

// What the face holds of a native controller: the controller, weakly, and the framework's
// class whose implementations are the "base" ones.
@interface GWPControllerHandle : NSObject {
 @public
  __weak PSListController* controller;
  Class superclass;
}
@end

@implementation GWPControllerHandle
@end

// The C++ controller's peer, owned by the native controller through an associated object.
@interface GWPPeerBox : NSObject {
 @public
  std::shared_ptr<ControllerPeer> peer;
  GWPControllerHandle* handle;
  // While the C++ controller builds its rows: the framework asking for them again meanwhile
  // gets the rows it has rather than a second build.
  BOOL buildingRows;
}
@end

@implementation GWPPeerBox
@end

namespace {

const char kPeerKey = 0;

std::map<std::string, PeerFactory, std::less<>>& peerFactories() {
  static std::map<std::string, PeerFactory, std::less<>> factories;
  return factories;
}

Object wrap(id object) {
  return Object::retaining((__bridge const void*)object);
}

id objectOf(const Object& object) {
  return (__bridge id)object.get();
}

GWPPeerBox* boxOf(PSListController* controller) {
  return controller ? objc_getAssociatedObject(controller, &kPeerKey) : nil;
}

std::shared_ptr<ControllerPeer> peerOf(PSListController* controller, Class forwardingClass) {
  if (!boxOf(controller)) GWPAttachPeer(controller, forwardingClass);
  GWPPeerBox* box = boxOf(controller);
  return box ? box->peer : nullptr;
}

// The controller and its framework class behind a handle; nil once the controller is gone.
struct Resolved {
  PSListController* controller = nil;
  Class superclass = Nil;
};

Resolved resolve(const Object& handle) {
  Resolved resolved;
  id object = objectOf(handle);
  if (![object isKindOfClass:[GWPControllerHandle class]]) return resolved;
  GWPControllerHandle* known = object;
  resolved.controller = known->controller;
  resolved.superclass = known->superclass;
  return resolved;
}

std::vector<Object> objectsOf(NSArray* array) {
  std::vector<Object> objects;
  if (![array isKindOfClass:[NSArray class]]) return objects;
  objects.reserve(array.count);
  for (id element in array) objects.push_back(wrap(element));
  return objects;
}

NSMutableArray* arrayOf(const std::vector<Object>& objects) {
  NSMutableArray* array = [NSMutableArray arrayWithCapacity:objects.size()];
  for (const Object& object : objects) {
    if (id element = objectOf(object)) [array addObject:element];
  }
  return array;
}

bool sameRows(NSArray* shown, const std::vector<Object>& rows) {
  if (!shown || shown.count != rows.size()) return false;
  for (NSUInteger i = 0; i < rows.size(); ++i) {
    if (shown[i] != objectOf(rows[i])) return false;
  }
  return true;
}

// Calls the framework's own implementation of `selector` on `controller`.
template <typename Result, typename... Args>
Result callSuper(PSListController* controller, Class superclass, SEL selector, Args... args) {
  struct objc_super base = {controller, superclass};
  using Send = Result (*)(struct objc_super*, SEL, Args...);
  return reinterpret_cast<Send>(objc_msgSendSuper)(&base, selector, args...);
}

std::string actionName(SEL selector) {
  const char* name = sel_getName(selector);
  return name ? std::string(name) : std::string();
}

}  // namespace

// ---- the bundle's classes' side ------------------------------------------------------------

void GWPAttachPeer(PSListController* controller, Class forwardingClass) {
  if (!controller || !forwardingClass || boxOf(controller)) return;
  GWPControllerHandle* handle = [[GWPControllerHandle alloc] init];
  handle->controller = controller;
  handle->superclass = class_getSuperclass(forwardingClass);
  GWPPeerBox* box = [[GWPPeerBox alloc] init];
  box->handle = handle;
  // Kept before the factory runs, so that a C++ constructor calling back finds no second peer.
  objc_setAssociatedObject(controller, &kPeerKey, box, OBJC_ASSOCIATION_RETAIN_NONATOMIC);
  const char* name = class_getName(forwardingClass);
  auto& factories = peerFactories();
  auto factory = factories.find(name ? name : "");
  if (factory != factories.end()) {
    box->peer = factory->second(wrap(handle));
  } else {
    NSLog(@"<VXTweak> no C++ controller is registered for %s", name ? name : "?");
  }
}

void GWPDetachPeer(PSListController* controller) {
  GWPPeerBox* box = boxOf(controller);
  if (!box) return;
  // Released here rather than with the associated object, so the C++ controller goes exactly
  // when its native controller does.
  std::shared_ptr<ControllerPeer> peer = std::move(box->peer);
  box->peer.reset();
  peer.reset();
}

NSMutableArray* GWPSpecifiers(PSListController* controller, Class forwardingClass) {
  std::shared_ptr<ControllerPeer> peer = peerOf(controller, forwardingClass);
  if (!peer) {
    return callSuper<NSMutableArray*>(controller, class_getSuperclass(forwardingClass),
                                      @selector(specifiers));
  }
  GWPPeerBox* box = boxOf(controller);
  if (box->buildingRows) return controller->_specifiers;
  // The framework empties its rows to have them built again (reloadSpecifiers and the like).
  if (!controller->_specifiers) peer->forgetSpecifiers();
  box->buildingRows = YES;
  const std::vector<Object> rows = peer->specifiers();
  box->buildingRows = NO;
  if (!sameRows(controller->_specifiers, rows)) controller->_specifiers = arrayOf(rows);
  return controller->_specifiers;
}

void GWPReloadSpecifiers(PSListController* controller, Class forwardingClass) {
  std::shared_ptr<ControllerPeer> peer = peerOf(controller, forwardingClass);
  if (!peer) {
    callSuper<void>(controller, class_getSuperclass(forwardingClass), @selector(reloadSpecifiers));
    return;
  }
  peer->reloadSpecifiers();
}

id GWPReadPreferenceValue(PSListController* controller, Class forwardingClass,
                          PSSpecifier* specifier) {
  std::shared_ptr<ControllerPeer> peer = peerOf(controller, forwardingClass);
  if (!peer) {
    return callSuper<id>(controller, class_getSuperclass(forwardingClass),
                         @selector(readPreferenceValue:), specifier);
  }
  Object value = peer->readPreferenceValue(wrap(specifier));
  return objectOf(value);
}

void GWPSetPreferenceValue(PSListController* controller, Class forwardingClass, id value,
                           PSSpecifier* specifier) {
  std::shared_ptr<ControllerPeer> peer = peerOf(controller, forwardingClass);
  if (!peer) {
    callSuper<void>(controller, class_getSuperclass(forwardingClass),
                    @selector(setPreferenceValue:specifier:), value, specifier);
    return;
  }
  peer->setPreferenceValue(wrap(value), wrap(specifier));
}

void GWPLoadView(PSListController* controller, Class forwardingClass) {
  std::shared_ptr<ControllerPeer> peer = peerOf(controller, forwardingClass);
  if (!peer) {
    callSuper<void>(controller, class_getSuperclass(forwardingClass), @selector(loadView));
    return;
  }
  peer->loadView();
}

BOOL GWPRespondsToAction(PSListController* controller, Class forwardingClass, SEL selector) {
  std::shared_ptr<ControllerPeer> peer = peerOf(controller, forwardingClass);
  return peer && peer->hasAction(actionName(selector));
}

NSMethodSignature* GWPActionSignature(PSListController* controller, Class forwardingClass,
                                      SEL selector) {
  if (!GWPRespondsToAction(controller, forwardingClass, selector)) return nil;
  // "name:" takes the tapped row; "name" takes nothing.
  const std::string name = actionName(selector);
  const bool takesRow = !name.empty() && name.back() == ':';
  return [NSMethodSignature signatureWithObjCTypes:takesRow ? "v@:@" : "v@:"];
}

BOOL GWPPerformAction(PSListController* controller, Class forwardingClass,
                      NSInvocation* invocation) {
  std::shared_ptr<ControllerPeer> peer = peerOf(controller, forwardingClass);
  const std::string name = actionName(invocation.selector);
  if (!peer || !peer->hasAction(name)) return NO;
  __unsafe_unretained id argument = nil;
  if (invocation.methodSignature.numberOfArguments > 2) {
    [invocation getArgument:&argument atIndex:2];
  }
  PSSpecifier* row = [argument isKindOfClass:[PSSpecifier class]] ? argument : nil;
  peer->performAction(name, wrap(row));
  return YES;
}

// ---- the face's side -------------------------------------------------------------------------

namespace gw::native::preferences {

bool registerPeerFactory(const std::string& className, PeerFactory factory) {
  if (className.empty() || !factory) return false;
  peerFactories()[className] = std::move(factory);
  return true;
}

std::shared_ptr<void> controllerBehind(const Object& nativeController) {
  id object = objectOf(nativeController);
  if (![object isKindOfClass:[PSListController class]]) return nullptr;
  GWPPeerBox* box = boxOf(object);
  return box && box->peer ? box->peer->controller() : nullptr;
}

Object controllerOf(const Object& handle) {
  return wrap(resolve(handle).controller);
}

std::vector<Object> loadSpecifiersFromPlistName(const Object& handle, const std::string& name,
                                                const Object& target) {
  PSListController* controller = resolve(handle).controller;
  NSString* plistName = [[NSString alloc] initWithBytes:name.data()
                                                 length:name.size()
                                               encoding:NSUTF8StringEncoding];
  if (!controller || !plistName) return {};
  return objectsOf([controller loadSpecifiersFromPlistName:plistName
                                                    target:resolve(target).controller]);
}

std::vector<Object> shownSpecifiers(const Object& handle) {
  PSListController* controller = resolve(handle).controller;
  return controller ? objectsOf(controller->_specifiers) : std::vector<Object>();
}

void insertContiguousSpecifiers(const Object& handle, const std::vector<Object>& specifiers,
                                const Object& afterSpecifier, bool animated) {
  [resolve(handle).controller insertContiguousSpecifiers:arrayOf(specifiers)
                                          afterSpecifier:objectOf(afterSpecifier)
                                                animated:animated];
}

void removeContiguousSpecifiers(const Object& handle, const std::vector<Object>& specifiers,
                                bool animated) {
  [resolve(handle).controller removeContiguousSpecifiers:arrayOf(specifiers) animated:animated];
}

void reloadSpecifier(const Object& handle, const Object& specifier, bool animated) {
  PSSpecifier* row = objectOf(specifier);
  if (row) [resolve(handle).controller reloadSpecifier:row animated:animated];
}

std::vector<Object> baseSpecifiers(const Object& handle) {
  Resolved resolved = resolve(handle);
  if (!resolved.controller) return {};
  return objectsOf(
      callSuper<NSMutableArray*>(resolved.controller, resolved.superclass, @selector(specifiers)));
}

void baseReloadSpecifiers(const Object& handle) {
  Resolved resolved = resolve(handle);
  if (!resolved.controller) return;
  callSuper<void>(resolved.controller, resolved.superclass, @selector(reloadSpecifiers));
}

Object baseReadPreferenceValue(const Object& handle, const Object& specifier) {
  Resolved resolved = resolve(handle);
  PSSpecifier* row = objectOf(specifier);
  if (!resolved.controller || !row) return {};
  return wrap(callSuper<id>(resolved.controller, resolved.superclass,
                            @selector(readPreferenceValue:), row));
}

void baseSetPreferenceValue(const Object& handle, const Object& value, const Object& specifier) {
  Resolved resolved = resolve(handle);
  PSSpecifier* row = objectOf(specifier);
  if (!resolved.controller || !row) return;
  callSuper<void>(resolved.controller, resolved.superclass,
                  @selector(setPreferenceValue:specifier:), objectOf(value), row);
}

void baseLoadView(const Object& handle) {
  Resolved resolved = resolve(handle);
  if (!resolved.controller) return;
  callSuper<void>(resolved.controller, resolved.superclass, @selector(loadView));
}

Object table(const Object& handle) {
  return wrap([resolve(handle).controller table]);
}

Object parentSpecifier(const Object& handle) {
  return wrap(resolve(handle).controller.specifier);
}

void setParentSpecifier(const Object& handle, const Object& specifier) {
  PSListController* controller = resolve(handle).controller;
  if (controller) controller.specifier = objectOf(specifier);
}

void presentViewController(const Object& handle, const Object& viewController, bool animated,
                           std::function<void()> completion) {
  PSListController* controller = resolve(handle).controller;
  UIViewController* presented = objectOf(viewController);
  if (!controller || ![presented isKindOfClass:[UIViewController class]]) return;
  [controller presentViewController:presented
                           animated:animated
                         completion:^{
                           if (completion) completion();
                         }];
}

void dismissViewController(const Object& handle, bool animated, std::function<void()> completion) {
  [resolve(handle).controller dismissViewControllerAnimated:animated
                                                 completion:^{
                                                   if (completion) completion();
                                                 }];
}

Object presentedViewController(const Object& handle) {
  return wrap(resolve(handle).controller.presentedViewController);
}

}  // namespace gw::native::preferences
