#include "QuartzCore/CALayer.h"

#include <algorithm>

#include "Device/Device.h"

void CALayer::addAnimation(const std::shared_ptr<CABasicAnimation>& animation, std::string key) {
  if (!animation) return;
  auto copy = std::make_shared<CABasicAnimation>(*animation);
  if (copy->beginTime() == 0) copy->setBeginTime(Device::current().now());
  if (!key.empty()) removeAnimationForKey(key);
  animations_.emplace_back(std::move(key), std::move(copy));
}

bool CALayer::isLive(const CABasicAnimation& animation) const {
  return !animation.isRemovedOnCompletion() || Device::current().now() < animation.endTime();
}

std::shared_ptr<const CABasicAnimation> CALayer::animationForKey(std::string_view key) const {
  if (key.empty()) return nullptr;
  for (const auto& [name, animation] : animations_) {
    if (name == key) return isLive(*animation) ? animation : nullptr;
  }
  return nullptr;
}

std::vector<std::string> CALayer::animationKeys() const {
  std::vector<std::string> keys;
  for (const auto& [name, animation] : animations_) {
    if (!name.empty() && isLive(*animation)) keys.push_back(name);
  }
  return keys;
}

void CALayer::removeAnimationForKey(std::string_view key) {
  std::erase_if(animations_, [key](const auto& entry) { return entry.first == key; });
}

double CALayer::presentationRotationAtTime(double time) const {
  // Animations of one key path are not additive: the one added last that runs wins.
  double radians = 0;
  for (const auto& entry : animations_) {
    const CABasicAnimation& animation = *entry.second;
    if (animation.keyPath() != "transform.rotation" &&
        animation.keyPath() != "transform.rotation.z") {
      continue;
    }
    if (auto value = animation.valueAtTime(time)) radians = *value;
  }
  return radians;
}
