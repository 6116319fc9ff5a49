// Wraps UIWindow (windowScene, windowLevel, hidden, makeKeyAndVisible, makeKeyWindow,
// rootViewController, the private setAutorotates: and _setSecure:, +valueForKey: @"keyWindow")
// and UIApplication's connectedScenes.
#include "native/UIKit/NativeWindow.h"

#import <UIKit/UIKit.h>

namespace gw::native::window {
namespace {

UIWindow* asWindow(const Object& window) {
  id object = (__bridge id)window.get();
  return [object isKindOfClass:[UIWindow class]] ? (UIWindow*)object : nil;
}

UIWindowScene* activeWindowScene() {
  UIWindowScene* first = nil;
  for (UIScene* scene in [UIApplication sharedApplication].connectedScenes) {
    if (![scene isKindOfClass:[UIWindowScene class]]) continue;
    if (scene.activationState == UISceneActivationStateForegroundActive) {
      return (UIWindowScene*)scene;
    }
    if (!first) first = (UIWindowScene*)scene;
  }
  return first;
}

// Sends a private one-BOOL setter when the window has it.
void sendBool(UIWindow* window, SEL selector, bool value) {
  if (![window respondsToSelector:selector]) return;
  auto send = reinterpret_cast<void (*)(id, SEL, BOOL)>([window methodForSelector:selector]);
  send(window, selector, value ? YES : NO);
}

}  // namespace

void attachToActiveScene(const Object& object) {
  UIWindow* window = asWindow(object);
  if (!window || window.windowScene) return;
  if (UIWindowScene* scene = activeWindowScene()) window.windowScene = scene;
}

double windowLevel(const Object& window) {
  return asWindow(window).windowLevel;
}

void setWindowLevel(const Object& window, double level) {
  asWindow(window).windowLevel = level;
}

void show(const Object& window) {
  attachToActiveScene(window);
  asWindow(window).hidden = NO;
}

void makeKeyAndVisible(const Object& window) {
  attachToActiveScene(window);
  [asWindow(window) makeKeyAndVisible];
}

void makeKey(const Object& window) {
  [asWindow(window) makeKeyWindow];
}

bool isKey(const Object& window) {
  return asWindow(window).keyWindow;
}

void setRootViewController(const Object& window, const Object& controller) {
  id object = (__bridge id)controller.get();
  asWindow(window).rootViewController =
      [object isKindOfClass:[UIViewController class]] ? (UIViewController*)object : nil;
}

void setAutorotates(const Object& window, bool autorotates) {
  sendBool(asWindow(window), NSSelectorFromString(@"setAutorotates:"), autorotates);
}

void setSecure(const Object& window, bool secure) {
  sendBool(asWindow(window), NSSelectorFromString(@"_setSecure:"), secure);
}

Object keyWindow() {
  id key = nil;
  @try {
    key = [UIWindow valueForKey:@"keyWindow"];
  } @catch (NSException*) {  // valueForKey: raises for a key the class does not have
    key = nil;
  }
  UIWindow* window = [key isKindOfClass:[UIWindow class]] ? (UIWindow*)key : nil;
  return Object::retaining((__bridge const void*)window);
}

}  // namespace gw::native::window
