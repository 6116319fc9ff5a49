// Wraps UIGestureRecognizer (initWithTarget:action:, state, enabled, -[UIView
// addGestureRecognizer:] / removeGestureRecognizer:) and UIPanGestureRecognizer
// (translationInView:, setTranslation:inView:).
#include "native/UIKit/NativeGestureRecognizer.h"

#import <UIKit/UIKit.h>
#import <objc/runtime.h>

#include <utility>

// The target of a recogniser's action; UIKit does not keep targets, so the recogniser keeps it
// as an associated object.
@interface GWGestureTarget : NSObject {
 @public
  std::function<void(std::int64_t)> handler;
}
- (void)recognizerFired:(UIGestureRecognizer*)recognizer;
@end

@implementation GWGestureTarget
- (void)recognizerFired:(UIGestureRecognizer*)recognizer {
  if (handler) handler(static_cast<std::int64_t>(recognizer.state));
}
@end

namespace gw::native::gesture {
namespace {

char targetKey;

UIGestureRecognizer* asRecognizer(const Object& recognizer) {
  id object = (__bridge id)recognizer.get();
  return [object isKindOfClass:[UIGestureRecognizer class]] ? (UIGestureRecognizer*)object : nil;
}

UIPanGestureRecognizer* asPan(const Object& recognizer) {
  id object = (__bridge id)recognizer.get();
  return [object isKindOfClass:[UIPanGestureRecognizer class]] ? (UIPanGestureRecognizer*)object
                                                               : nil;
}

UIView* asView(const Object& view) {
  id object = (__bridge id)view.get();
  return [object isKindOfClass:[UIView class]] ? (UIView*)object : nil;
}

}  // namespace

Object make(bool pan, std::function<void(std::int64_t state)> handler) {
  GWGestureTarget* target = [GWGestureTarget new];
  target->handler = std::move(handler);
  Class cls = pan ? [UIPanGestureRecognizer class] : [UIGestureRecognizer class];
  UIGestureRecognizer* recognizer = [[cls alloc] initWithTarget:target
                                                         action:@selector(recognizerFired:)];
  objc_setAssociatedObject(recognizer, &targetKey, target, OBJC_ASSOCIATION_RETAIN_NONATOMIC);
  return Object::retaining((__bridge const void*)recognizer);
}

void addToView(const Object& view, const Object& recognizer) {
  UIGestureRecognizer* native = asRecognizer(recognizer);
  if (native) [asView(view) addGestureRecognizer:native];
}

void removeFromView(const Object& view, const Object& recognizer) {
  UIGestureRecognizer* native = asRecognizer(recognizer);
  if (native) [asView(view) removeGestureRecognizer:native];
}

void setEnabled(const Object& recognizer, bool enabled) {
  asRecognizer(recognizer).enabled = enabled;
}

Point translationInView(const Object& pan, const Object& view) {
  UIPanGestureRecognizer* native = asPan(pan);
  if (!native) return {};
  const CGPoint t = [native translationInView:asView(view)];
  return {t.x, t.y};
}

void setTranslation(const Object& pan, Point translation, const Object& view) {
  [asPan(pan) setTranslation:CGPointMake(translation.x, translation.y) inView:asView(view)];
}

}  // namespace gw::native::gesture
