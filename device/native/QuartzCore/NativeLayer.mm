// Wraps CALayer (cornerRadius, borderWidth, borderColor, masksToBounds, addAnimation:forKey:,
// animationForKey:, removeAnimationForKey:, removeAllAnimations), CABasicAnimation
// (animationWithKeyPath:, fromValue, toValue, duration, repeatCount, beginTime,
// removedOnCompletion) and CACurrentMediaTime.
#include "native/QuartzCore/NativeLayer.h"

#import <QuartzCore/QuartzCore.h>
#import <UIKit/UIKit.h>

#include "native/UIKit/NativeColor.h"

namespace gw::native::layer {
namespace {

CALayer* asLayer(const Object& layer) {
  id object = (__bridge id)layer.get();
  return [object isKindOfClass:[CALayer class]] ? (CALayer*)object : nil;
}

NSString* toNSString(const std::string& text) {
  return [NSString stringWithUTF8String:text.c_str()];
}

NSNumber* toNumber(const std::optional<double>& value) {
  return value ? [NSNumber numberWithDouble:*value] : nil;
}

}  // namespace

double cornerRadius(const Object& layer) {
  return asLayer(layer).cornerRadius;
}
void setCornerRadius(const Object& layer, double points) {
  asLayer(layer).cornerRadius = points;
}
double borderWidth(const Object& layer) {
  return asLayer(layer).borderWidth;
}
void setBorderWidth(const Object& layer, double points) {
  asLayer(layer).borderWidth = points;
}
std::optional<Color> borderColor(const Object& layer) {
  return color::componentsOfCGColor(asLayer(layer).borderColor);
}
void setBorderColor(const Object& layer, Color value) {
  UIColor* native = (__bridge UIColor*)color::makeUIColor(value).get();
  asLayer(layer).borderColor = native.CGColor;
}
bool masksToBounds(const Object& layer) {
  return asLayer(layer).masksToBounds;
}
void setMasksToBounds(const Object& layer, bool masks) {
  asLayer(layer).masksToBounds = masks;
}

void addBasicAnimation(const Object& layer, const BasicAnimation& animation,
                       const std::string& key) {
  CALayer* native = asLayer(layer);
  NSString* keyPath = toNSString(animation.keyPath);
  if (!native || !keyPath) return;
  CABasicAnimation* basic = [CABasicAnimation animationWithKeyPath:keyPath];
  basic.fromValue = toNumber(animation.fromValue);
  basic.toValue = toNumber(animation.toValue);
  if (animation.durationSeconds > 0) basic.duration = animation.durationSeconds;
  basic.repeatCount = animation.repeatCount;
  basic.beginTime = animation.beginTime;
  basic.removedOnCompletion = animation.removedOnCompletion;
  [native addAnimation:basic forKey:key.empty() ? nil : toNSString(key)];
}

bool hasAnimation(const Object& layer, const std::string& key) {
  NSString* name = toNSString(key);
  return name && [asLayer(layer) animationForKey:name] != nil;
}

void removeAnimation(const Object& layer, const std::string& key) {
  NSString* name = toNSString(key);
  if (name) [asLayer(layer) removeAnimationForKey:name];
}

void removeAllAnimations(const Object& layer) {
  [asLayer(layer) removeAllAnimations];
}

double currentMediaTime() {
  return CACurrentMediaTime();
}

}  // namespace gw::native::layer
