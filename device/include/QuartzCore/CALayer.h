// Core Animation layer behind every view, on the device: the face's CALayer backed by the
// native view's CALayer once the view has made it. Values set before that are kept and handed
// over then.
//
// Animations are presentation only: adding one never changes a model value. The layer keeps a
// copy of each animation it was given, to hand back while Core Animation still runs it.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "CoreGraphics/CGColor.h"
#include "QuartzCore/CABasicAnimation.h"
#include "native/NativeObject.h"

namespace gw::uikit {
struct Access;
}

class CALayer {
 public:
  CALayer() = default;
  CALayer(const CALayer&) = delete;
  CALayer& operator=(const CALayer&) = delete;

  double cornerRadius() const;
  void setCornerRadius(double points);
  double borderWidth() const;
  void setBorderWidth(double points);
  // Opaque black until set, as Core Animation starts.
  const CGColor& borderColor() const;
  void setBorderColor(const CGColor& color);
  // A view's clipsToBounds is its layer's masksToBounds.
  bool masksToBounds() const;
  void setMasksToBounds(bool masks);

  // Adds a copy of `animation` (later changes to the caller's object do not reach the layer),
  // replacing any animation under the same key. An empty key never replaces another. A
  // beginTime of 0 starts it when added (the copy then records that media time).
  void addAnimation(const std::shared_ptr<CABasicAnimation>& animation, std::string key);
  // The animation under `key`, or null when there is none or Core Animation has removed it.
  std::shared_ptr<const CABasicAnimation> animationForKey(std::string_view key) const;
  std::vector<std::string> animationKeys() const;
  void removeAnimationForKey(std::string_view key);
  void removeAllAnimations();

 private:
  friend struct gw::uikit::Access;
  // Hands the values set so far, and the animations, to the native layer.
  void attach(gw::native::Object layer);
  bool isLive(const std::string& key) const;

  gw::native::Object native_;
  double cornerRadius_ = 0;
  double borderWidth_ = 0;
  mutable CGColor borderColor_{0, 0, 0, 1};  // black
  bool masksToBounds_ = false;
  std::vector<std::pair<std::string, std::shared_ptr<const CABasicAnimation>>> animations_;
};
