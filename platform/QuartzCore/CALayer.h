// Core Animation layer behind every view: the drawing attributes a view does not have itself
// (corner radius, border) and the animations added to it by key.
//
// Animations are presentation only. Adding one never changes a model value; a renderer asks
// for the presented state at a virtual time (presentationRotationAtTime). An animation whose
// beginTime is 0 when added starts at the current virtual time of the device.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "CoreGraphics/CGColor.h"
#include "QuartzCore/CABasicAnimation.h"

class CALayer {
 public:
  CALayer() = default;
  CALayer(const CALayer&) = delete;
  CALayer& operator=(const CALayer&) = delete;

  double cornerRadius() const { return cornerRadius_; }
  void setCornerRadius(double points) { cornerRadius_ = points; }
  double borderWidth() const { return borderWidth_; }
  void setBorderWidth(double points) { borderWidth_ = points; }
  // Opaque black until set, as Core Animation starts.
  const CGColor& borderColor() const { return borderColor_; }
  void setBorderColor(const CGColor& color) { borderColor_ = color; }
  // A view's clipsToBounds is its layer's masksToBounds.
  bool masksToBounds() const { return masksToBounds_; }
  void setMasksToBounds(bool masks) { masksToBounds_ = masks; }

  // Adds a copy of `animation` (later changes to the caller's object do not reach the layer),
  // replacing any animation under the same key. An empty key never replaces another.
  void addAnimation(const std::shared_ptr<CABasicAnimation>& animation, std::string key);
  // The animation under `key`, or null when there is none or it has ended and is removed on
  // completion.
  std::shared_ptr<const CABasicAnimation> animationForKey(std::string_view key) const;
  std::vector<std::string> animationKeys() const;
  void removeAnimationForKey(std::string_view key);
  void removeAllAnimations() { animations_.clear(); }

  // Radians of rotation about the axis perpendicular to the screen that a running
  // "transform.rotation" / "transform.rotation.z" animation presents at virtual time `time`;
  // 0 when none runs (the layer rests at its model rotation).
  double presentationRotationAtTime(double time) const;

 private:
  bool isLive(const CABasicAnimation& animation) const;

  double cornerRadius_ = 0;
  double borderWidth_ = 0;
  CGColor borderColor_{0, 0, 0, 1};  // black
  bool masksToBounds_ = false;
  std::vector<std::pair<std::string, std::shared_ptr<const CABasicAnimation>>> animations_;
};
