// Wraps the home screen's private interfaces, declared here under the names the system uses:
// -[SpringBoard _accessibilityFrontMostApplication], -[SpringBoard isLocked],
// -[SpringBoard _frontMostAppOrientation], -[SBApplication bundleIdentifier],
// -[SBApplication info], -[SBApplicationInfo installInstanceID],
// -[SBApplicationInfo supportedInterfaceOrientations], -[SBApplicationInfo bundleURL],
// +[SBOrientationLockManager sharedInstance], -[SBOrientationLockManager isUserLocked], -lock,
// -unlock. Classes are looked up by name at run time: the tweak never links against them.
#include "native/SpringBoard/NativeSpringBoard.h"

#import <UIKit/UIKit.h>

@interface SpringBoard : UIApplication
- (id)_accessibilityFrontMostApplication;
- (BOOL)isLocked;
- (long long)_frontMostAppOrientation;
@end

@interface SBApplicationInfo : NSObject
- (id)installInstanceID;
- (unsigned long long)supportedInterfaceOrientations;
- (NSURL*)bundleURL;
@end

@interface SBApplication : NSObject
- (NSString*)bundleIdentifier;
- (SBApplicationInfo*)info;
@end

@interface SBOrientationLockManager : NSObject
+ (instancetype)sharedInstance;
- (BOOL)isUserLocked;
- (void)lock;
- (void)unlock;
@end

namespace gw::native::springboard {

namespace {

template <typename T>
T* objectOf(const Object& object) {
  return (__bridge T*)object.get();
}

bool answers(const Object& object, SEL selector) {
  return object && [(__bridge id)object.get() respondsToSelector:selector];
}

Object retained(id object) {
  return Object::retaining((__bridge const void*)object);
}

std::string textOf(NSString* string) {
  const char* text = string.UTF8String;
  return text ? std::string(text) : std::string();
}

}  // namespace

Object sharedApplication() {
  return retained([UIApplication sharedApplication]);
}

bool isHomeScreenApplication(const Object& application) {
  Class springBoardClass = NSClassFromString(@"SpringBoard");
  return application && springBoardClass != nil &&
         [(__bridge id)application.get() isKindOfClass:springBoardClass];
}

Object frontMostApplication(const Object& springBoard) {
  if (!answers(springBoard, @selector(_accessibilityFrontMostApplication))) return {};
  return retained([objectOf<SpringBoard>(springBoard) _accessibilityFrontMostApplication]);
}

bool isLocked(const Object& springBoard) {
  return answers(springBoard, @selector(isLocked)) && [objectOf<SpringBoard>(springBoard) isLocked];
}

long long frontMostAppOrientation(const Object& springBoard) {
  if (!answers(springBoard, @selector(_frontMostAppOrientation))) return 1;
  return [objectOf<SpringBoard>(springBoard) _frontMostAppOrientation];
}

std::string bundleIdentifier(const Object& application) {
  if (!answers(application, @selector(bundleIdentifier))) return {};
  return textOf([objectOf<SBApplication>(application) bundleIdentifier]);
}

Object applicationInfo(const Object& application) {
  if (!answers(application, @selector(info))) return {};
  return retained([objectOf<SBApplication>(application) info]);
}

std::string installInstanceID(const Object& info) {
  if (!answers(info, @selector(installInstanceID))) return {};
  id identifier = [objectOf<SBApplicationInfo>(info) installInstanceID];
  if ([identifier isKindOfClass:[NSURL class]]) return textOf([identifier absoluteString]);
  if ([identifier isKindOfClass:[NSString class]]) return textOf(identifier);
  return {};
}

unsigned supportedInterfaceOrientations(const Object& info) {
  if (!answers(info, @selector(supportedInterfaceOrientations))) return 0;
  return static_cast<unsigned>([objectOf<SBApplicationInfo>(info) supportedInterfaceOrientations]);
}

std::string bundlePath(const Object& info) {
  if (!answers(info, @selector(bundleURL))) return {};
  std::string path = textOf([objectOf<SBApplicationInfo>(info) bundleURL].path);
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  return path;
}

Object orientationLockManager() {
  Class managerClass = NSClassFromString(@"SBOrientationLockManager");
  if (managerClass == nil || ![managerClass respondsToSelector:@selector(sharedInstance)])
    return {};
  return retained([(id)managerClass sharedInstance]);
}

bool isUserLocked(const Object& manager) {
  return answers(manager, @selector(isUserLocked)) &&
         [objectOf<SBOrientationLockManager>(manager) isUserLocked];
}

void lockOrientation(const Object& manager) {
  if (answers(manager, @selector(lock))) [objectOf<SBOrientationLockManager>(manager) lock];
}

void unlockOrientation(const Object& manager) {
  if (answers(manager, @selector(unlock))) [objectOf<SBOrientationLockManager>(manager) unlock];
}

}  // namespace gw::native::springboard
