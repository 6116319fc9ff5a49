#include "QuartzCore/CABasicAnimation.h"

#include <cmath>
#include <limits>

std::shared_ptr<CABasicAnimation> CABasicAnimation::animationWithKeyPath(std::string keyPath) {
  return std::make_shared<CABasicAnimation>(std::move(keyPath));
}

double CABasicAnimation::effectiveDurationSeconds() const {
  return duration_ > 0 ? duration_ : kDefaultDurationSeconds;
}

double CABasicAnimation::activeDurationSeconds() const {
  if (std::isinf(repeatCount_)) return std::numeric_limits<double>::infinity();
  const double cycles = repeatCount_ > 0 ? static_cast<double>(repeatCount_) : 1.0;
  return effectiveDurationSeconds() * cycles;
}

bool CABasicAnimation::isActiveAtTime(double time) const {
  return time >= beginTime_ && time - beginTime_ < activeDurationSeconds();
}

std::optional<double> CABasicAnimation::valueAtTime(double time) const {
  if (!isActiveAtTime(time)) return std::nullopt;
  const double cycle = effectiveDurationSeconds();
  const double progress = std::fmod(time - beginTime_, cycle) / cycle;
  const double from = fromValue_.doubleValue();
  const double to = toValue_.doubleValue();
  return from + (to - from) * progress;
}
