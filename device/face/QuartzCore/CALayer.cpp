// CALayer on the native layer (native/QuartzCore/NativeLayer.h). Until the view hands it its
// native layer, the values and animations wait here.
#include "QuartzCore/CALayer.h"

#include <algorithm>

#include "native/QuartzCore/NativeLayer.h"

namespace nl = gw::native::layer;

namespace {

nl::BasicAnimation toNative(const CABasicAnimation& animation) {
  nl::BasicAnimation native;
  native.keyPath = animation.keyPath();
  if (!animation.fromValue().isNull()) native.fromValue = animation.fromValue().doubleValue();
  if (!animation.toValue().isNull()) native.toValue = animation.toValue().doubleValue();
  native.durationSeconds = animation.duration();
  native.repeatCount = animation.repeatCount();
  native.beginTime = animation.beginTime();
  native.removedOnCompletion = animation.isRemovedOnCompletion();
  return native;
}

}  // namespace

void CALayer::attach(gw::native::Object layer) {
  native_ = std::move(layer);
  if (!native_) return;
  nl::setCornerRadius(native_, cornerRadius_);
  nl::setBorderWidth(native_, borderWidth_);
  nl::setBorderColor(native_, {borderColor_.red(), borderColor_.green(), borderColor_.blue(),
                               borderColor_.alpha()});
  nl::setMasksToBounds(native_, masksToBounds_);
  for (const auto& [key, animation] : animations_) {
    nl::addBasicAnimation(native_, toNative(*animation), key);
  }
}

double CALayer::cornerRadius() const {
  return native_ ? nl::cornerRadius(native_) : cornerRadius_;
}

void CALayer::setCornerRadius(double points) {
  cornerRadius_ = points;
  if (native_) nl::setCornerRadius(native_, points);
}

double CALayer::borderWidth() const {
  return native_ ? nl::borderWidth(native_) : borderWidth_;
}

void CALayer::setBorderWidth(double points) {
  borderWidth_ = points;
  if (native_) nl::setBorderWidth(native_, points);
}

const CGColor& CALayer::borderColor() const {
  if (native_) {
    if (auto c = nl::borderColor(native_))
      borderColor_ = CGColor(c->red, c->green, c->blue, c->alpha);
  }
  return borderColor_;
}

void CALayer::setBorderColor(const CGColor& color) {
  borderColor_ = color;
  if (native_)
    nl::setBorderColor(native_, {color.red(), color.green(), color.blue(), color.alpha()});
}

bool CALayer::masksToBounds() const {
  return native_ ? nl::masksToBounds(native_) : masksToBounds_;
}

void CALayer::setMasksToBounds(bool masks) {
  masksToBounds_ = masks;
  if (native_) nl::setMasksToBounds(native_, masks);
}

void CALayer::addAnimation(const std::shared_ptr<CABasicAnimation>& animation, std::string key) {
  if (!animation) return;
  auto copy = std::make_shared<CABasicAnimation>(*animation);
  if (native_) nl::addBasicAnimation(native_, toNative(*copy), key);
  // Core Animation starts an animation without a begin time when it is committed; the copy
  // records the media time of adding.
  if (copy->beginTime() == 0) copy->setBeginTime(nl::currentMediaTime());
  if (!key.empty()) {
    std::erase_if(animations_, [&key](const auto& entry) { return entry.first == key; });
  }
  animations_.emplace_back(std::move(key), std::move(copy));
}

bool CALayer::isLive(const std::string& key) const {
  return !native_ || nl::hasAnimation(native_, key);
}

std::shared_ptr<const CABasicAnimation> CALayer::animationForKey(std::string_view key) const {
  if (key.empty()) return nullptr;
  for (const auto& [name, animation] : animations_) {
    if (name == key) return isLive(name) ? animation : nullptr;
  }
  return nullptr;
}

std::vector<std::string> CALayer::animationKeys() const {
  std::vector<std::string> keys;
  for (const auto& [name, animation] : animations_) {
    if (!name.empty() && isLive(name)) keys.push_back(name);
  }
  return keys;
}

void CALayer::removeAnimationForKey(std::string_view key) {
  std::erase_if(animations_, [key](const auto& entry) { return entry.first == key; });
  if (native_) nl::removeAnimation(native_, std::string(key));
}

void CALayer::removeAllAnimations() {
  animations_.clear();
  if (native_) nl::removeAllAnimations(native_);
}
