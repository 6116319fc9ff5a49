// CALayer and CABasicAnimation for the device face: a layer's drawing attributes and its
// animations by key.
#pragma once

#include <optional>
#include <string>

#include "native/NativeObject.h"
#include "native/UIKit/NativeTypes.h"

namespace gw::native::layer {

double cornerRadius(const Object& layer);
void setCornerRadius(const Object& layer, double points);
double borderWidth(const Object& layer);
void setBorderWidth(const Object& layer, double points);
std::optional<Color> borderColor(const Object& layer);
void setBorderColor(const Object& layer, Color color);
bool masksToBounds(const Object& layer);
void setMasksToBounds(const Object& layer, bool masks);

struct BasicAnimation {
  std::string keyPath;
  std::optional<double> fromValue;  // none: nil
  std::optional<double> toValue;
  double durationSeconds = 0;  // 0: Core Animation's default
  float repeatCount = 0;
  double beginTime = 0;  // media time; 0: when added
  bool removedOnCompletion = true;
};
// addAnimation:forKey: with a new CABasicAnimation (an empty key adds it without one).
void addBasicAnimation(const Object& layer, const BasicAnimation& animation,
                       const std::string& key);
// Whether animationForKey: gives an animation.
bool hasAnimation(const Object& layer, const std::string& key);
void removeAnimation(const Object& layer, const std::string& key);
void removeAllAnimations(const Object& layer);
// CACurrentMediaTime(), seconds.
double currentMediaTime();

}  // namespace gw::native::layer
